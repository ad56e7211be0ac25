#pragma once

// Waiting in tests and tools that drive GTK and WebKit: the main loop keeps turning while they wait,
// so that the engine's answers and the windowing system's events are handled in the meantime.

#include <chrono>
#include <functional>

namespace nimb::test {

// Spins the main loop until the condition holds (true) or the deadline passes (false).
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds deadline = std::chrono::seconds(20));
// Handles everything the main loop has ready now (events, idle work), without waiting for more:
// what a synchronous action queued is done when this returns.
void drain();
// Spins the main loop for a while. Only for tools that must give a page time to draw; tests wait on
// conditions instead.
void pump(std::chrono::milliseconds duration);

} // namespace nimb::test
