#include "location/UserAgent.h"

namespace nimb::UserAgent {

std::string applicationName(std::optional<std::string_view> safariVersion) {
    std::string_view version =
        safariVersion && !safariVersion->empty() ? *safariVersion : assumedSafariVersion;
    return "Version/" + std::string(version) + " Safari/" + std::string(webKitBuild);
}

std::string compose(std::string_view engineAgent, std::string_view application) {
    constexpr std::string_view engineMark = "(KHTML, like Gecko)";
    std::string_view kept = engineAgent;
    if (auto at = engineAgent.find(engineMark); at != std::string_view::npos)
        kept = engineAgent.substr(0, at + engineMark.size());
    while (!kept.empty() && kept.back() == ' ')
        kept.remove_suffix(1);
    return std::string(kept) + " " + std::string(application);
}

} // namespace nimb::UserAgent
