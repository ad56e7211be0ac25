#include "page/InternalActions.h"

#include "base/Url.h"

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
    bool generated = source.documentIsGenerated && source.viewAddress == generatedAddress;
    switch (source.kind) {
    case Source::Kind::tab:
        return generated && source.showsGeneratedPage;
    case Source::Kind::panel:
        return generated;
    case Source::Kind::other:
        return false;
    }
    return false;
}

} // namespace nimb::InternalActions
