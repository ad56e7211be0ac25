#include "FixtureVariables.h"

#include "blocker/ContentBlocker.h"
#include "report/Dossier.h"

#include <vector>

namespace nimb::test {

namespace {

// The first host of a list that the dossier can name.
std::string named(const std::vector<std::string>& hosts) {
    for (const auto& host : hosts) {
        if (Dossier::entryForHost(host)) return host;
    }
    return hosts.at(0);
}

} // namespace

std::map<std::string, std::string> blocklistVariables() {
    const auto& paths = ContentBlocker::blockedPaths();
    auto hostOf = [](const std::string& path) { return path.substr(0, path.find('/')); };
    return {
        {"ad", ContentBlocker::adHosts().at(0)},
        {"ad2", ContentBlocker::adHosts().at(1)},
        {"track", ContentBlocker::trackingHosts().at(0)},
        {"track2", ContentBlocker::trackingHosts().at(1)},
        {"namedAd", named(ContentBlocker::adHosts())},
        {"namedTrack", named(ContentBlocker::trackingHosts())},
        {"path1", paths.at(0).path},
        {"path1host", hostOf(paths.at(0).path)},
        {"path2", paths.at(1).path},
        {"path2host", hostOf(paths.at(1).path)},
    };
}

} // namespace nimb::test
