#include "page/PageScripts.h"

#include <gtest/gtest.h>

namespace nimb {
namespace {

bool endsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

TEST(PageScripts, recorderEmbedsTheTableUnchanged) {
    const std::string table = R"({"hosts":{"ads.example":1,"x.y\/z":1},"paths":["www.fb.example\/tr"]})";
    std::string script = PageScripts::recorder(table);
    const std::string head = "(function(){\nvar TABLE = " + table + ";\n";
    ASSERT_TRUE(script.starts_with(head)) << script.substr(0, 200);
    EXPECT_TRUE(endsWith(script, "\n})();"));
    // The body sits between the two, and is the same whatever the table.
    std::string body = script.substr(head.size(), script.size() - head.size() - 6);
    std::string other = PageScripts::recorder("{}");
    EXPECT_EQ(other, "(function(){\nvar TABLE = {};\n" + body + "\n})();");
    EXPECT_NE(body.find("location.protocol"), std::string::npos);
    EXPECT_FALSE(endsWith(body, "\n"));
}

TEST(PageScripts, declutterEmbedsTheSelectorsAsAJsonArray) {
    std::string script = PageScripts::declutter({"#a", R"(div[id^="sp_message_container_"])",
                                                 R"(iframe[src*="accounts.example/gsi/"])", "back\\slash"});
    const std::string head =
        R"((function(){)"
        "\n"
        R"(var HIDE = ["#a","div[id^=\"sp_message_container_\"]","iframe[src*=\"accounts.example\/gsi\/\"]","back\\slash"];)"
        "\n";
    EXPECT_TRUE(script.starts_with(head)) << script.substr(0, 200);
    EXPECT_TRUE(endsWith(script, "\n})();"));
    EXPECT_TRUE(PageScripts::declutter({}).starts_with("(function(){\nvar HIDE = [];\n"));
}

} // namespace
} // namespace nimb
