#pragma once
// How a benchmark's time grows with its size: the exponent k of t ~ n^k (1 is linear).

#include <cmath>
#include <cstdio>
#include <iterator>
#include <map>

namespace bench {

inline double GrowthExponent(double n1, double t1, double n2, double t2) {
    return std::log(t2 / t1) / std::log(n2 / n1);
}

// The exponent between each pair of neighbouring sizes (size -> seconds).
inline void PrintGrowth(const char* name, const std::map<int, double>& seconds) {
    for (auto it = seconds.begin(); it != seconds.end() && std::next(it) != seconds.end(); ++it) {
        const auto next = std::next(it);
        std::printf("%s: growth %d -> %d pages: exponent %.2f\n", name, it->first, next->first,
                    GrowthExponent(it->first, it->second, next->first, next->second));
    }
}

} // namespace bench
