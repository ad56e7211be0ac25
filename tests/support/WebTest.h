#pragma once

// What every real-engine test starts from: a running loopback proxy serving the fixture sites, with
// the blocklist's hosts filled into the fixtures' {{placeholders}}, and pages set up as the browser
// sets them up.

#include "FixtureVariables.h"
#include "ProxyServer.h"
#include "WebPage.h"
#include "blocker/ContentBlocker.h"
#include "engine/AssetSchemeHandler.h"
#include "page/PageScripts.h"
#include "report/NimbReport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>

namespace nimb::test {

class WebTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!engineAvailable()) GTEST_SKIP() << "no display: run under tools/run-headless";
        ASSERT_TRUE(m_proxy.start());
        m_variables = blocklistVariables();
        m_proxy.setVariables(m_variables);
    }

    void TearDown() override { m_proxy.stop(); }

    std::unique_ptr<WebPage> page(WebPage::Options options = {}) {
        return std::make_unique<WebPage>(m_proxy, std::move(options));
    }

    // A view for the browser's own pages, as a tab shows them: no rule list, the asset scheme there.
    std::unique_ptr<WebPage> pageView(int width, std::string firstScript = {}) {
        AssetSchemeHandler::install(webkit_web_context_get_default());
        WebPage::Options options;
        options.ruleList = false;
        options.width = width;
        options.height = 640;
        options.firstScript = std::move(firstScript);
        return page(std::move(options));
    }

    // A page that has loaded the address.
    std::unique_ptr<WebPage> open(const std::string& url, WebPage::Options options = {}) {
        auto made = page(std::move(options));
        EXPECT_TRUE(made->load(url)) << url;
        return made;
    }

    // The value of a fixture placeholder.
    const std::string& var(const std::string& name) const { return m_variables.at(name); }

    // The report the browser would build from this page: the collector's text through NimbReport.
    static NimbReport report(WebPage& page, const std::string& address = {}) {
        auto result = page.evaluateText(PageScripts::snapshot());
        EXPECT_TRUE(result.ran);
        EXPECT_TRUE(result.text.has_value()) << "the collector gave no text";
        return NimbReport::parse(result.text.value_or(""), address, "");
    }

    // The collector's text as JSON, for what the report record does not keep.
    static nlohmann::json payload(WebPage& page) {
        auto result = page.evaluateText(PageScripts::snapshot());
        if (!result.text) return nullptr;
        return nlohmann::json::parse(*result.text, nullptr, false);
    }

    // The "blocked" messages that carry this key: "walls" from the wall hiding, "network" from the
    // recorder.
    static std::vector<nlohmann::json> blockedWith(const WebPage& page, const std::string& key) {
        std::vector<nlohmann::json> found;
        for (const auto& m : page.messages().blocked) {
            if (m.is_object() && m.contains(key)) found.push_back(m);
        }
        return found;
    }

    static bool contains(const std::vector<std::string>& list, const std::string& value) {
        return std::find(list.begin(), list.end(), value) != list.end();
    }

    ProxyServer m_proxy;
    std::map<std::string, std::string> m_variables;
};

} // namespace nimb::test
