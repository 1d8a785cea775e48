// The figure the benchmarks report for repeated runs.
#pragma once

#include <algorithm>
#include <vector>

namespace wendaro_test {

// The middle sample; for an even count, the mean of the two middle ones.
inline double Median(std::vector<double> samples) {
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    const size_t n = samples.size();
    return n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}

}  // namespace wendaro_test
