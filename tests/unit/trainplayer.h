#pragma once

#include "scriptedruntime.h"

#include <cstddef>
#include <string>
#include <vector>

// The print items of calls[from, to) as UTF-8 lines: a text as itself, a number in brackets,
// " /2" appended for the zone separator (mode 2).
std::vector<std::string> transcript(const scriptedruntime &rt, std::size_t from = 0,
                                    std::size_t to = SIZE_MAX);

// Index of the first printstr at or after from whose UTF-8 text is text; calls.size() if none.
std::size_t findprint(const scriptedruntime &rt, const std::string &text, std::size_t from = 0);
// Index of the last such printstr; calls.size() if none.
std::size_t findlastprint(const scriptedruntime &rt, const std::string &text);
std::size_t countprints(const scriptedruntime &rt, const std::string &text, std::size_t from = 0,
                        std::size_t to = SIZE_MAX);

// Tones of one call: playnotes with these voices, duration and octave.
std::size_t counttones(const scriptedruntime &rt, const std::vector<double> &notes, double duration,
                       double octave, std::size_t from = 0, std::size_t to = SIZE_MAX);

// The sound calls of calls[from, to): a tone as its voices joined by "+", "/" duration, "/"
// octave ("400+200/50/4"); a click as "c" and its number; a beep as "beep".
std::vector<std::string> sounds(const scriptedruntime &rt, std::size_t from = 0,
                                std::size_t to = SIZE_MAX);

// True when the program's last calls are the final sweep: 26 tones from 1300 down to 50.
bool endswithsweep(const scriptedruntime &rt);

// One run of a scripted game: which question the draw selects, and whether the answer is right.
struct plannedrun {
    int question;
    bool correct;
};

// Plays whole games as an attentive listener would: the question of each run is drawn as the
// plan says, and the answer is worked out from what the program printed during the run (the
// passengers at the departure and at each station, the event words, the "Stanica." calls). A
// wrong answer is 1000, which no count reaches. The other draws come from the runtime's fixed
// generator. Keys are left to the runtime (a space at every wait unless scripted).
class trainplayer {
  public:
    trainplayer(scriptedruntime &rt, std::vector<plannedrun> plan);

    // The true value of a question, from the transcript of the run now going on.
    double truth(int question) const;
    // The true value behind each answer given so far.
    const std::vector<double> &truths() const { return answered; }

  private:
    scriptedruntime &rt;
    std::vector<plannedrun> plan;
    std::size_t next = 0;
    std::vector<double> answered;
};

// The six questions, UTF-8, index 1 to 6.
extern const char *const questiontexts[7];
