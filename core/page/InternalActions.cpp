#include "page/InternalActions.h"

#include "base/Url.h"
#include "page/GeneratedPage.h"

namespace nimb::InternalActions {

std::optional<Action> parse(std::string_view address) {
    auto url = Url::parse(address);
    if (!url) return std::nullopt;
    if (auto action = BookmarkAction::fromUrl(*url)) return Action{std::move(*action)};
    if (auto action = HistoryAction::fromUrl(*url)) return Action{std::move(*action)};
    if (auto action = ReportAction::fromUrl(*url)) return Action{std::move(*action)};
    return std::nullopt;
}

bool permitted(const Source& source) {
    if (!source.documentIsGenerated) return false;
    switch (source.kind) {
    case Source::Kind::tab:
        return source.showsGeneratedPage && GeneratedPage::parse(source.viewAddress).has_value();
    case Source::Kind::panel:
        return source.viewAddress == generatedAddress;
    case Source::Kind::other:
        return false;
    }
    return false;
}

} // namespace nimb::InternalActions
