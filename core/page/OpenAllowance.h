#pragma once

// How many windows and tabs a page may open: a page that opens them in a loop would bury the user
// under them. At most `perSecond` in any one second; the rest are refused until the second has passed.
// The moments come in as seconds on any steady clock.

#include <cstddef>
#include <deque>

namespace nimb {

class OpenAllowance {
public:
    static constexpr std::size_t defaultPerSecond = 3;

    explicit OpenAllowance(std::size_t perSecond = defaultPerSecond) : m_perSecond(perSecond) {}

    // Whether a window or tab may open at `now`; one that may is counted.
    [[nodiscard]] bool allow(double now);

private:
    std::size_t m_perSecond;
    std::deque<double> m_opened; // within the last second, oldest first
};

} // namespace nimb
