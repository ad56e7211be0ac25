#include "page/OpenAllowance.h"

#include <gtest/gtest.h>

namespace nimb {
namespace {

TEST(OpenAllowanceTest, atMostThreeInAnySecond) {
    OpenAllowance opens;
    struct Step {
        double at;
        bool allowed;
    };
    for (const auto& [at, allowed] : {
             Step{10.0, true}, Step{10.1, true}, Step{10.2, true}, // three at once
             Step{10.3, false}, Step{10.99, false},                // the rest of that second refused
             Step{11.0, true},                                     // the first has aged out
             Step{11.05, false}, Step{11.1, true},                 // and the second
             Step{20.0, true}, Step{20.0, true}, Step{20.0, true}, Step{20.0, false},
             Step{5.0, true}, // a clock that went back forgets what it counted
         })
        EXPECT_EQ(opens.allow(at), allowed) << at;

    OpenAllowance none(0);
    EXPECT_FALSE(none.allow(0));
}

} // namespace
} // namespace nimb
