#include "runtime/randomsource.h"

#include <chrono>

// 53 random bits scaled into [0, 1): never 1, whatever the library's canonical generator does.
double randomsource::draw() { return double(generator() >> 11) * 0x1.0p-53; }

double randomsource::rnd(double x) {
    if (x > 0) {
        const double r = draw();
        kept = draw();
        return r;
    }
    if (x < 0) {
        seedfromclock();
        return kept;
    }
    return kept;
}

void randomsource::seedfromclock() {
    generator.seed(
        static_cast<unsigned long long>(std::chrono::system_clock::now().time_since_epoch().count()));
}
