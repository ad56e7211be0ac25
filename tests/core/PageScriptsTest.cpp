#include "page/PageScripts.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

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

// Whether the JavaScript engine the build uses can read a text: the assembled scripts, not only the
// files they are made of, must parse.
std::optional<bool> parses(const std::string& text) {
    if (std::system("node --version >/dev/null 2>&1") != 0) return std::nullopt;
    test::TemporaryDirectory directory;
    std::string path = directory.file("script.js");
    std::ofstream(path) << text;
    std::string command = "node --check '" + path + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

TEST(PageScripts, assembledTextsParse) {
    if (!parses("1;")) GTEST_SKIP() << "no node to check JavaScript with";
    EXPECT_EQ(parses(PageScripts::recorder(R"({"hosts":{"a.example":1},"paths":["b.example\/tr"]})")), true);
    EXPECT_EQ(parses(PageScripts::declutter({"#a", R"(div[id^="x"])"})), true);
    for (std::string_view script : {PageScripts::snapshot(), PageScripts::forgetStorage(),
                                    PageScripts::linkHover(), PageScripts::favicon()}) {
        EXPECT_EQ(parses(std::string(script)), true) << script.substr(0, 80);
    }
    // Function bodies are run as the body of an asynchronous function with named arguments.
    EXPECT_EQ(parses("(async function(){\n" + std::string(PageScripts::selection()) + "\n});"), true);
    EXPECT_EQ(parses("(async function(q, step, foot){\n" + std::string(PageScripts::find()) + "\n});"), true);
    // And the check itself catches a broken text.
    EXPECT_EQ(parses(PageScripts::recorder("{")), false);
}

} // namespace
} // namespace nimb
