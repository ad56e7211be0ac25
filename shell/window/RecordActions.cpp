#include "window/RecordActions.h"

#include "app/Application.h"
#include "app/Dialogs.h"
#include "base/Text.h"
#include "engine/PageSetup.h"
#include "engine/ScriptValue.h"
#include "glib/Async.h"
#include "library/Marginalia.h"
#include "location/LocationBar.h"
#include "page/PageScripts.h"
#include "preferences/Preferences.h"
#include "vocabulary/Language.h"
#include "window/FindController.h"
#include "window/MarginController.h"
#include "window/Navigator.h"
#include "window/StatusController.h"
#include "window/Tab.h"
#include "window/TabList.h"
#include "window/TabRef.h"
#include "window/WindowContext.h"

#include <algorithm>

namespace nimb {

namespace {

// How long a note's line may be in the status line.
constexpr std::int64_t noteLineLimit = 80;

} // namespace

void RecordActions::apply(const HistoryAction& action) {
    switch (action.kind) {
    case HistoryAction::Kind::forgetAll:
        clearHistory();
        return;
    case HistoryAction::Kind::forget:
        if (auto visit = History::forget(m_context.prefs(), action.address)) {
            m_context.application().windows().historyChanged();
            m_context.status().setStatusOnceSaved(words().forgot(visit->name()));
        } else {
            m_context.status().setStatus(words().nothingToChange());
        }
        return;
    }
}

void RecordActions::removeBookmark(const std::string& address) {
    Preferences& prefs = m_context.prefs();
    auto bookmarks = prefs.bookmarks();
    auto found = std::find_if(bookmarks.begin(), bookmarks.end(),
                              [&](const Bookmark& b) { return b.address == address; });
    if (found == bookmarks.end()) {
        m_context.status().setStatus(words().nothingToChange());
        return;
    }
    std::string name = found->name;
    auto notes = static_cast<std::int64_t>(Marginalia::notes(address, prefs.notes()).size());
    std::weak_ptr<WindowContext> weak = m_context.weak_from_this();
    auto remove = [weak, address, name, notes] {
        auto context = weak.lock();
        if (!context || context->closed()) return;
        if (!Bookmarks::remove(context->prefs(), address)) {
            context->status().setStatus(words().nothingToChange());
            return;
        }
        context->application().windows().bookmarksChanged(nullptr);
        context->status().setStatusOnceSaved(notes > 0 ? words().removedBookmarkAndMargin(name, notes)
                                                       : words().removedBookmark(name));
    };
    if (notes == 0) {
        remove();
        return;
    }
    Dialogs::confirm(m_context.gtkWindow(), words().removeBookmarkQuestion(name),
                     words().removeBookmarkDetail(notes), words().remove(), [remove](bool yes) {
                         if (yes) remove();
                     });
}

void RecordActions::apply(const BookmarkAction& action, Tab* from) {
    using Kind = BookmarkAction::Kind;
    Preferences& prefs = m_context.prefs();
    StatusController& status = m_context.status();
    switch (action.kind) {
    case Kind::remove:
        removeBookmark(action.address);
        return;
    case Kind::addToToolbar:
    case Kind::removeFromToolbar: {
        bool on = action.kind == Kind::addToToolbar;
        auto changed = Bookmarks::setOnToolbar(prefs, on, action.address);
        if (!changed) {
            status.setStatus(words().nothingToChange());
            return;
        }
        m_context.application().windows().bookmarksChanged(nullptr);
        status.setStatusOnceSaved(on ? words().addedToToolbar(changed->name)
                                     : words().offToolbar(changed->name));
        return;
    }
    case Kind::edit: {
        auto changed = Bookmarks::edit(prefs, action.address, action.name, action.summary);
        if (!changed) {
            status.setStatus(words().nothingToChange());
            return;
        }
        // The page the edit came from already shows exactly what was stored; drawing it again would
        // only lose the reader's place.
        bool shownAsStored = changed->name == action.name && changed->summary == action.summary &&
                             text::trimmed(action.name) == action.name &&
                             text::trimmed(action.summary) == action.summary;
        m_context.application().windows().bookmarksChanged(shownAsStored ? from : nullptr);
        status.setStatusOnceSaved(words().savedBookmark(changed->name));
        return;
    }
    case Kind::forgetNote:
        if (Marginalia::forgetNote(prefs, action.id)) {
            m_context.application().windows().bookmarksChanged(nullptr);
            status.setStatusOnceSaved(words().struckOut());
        } else {
            status.setStatus(words().nothingToChange());
        }
        return;
    case Kind::marginalia:
        m_context.margin().showFor(action.address);
        return;
    case Kind::press:
        switch (action.shortcut) {
        case Shortcut::find:
            m_context.find().open();
            return;
        case Shortcut::bookmarks:
            m_context.navigator().showBookmarks();
            return;
        case Shortcut::marginalia:
            m_context.margin().toggle();
            return;
        }
        return;
    }
}

void RecordActions::addBookmark() {
    Tab* tab = m_context.tabs().currentTab();
    auto address = tab && !tab->localPage ? tab->viewAddress() : std::nullopt;
    auto url = address ? Url::parse(*address) : std::nullopt;
    if (!url || !url->view().has_scheme() || !LocationBar::isNavigableScheme(url->view().scheme())) {
        m_context.status().setStatus(words().nothingToBookmark());
        return;
    }
    const char* title = webkit_web_view_get_title(tab->view());
    std::string name(text::trimmed(title ? title : ""));
    if (name.empty()) name = *address;
    if (Bookmarks::add(m_context.prefs(), Bookmark{name, *address, false, {}})) {
        m_context.application().windows().bookmarksChanged(nullptr);
        m_context.status().setStatusOnceSaved(words().addedBookmark(name));
    } else {
        m_context.status().setStatus(words().alreadyBookmarked(name));
    }
}

bool RecordActions::canAnnotate() const {
    Tab* tab = m_context.tabs().currentTab();
    if (!tab || tab->localPage) return false;
    auto address = tab->viewAddress();
    auto url = address ? Url::parse(*address) : std::nullopt;
    return url && url->view().has_scheme() && LocationBar::isNavigableScheme(url->view().scheme());
}

void RecordActions::addToMarginalia() {
    if (!canAnnotate()) {
        m_context.status().setStatus(words().nothingToBookmark());
        return;
    }
    Tab& tab = *m_context.tabs().currentTab();
    const char* viewTitle = webkit_web_view_get_title(tab.view());
    auto call = glib::async(
        [](GObject* source, GAsyncResult* result, GError** error) {
            return glib::adoptGRef(webkit_web_view_call_async_javascript_function_finish(
                WEBKIT_WEB_VIEW(source), result, error));
        },
        [ref = TabRef(m_context, tab), address = tab.viewAddress().value_or(""),
         title = std::string(viewTitle ? viewTitle : "")](glib::GRefPtr<JSCValue> value, const glib::Error&) {
            auto locked = ref.lock();
            if (!locked || !locked.window->tabs().isCurrent(*locked.tab)) return;
            WindowContext& context = *locked.window;
            std::string selected = (value ? ScriptValue::text(value.get()) : std::nullopt).value_or("");
            auto note = Marginalia::addNote(context.prefs(), selected, address, title, context.now());
            if (!note) {
                context.status().setStatus(words().nothingSelected());
                return;
            }
            context.application().windows().bookmarksChanged(nullptr);
            if (!context.margin().isOpen()) context.margin().toggle();
            context.status().setStatusOnceSaved(words().keptInTheMargin(note->line(noteLineLimit)));
        });
    auto body = PageScripts::selection();
    webkit_web_view_call_async_javascript_function(tab.view(), body.data(), static_cast<gssize>(body.size()),
                                                   nullptr, PageSetup::clientWorld, nullptr,
                                                   tab.cancellable(), call.callback, call.data);
}

void RecordActions::clearHistory() {
    auto count = static_cast<std::int64_t>(m_context.prefs().history().size());
    if (count == 0) {
        m_context.status().setStatus(words().nothingToClear());
        return;
    }
    std::weak_ptr<WindowContext> weak = m_context.weak_from_this();
    Dialogs::confirm(m_context.gtkWindow(), words().clearHistoryQuestion(), words().clearHistoryDetail(count),
                     words().clear(), [weak](bool clear) {
                         auto context = weak.lock();
                         if (!context || !clear) return;
                         std::int64_t forgotten = History::clear(context->prefs());
                         context->application().windows().historyChanged();
                         context->status().setStatusOnceSaved(words().clearedHistory(forgotten));
                     });
}

} // namespace nimb
