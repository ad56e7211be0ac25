#include "page/RequestTally.h"

#include "base/Domain.h"
#include "base/Text.h"
#include "blocker/ContentBlocker.h"
#include "page/MessageBody.h"

#include <utility>

namespace nimb {

namespace {

std::string_view withoutFinalDot(std::string_view host) {
    if (host.ends_with('.')) host.remove_suffix(1);
    return host;
}

} // namespace

bool RequestTally::thirdParty(std::string_view host, std::string_view pageHost) {
    if (pageHost.empty()) return false;
    return Domain::registrable(withoutFinalDot(host)) != Domain::registrable(withoutFinalDot(pageHost));
}

bool RequestTally::note(std::string_view request, std::string_view page, std::string_view redirectedFrom,
                        Policy policy) {
    if (request == page || (!redirectedFrom.empty() && redirectedFrom == page)) return false;
    std::string host = Domain::hostOf(request);
    if (host.empty()) return false;
    std::string pageHost = Domain::hostOf(page);
    bool foreign = thirdParty(host, pageHost);
    bool listed = foreign && ContentBlocker::listedRequest(request);
    if (policy.counting) {
        if (listed)
            count(m_counts.blocked, host);
        else if (foreign)
            count(m_counts.other, host);
        else if (!pageHost.empty() && host != pageHost)
            count(m_counts.house, host);
    }
    return listed && policy.blocking;
}

void RequestTally::count(std::map<std::string, std::int64_t>& bin, std::string_view host) {
    m_changed = true;
    std::string key(host.substr(0, hostLength));
    auto found = bin.find(key);
    if (found == bin.end()) {
        if (bin.size() >= hostsPerBin) {
            if (m_counts.unlisted < MessageBody::countLimit) ++m_counts.unlisted;
            return;
        }
        bin.emplace(std::move(key), 1);
        return;
    }
    if (found->second < MessageBody::countLimit) ++found->second;
}

void RequestTally::reset() {
    m_changed = !m_counts.empty();
    m_counts = {};
}

bool RequestTally::takeChanged() {
    return std::exchange(m_changed, false);
}

} // namespace nimb
