#include "ProcessTree.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace nimb::test::ProcessTree {

namespace {

// Every running process with its parent.
std::map<int, int> parents() {
    std::map<int, int> out;
    DIR* proc = opendir("/proc");
    if (!proc) return out;
    while (dirent* entry = readdir(proc)) {
        std::string name = entry->d_name;
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream status("/proc/" + name + "/status");
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("PPid:", 0) == 0) {
                out[std::atoi(name.c_str())] = std::atoi(line.c_str() + 5);
                break;
            }
        }
    }
    closedir(proc);
    return out;
}

std::string commandLine(int pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/cmdline");
    std::string command;
    std::getline(in, command, '\0');
    return command;
}

} // namespace

std::vector<int> below(int root) {
    auto parentOf = parents();
    std::vector<int> out{root};
    for (const auto& [pid, parent] : parentOf) {
        for (int up = parent; up > 1; up = parentOf.count(up) ? parentOf[up] : 0) {
            if (up == root) {
                out.push_back(pid);
                break;
            }
        }
    }
    return out;
}

int webProcesses(int root) {
    int count = 0;
    for (int pid : below(root))
        if (pid != root && commandLine(pid).find("WebKitWebProcess") != std::string::npos) ++count;
    return count;
}

std::optional<long> pssKiB(int pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/smaps_rollup");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("Pss:", 0) == 0) return std::strtol(line.c_str() + 4, nullptr, 10);
    return std::nullopt;
}

double pssMiB(int root) {
    double total = 0;
    for (int pid : below(root))
        total += static_cast<double>(pssKiB(pid).value_or(0)) / 1024.0;
    return total;
}

double cpuMilliseconds(int pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    std::getline(stat, text);
    auto close = text.rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream rest(text.substr(close + 2));
    std::string field;
    // Fields 3 to 13 come before utime (14) and stime (15).
    for (int skip = 3; skip <= 13; ++skip)
        rest >> field;
    long user = 0, system = 0;
    rest >> user >> system;
    return static_cast<double>(user + system) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

} // namespace nimb::test::ProcessTree
