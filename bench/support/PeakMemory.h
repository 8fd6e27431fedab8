#pragma once
// The process's peak resident memory, for runs that share one process: each run resets the
// peak to what the process holds now, then reads it at its end.

#include <fstream>
#include <string>

namespace benchsupport {

// VmHWM of this process in MB.
inline double PeakRssMb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

inline void ResetPeakRss() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

} // namespace benchsupport
