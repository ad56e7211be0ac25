#pragma once

// The shield's pulse when the count of what was blocked goes up: a second outline that grows out of
// the shield and fades, from full strength to nothing in half a second at sixty frames a second. A
// rise during a pulse starts it again at full strength; a fall ends it at once. This is only the
// arithmetic; the shield runs the timer and draws.

#include <chrono>

namespace nimb {

class ShieldPulse {
public:
    // One frame of the pulse, and what each frame takes off its strength.
    static constexpr std::chrono::milliseconds frame{1000 / 60};
    static constexpr double fade = 1.0 / 30;

    // What is left of the pulse, 1 at the rise down to 0 when there is none.
    [[nodiscard]] double flash() const { return m_flash; }
    [[nodiscard]] bool running() const { return m_flash > 0; }

    // Full strength again. True when no pulse was running, so that the caller starts its timer; a
    // pulse under way keeps the one it has.
    [[nodiscard]] bool rise();
    // One frame later. False when the pulse has run out (and the timer is to stop).
    [[nodiscard]] bool advance();
    void stop() { m_flash = 0; }

    // The outer outline at this strength: how much larger than the shield (0 at the rise, up to 1
    // when it has run out) and how opaque.
    [[nodiscard]] double growth() const { return 1 - m_flash * m_flash; }
    [[nodiscard]] double opacity() const { return m_flash; }

private:
    double m_flash = 0;
};

} // namespace nimb
