#include "tests/analysis/wavanalysis.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace analysis {

tone analyse(const std::vector<std::int16_t> &samples, double rate, double threshold) {
    tone result;
    for (std::int16_t s : samples)
        result.peak = std::max(result.peak, std::abs(double(s)));
    if (result.peak < 100) // below about -50 dBFS: nothing but noise
        return result;
    const double loud = threshold * result.peak;
    std::size_t first = 0, last = samples.size() - 1;
    while (std::abs(double(samples[first])) < loud)
        ++first;
    while (std::abs(double(samples[last])) < loud)
        --last;
    result.found = true;
    result.onset = double(first) / rate;
    result.length = double(last + 1 - first) / rate;

    const std::size_t margin = std::size_t(0.005 * rate);
    if (last - first <= 2 * margin + 2)
        return result;
    std::vector<double> crossings;
    for (std::size_t i = first + margin; i < last - margin; ++i) {
        const double a = samples[i], b = samples[i + 1];
        if (a < 0 && b >= 0)
            crossings.push_back(double(i) + a / (a - b));
    }
    if (crossings.size() < 3)
        return result;
    std::vector<double> intervals;
    for (std::size_t i = 1; i < crossings.size(); ++i)
        intervals.push_back(crossings[i] - crossings[i - 1]);
    std::vector<double> sorted = intervals;
    std::nth_element(sorted.begin(), sorted.begin() + long(sorted.size() / 2), sorted.end());
    const double median = sorted[sorted.size() / 2];
    double sum = 0;
    int kept = 0;
    for (double interval : intervals) {
        if (std::abs(interval - median) <= 0.05 * median) {
            sum += interval;
            ++kept;
        } else {
            ++result.glitches;
        }
    }
    result.frequency = rate * kept / sum;
    return result;
}

} // namespace analysis
