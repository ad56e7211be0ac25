#pragma once

// The processes below one process, read from /proc: the web engine's helper processes run below the
// browser, and what they hold and how many there are is theirs to answer for.

#include <optional>
#include <string>
#include <vector>

namespace nimb::test::ProcessTree {

// The process itself and every process below it.
[[nodiscard]] std::vector<int> below(int root);
// How many of them are web engine content processes (WebKitWebProcess).
[[nodiscard]] int webProcesses(int root);
// Proportional set size in KiB; none for a process that has gone.
[[nodiscard]] std::optional<long> pssKiB(int pid);
// The summed proportional set size of the process and everything below it, in MiB.
[[nodiscard]] double pssMiB(int root);
// CPU time (user and system) the process has spent, in milliseconds.
[[nodiscard]] double cpuMilliseconds(int pid);

} // namespace nimb::test::ProcessTree
