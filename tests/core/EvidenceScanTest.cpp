// The text scans of evidence over values that mix cases and scripts, and a whole report read at once
// against its items and hosts read one by one.

#include "report/Evidence.h"
#include "report/NimbReport.h"

#include <gtest/gtest.h>

namespace nimb {
namespace {

using Evidence::Finding;
using Kind = Finding::Kind;

const Date now{1767225600};

TEST(EvidenceScanTest, deviceFieldsAreNamesStandingAloneBetweenQuotes) {
    struct Case {
        std::string text;
        std::vector<std::string> fields;
    };
    const Case cases[] = {
        // One quote can close one name and open the next.
        {"\"screen\"browser\"", {"browser", "screen"}},
        {"\"\"screen\"\"", {"screen"}},
        {"{\"SCREEN\":1,\"Browser_Version\":2}", {"browser_version", "screen"}},
        // Lowered with the rest of a value that is not ASCII.
        {"{\"Timezone\":\"\xC3\x84rger\",\"LANGUAGE\":\"\xCE\xA3\"}", {"timezone", "language"}},
        {"{\"screen \":1,\" browser\":2,\"screen", {}},
        {"\"browser\"", {"browser"}},
        {"browser\"screen\"", {"screen"}},
        {"\"", {}},
        {"", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Evidence::deviceFields(c.text), c.fields) << c.text;
}

TEST(EvidenceScanTest, aReportReadsAsItsItemsAndHostsReadOneByOne) {
    NimbReport report;
    report.address = "https://www.example.com/story";
    // Values that need lowering, that do not, and that are not ASCII, one after another.
    report.local.items = {
        {"a", 10, "{\"SCREEN\":\"1440x900\",\"Expires\":1939291200000}"},
        {"b", 10, "{\"browser\":\"x\",\"expires\":1898683200000}"},
        {"c", 10, "{\"\xC3\x89TAT\":\"https://Example.COM/Watch?v=1\",\"PLATFORM\":\"x\"}"},
        {"d", 2000, "[{\"EVENT\":\"click\",\"TIME\":1}]"},
    };
    report.session.items = {{"a", 10, "0F8FAD5B-D9CB-469F-A165-70867728950E"}};
    report.blocked = {{"PREBID.Example.net", 3, std::nullopt}};
    report.otherHosts = {"cdn.EXAMPLE-static.net", "shb.other.example", "plain.example"};

    std::vector<Finding> oneByOne;
    for (const auto* jar : {&report.local, &report.session}) {
        for (const NimbReport::Item& item : jar->items) {
            for (Finding& finding : Evidence::read(item.key, item.preview, item.bytes, now))
                oneByOne.push_back(std::move(finding));
        }
    }
    for (std::string_view host :
         {std::string_view("PREBID.Example.net"), std::string_view("cdn.EXAMPLE-static.net"),
          std::string_view("shb.other.example"), std::string_view("plain.example")}) {
        for (Finding& finding : Evidence::read(host, "example.com"))
            oneByOne.push_back(std::move(finding));
    }

    std::vector<Finding> whole = Evidence::read(report, now);
    // Every finding of the whole reading is one of the single readings, merged by sentence.
    std::size_t subjects = 0;
    for (const Finding& finding : whole) {
        subjects += finding.subjects.size();
        bool found = false;
        for (const Finding& single : oneByOne)
            found = found || (single.kind == finding.kind && single.detail == finding.detail);
        EXPECT_TRUE(found) << finding.sentence();
    }
    EXPECT_EQ(subjects, oneByOne.size());

    auto detailOf = [&](Kind kind) {
        for (const Finding& finding : whole)
            if (finding.kind == kind) return finding.detail;
        return std::string("(none)");
    };
    std::vector<std::string> devices;
    for (const Finding& finding : whole)
        if (finding.kind == Kind::deviceDescribed) devices.push_back(finding.detail);
    EXPECT_EQ(devices, (std::vector<std::string>{"screen", "browser", "platform"}));
    EXPECT_EQ(detailOf(Kind::videoRemembered), "https://Example.COM/Watch?v=1");
    EXPECT_EQ(detailOf(Kind::identifier), "0F8FAD5B-D9CB-469F-A165-70867728950E");
    EXPECT_EQ(detailOf(Kind::sameName), "example.com");
    EXPECT_NE(detailOf(Kind::eventQueue), "(none)");
    EXPECT_NE(detailOf(Kind::serverSideAuction), "(none)");
    int expiries = 0;
    for (const Finding& finding : whole)
        expiries += finding.kind == Kind::expiry;
    EXPECT_EQ(expiries, 2);
}

} // namespace
} // namespace nimb
