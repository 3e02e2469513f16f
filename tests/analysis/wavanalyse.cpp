// wavanalyse FILE.wav [THRESHOLD]: prints the onset, length and pitch of the recorded tone, for
// test scripts: "found=1 onset_ms=... length_ms=... frequency_hz=... peak=... glitches=...".
#include "tests/analysis/wavanalysis.h"
#include "tools/wavfile.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: wavanalyse FILE.wav [THRESHOLD]\n");
        return 2;
    }
    try {
        const wavfile::pcm sound = wavfile::read(argv[1]);
        const analysis::tone t =
            analysis::analyse(sound.samples, sound.rate, argc == 3 ? std::atof(argv[2]) : 0.1);
        std::printf(
            "found=%d onset_ms=%.2f length_ms=%.2f frequency_hz=%.2f peak=%.0f glitches=%d\n",
            t.found ? 1 : 0, t.onset * 1000, t.length * 1000, t.frequency, t.peak, t.glitches);
        return 0;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "wavanalyse: %s\n", e.what());
        return 1;
    }
}
