#pragma once

#include <random>

// RND. A positive argument draws a number in [0, 1) and keeps the draw after it; 0 returns the
// kept number; a negative argument reseeds from the clock.
class randomsource {
  public:
    double rnd(double x);
    void seedfromclock();
    void seed(unsigned long long value) { generator.seed(value); }

  private:
    double draw();
    std::mt19937_64 generator{0};
    double kept = 0;
};
