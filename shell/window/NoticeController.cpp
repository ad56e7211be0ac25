#include "window/NoticeController.h"

#include "app/Application.h"
#include "chrome/NoticeBarView.h"
#include "vocabulary/Language.h"
#include "window/BrowserWindowController.h"
#include "window/ChromeController.h"
#include "window/WindowContext.h"

namespace nimb {

namespace {

std::string words(const Profile::Notice& notice) {
    using Kind = Profile::Notice::Kind;
    switch (notice.kind) {
    case Kind::readOnly:
        return nimb::words().profileReadOnly(notice.path);
    case Kind::inUse:
        return nimb::words().profileInUse(notice.path);
    case Kind::unavailable:
        return nimb::words().profileUnavailable(notice.path);
    case Kind::setAside:
        return nimb::words().profileSetAside(notice.path);
    }
    return {};
}

} // namespace

NoticeController::NoticeController(WindowContext& context) : m_context(context) {}

NoticeController::~NoticeController() = default;

void NoticeController::refresh() {
    auto notice = m_context.application().profile().notice();
    if (!notice) {
        if (m_view) {
            m_connections.clear();
            m_context.chrome().view().setNotice(nullptr);
            m_view.reset();
        }
        return;
    }
    if (!m_view) {
        m_view = std::make_unique<NoticeBarView>();
        m_connections.push_back(m_view->onDismiss.connect([this] { dismiss(); }));
    }
    m_view->setText(words(*notice), nimb::words().dismiss());
    m_context.chrome().view().setNotice(m_view->widget());
}

void NoticeController::dismiss() {
    Application& application = m_context.application();
    application.profile().dismissNotice();
    application.windows().forEach(
        [](BrowserWindowController& window) { window.context().notice().refresh(); });
}

std::optional<std::string> NoticeController::text() const {
    if (!m_view) return std::nullopt;
    return m_view->text();
}

} // namespace nimb
