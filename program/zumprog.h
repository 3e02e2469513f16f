#pragma once

#include "program/stack.h"
#include "runtime/zumcommands.h"

#include <cstdint>

// The compiled BASIC program: a Slovak listening quiz about a train journey. mainprogram is one
// run, from the greeting to the grading or the early end; the run cycle calls it once per Start.
// Its variables are locals of mainprogram, so nothing of a game survives into the next one; only
// the return stack is kept here, and every run clears it first.
class zumprog {
  public:
    void mainprogram(zumcommands &rt);

    // GOSUB pushes its return label here; RETURN pops it into returnlabel and dispatches on it.
    labelstackptr labelstack;
    std::int32_t returnlabel = 0;
};
