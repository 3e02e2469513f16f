#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Measures a recorded tone: where it starts and ends, and its pitch from the zero crossings.
namespace analysis {

struct tone {
    bool found = false;   // something louder than the noise floor was recorded
    double onset = 0;     // seconds from the start of the recording to the first loud sample
    double length = 0;    // seconds from the first to the last loud sample
    double frequency = 0; // Hz, from rising zero crossings inside the tone (0 if too short)
    double peak = 0;      // largest magnitude, 0 to 32768
    int glitches = 0;     // crossing intervals more than 5% off the usual one (dropouts)
};

// "Loud" means at least threshold times the peak. The frequency is measured between 5 ms after
// the onset and 5 ms before the end, with each crossing placed by linear interpolation; it is
// the mean of the intervals between rising crossings within 5% of their median, so a dropout in
// the audio path shows as a glitch instead of a wrong pitch.
tone analyse(const std::vector<std::int16_t> &samples, double rate, double threshold = 0.1);

} // namespace analysis
