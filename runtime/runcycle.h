#pragma once

#include <functional>
#include <string>

// One run of the compiled program, as the Start command performs it: freeze the menus that must
// not be used meanwhile, prepare the voice, open the optional data file, reset the per-run state,
// run the program, print the ready message, release the menus. An error ends the run with its
// message in a message box and no ready message; the menus are released however the run ends.
class runcycle {
  public:
    struct hooks {
        std::function<void(bool enabled)> setmenus;
        std::function<void()> preparespeech;
        std::function<void()> resetrun;
        std::function<void()> program;
        std::function<void()> printready;
        std::function<void(const std::string &message)> showerror;
    };

    explicit runcycle(hooks h, std::string datafile = "data.dta");

    void StartsubmenuClick();

    bool runstarted = false; // true once a run has been started, never cleared
    bool running() const { return inrun; }

  private:
    hooks h;
    std::string datafile;
    bool inrun = false;
};
