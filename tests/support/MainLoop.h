#pragma once

// Waiting in tests and tools that drive GTK and WebKit: the main loop keeps turning while they wait,
// so that the engine's answers and the windowing system's events are handled in the meantime.

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

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

// Starts a program (looked for on the PATH) with its arguments; its process id, 0 when it did not start.
int spawn(const std::vector<std::string>& command);
// Waits, the loop turning, for a process spawn() started to end: its wait status, none when it did not
// end in time.
std::optional<int> waitForExit(int pid, std::chrono::milliseconds deadline);

} // namespace nimb::test
