#include "location/UserAgent.h"

namespace nimb::UserAgent {

std::string applicationName(std::optional<std::string_view> safariVersion) {
    std::string_view version =
        safariVersion && !safariVersion->empty() ? *safariVersion : assumedSafariVersion;
    return "Version/" + std::string(version) + " Safari/" + std::string(webKitBuild);
}

} // namespace nimb::UserAgent
