#include "trainplayer.h"

#include "platform/codepage/cp1250.h"
#include "runtime/values.h"

#include <cmath>

namespace {

using kind = runtimecall::kind;

std::string utf8(const runtimecall &call) {
    return codepage::cp1250toutf8(call.text);
}

bool isprint(const runtimecall &call, const std::string &text) {
    return call.what == kind::printstr && utf8(call) == text;
}

std::string lastprinted(const scriptedruntime &rt) {
    for (auto it = rt.calls.rbegin(); it != rt.calls.rend(); ++it)
        if (it->what == kind::printstr)
            return utf8(*it);
    return {};
}

} // namespace

const char *const questiontexts[7] = {
    "",
    "Kolko bolo na trati semaforov?",
    "kolko bolo na trati závor?",
    "cez kolko tunelov šiel vlak?",
    "Po kolkých mostoch viedli kolajnice?",
    "Na kolkých staniciach vlak zastavil?",
    "Kolko cestujúcich sa priviezlo do koňečnej stanice?",
};

std::vector<std::string> transcript(const scriptedruntime &rt, std::size_t from, std::size_t to) {
    std::vector<std::string> lines;
    for (std::size_t k = from; k < rt.calls.size() && k < to; ++k) {
        const runtimecall &call = rt.calls[k];
        std::string line;
        if (call.what == kind::printstr)
            line = utf8(call);
        else if (call.what == kind::printnum)
            line = "[" + numtostr(call.value) + "]";
        else
            continue;
        if (call.mode == 2)
            line += " /2";
        lines.push_back(line);
    }
    return lines;
}

std::size_t findprint(const scriptedruntime &rt, const std::string &text, std::size_t from) {
    for (std::size_t k = from; k < rt.calls.size(); ++k)
        if (isprint(rt.calls[k], text))
            return k;
    return rt.calls.size();
}

std::size_t findlastprint(const scriptedruntime &rt, const std::string &text) {
    for (std::size_t k = rt.calls.size(); k-- > 0;)
        if (isprint(rt.calls[k], text))
            return k;
    return rt.calls.size();
}

std::size_t countprints(const scriptedruntime &rt, const std::string &text, std::size_t from,
                        std::size_t to) {
    std::size_t count = 0;
    for (std::size_t k = from; k < rt.calls.size() && k < to; ++k)
        count += isprint(rt.calls[k], text);
    return count;
}

std::size_t counttones(const scriptedruntime &rt, const std::vector<double> &notes, double duration,
                       double octave, std::size_t from, std::size_t to) {
    std::size_t count = 0;
    for (std::size_t k = from; k < rt.calls.size() && k < to; ++k) {
        const runtimecall &call = rt.calls[k];
        count += call.what == kind::playnotes && call.notes == notes && call.duration == duration &&
                 call.octave == octave;
    }
    return count;
}

std::vector<std::string> sounds(const scriptedruntime &rt, std::size_t from, std::size_t to) {
    std::vector<std::string> heard;
    for (std::size_t k = from; k < rt.calls.size() && k < to; ++k) {
        const runtimecall &call = rt.calls[k];
        if (call.what == kind::beep) {
            heard.push_back("beep");
        } else if (call.what == kind::click) {
            heard.push_back("c" + numtostr(call.value));
        } else if (call.what == kind::playnotes) {
            std::string tone;
            for (double note : call.notes)
                tone += (tone.empty() ? "" : "+") + numtostr(note);
            heard.push_back(tone + "/" + numtostr(call.duration) + "/" + numtostr(call.octave));
        }
    }
    return heard;
}

bool endswithsweep(const scriptedruntime &rt) {
    if (rt.calls.size() < 26)
        return false;
    const std::size_t start = rt.calls.size() - 26;
    for (std::size_t k = 0; k < 26; ++k) {
        const runtimecall &call = rt.calls[start + k];
        const double note = 1300.0 - 50.0 * double(k);
        if (call.what != kind::playnotes || call.notes != std::vector<double>{note} ||
            call.duration != 60 || call.octave != 0)
            return false;
    }
    return true;
}

trainplayer::trainplayer(scriptedruntime &runtime, std::vector<plannedrun> runs)
    : rt(runtime), plan(std::move(runs)) {
    rt.drawhook = [this](double &result) {
        if (lastprinted(rt) != "cielová stanica.")
            return false;
        if (next >= plan.size())
            throw scripterror("the game went on beyond the planned runs");
        result = (plan[next++].question - 0.5) / 6;
        return true;
    };
    rt.typeline = [this] {
        const std::string asked = lastprinted(rt);
        const int question = plan.at(next - 1).question;
        if (asked != questiontexts[question])
            throw scripterror("expected question " + std::to_string(question) + ", heard " + asked);
        answered.push_back(truth(question));
        return plan[next - 1].correct ? numtostr(answered.back()) : std::string("1000");
    };
}

double trainplayer::truth(int question) const {
    const std::size_t departure = findlastprint(rt, "Vlak odchádza. Je v ňom");
    if (departure + 1 >= rt.calls.size())
        throw scripterror("no departure heard");
    double passengers = rt.calls[departure + 1].value;
    double stations = 0, signalcount = 0, crossings = 0, tunnels = 0, bridges = 0;
    double boarded = 0, alighted = 0;
    for (std::size_t k = departure; k < rt.calls.size(); ++k) {
        const runtimecall &call = rt.calls[k];
        if (call.what != kind::printstr)
            continue;
        const std::string text = utf8(call);
        if (text == "Stanica.") {
            passengers += boarded - alighted;
            boarded = alighted = 0;
            ++stations;
        } else if (text == "Nastúpilo") {
            // "Nastúpilo", boarded, "osuob a vystúpilo", alighted; a repeat says the same again.
            boarded = rt.calls.at(k + 1).value;
            alighted = rt.calls.at(k + 3).value;
        } else if (text == "semafor.") {
            ++signalcount;
        } else if (text == "závory.") {
            ++crossings;
        } else if (text == "tunel.") {
            ++tunnels;
        } else if (text == "most.") {
            ++bridges;
        }
    }
    passengers += boarded - alighted;
    switch (question) {
    case 1:
        return signalcount;
    case 2:
        return crossings;
    case 3:
        return tunnels;
    case 4:
        return bridges;
    case 5:
        return stations + 1; // the terminal is a stop too
    default:
        return passengers;
    }
}
