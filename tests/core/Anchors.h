#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace nimb::test {

// Checks a generated page by its anchors, the pieces a reader relies on, in order; the markup between
// them is free to change.
inline void expectInOrder(std::string_view page, const std::vector<std::string>& anchors) {
    std::size_t at = 0;
    for (const std::string& anchor : anchors) {
        at = page.find(anchor, at);
        ASSERT_NE(at, std::string_view::npos) << "missing or out of order: " << anchor;
        at += anchor.size();
    }
}

} // namespace nimb::test
