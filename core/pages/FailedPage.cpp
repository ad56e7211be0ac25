#include "pages/FailedPage.h"

#include "pages/PageFrame.h"
#include "vocabulary/Language.h"

namespace nimb::FailedPage {

using BookmarksPage::appendEscaped;

std::string html(Why why, std::string_view address, std::string_view detail) {
    const Vocabulary& vocabulary = words();
    std::string body = "<main><h1>";
    appendEscaped(body, why == Why::loadFailed ? vocabulary.couldNotOpen() : vocabulary.stoppedWorking());
    body += "</h1><p class=\"address\">";
    appendEscaped(body, address);
    body += "</p>";
    if (!detail.empty()) {
        body += "<p class=\"why\">";
        appendEscaped(body, detail);
        body += "</p>";
    }
    // Only an address a page may link to is offered again; any other is left to the location field.
    if (PageFrame::isNavigable(address)) {
        body += "<a class=\"again\" href=\"";
        appendEscaped(body, address);
        body += "\">";
        appendEscaped(body, why == Why::loadFailed ? vocabulary.tryAgain() : vocabulary.reload());
        body += "</a>";
    }
    body += "</main></body></html>";
    return PageFrame::document(address, PageStyles::failed, body);
}

} // namespace nimb::FailedPage
