#pragma once

#include <stdexcept>

// An error inside a run: it ends the run, and the run cycle shows its message in a message box.
struct runerror : std::runtime_error {
    using std::runtime_error::runtime_error;
};
