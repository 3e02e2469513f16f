#include "tests/unit/scriptedruntime.h"

#include <charconv>

namespace {

std::string trimmed(const std::string &text) {
    size_t begin = 0, end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32)
        --end;
    return text.substr(begin, end - begin);
}

bool tonumber(const std::string &text, double &value) {
    std::string number = trimmed(text);
    if (!number.empty() && number.front() == '+')
        number.erase(0, 1);
    const char *end = number.data() + number.size();
    auto [stop, ec] = std::from_chars(number.data(), end, value);
    return !number.empty() && ec == std::errc() && stop == end;
}

} // namespace

void scriptedruntime::scriptdraw(int value, int range) {
    // The middle of the value's slice of [0, 1), so that rounding never tips it over.
    draws.push_back((value - 0.5) / range);
}

std::vector<std::string> scriptedruntime::printed() const {
    std::vector<std::string> texts;
    for (const runtimecall &call : calls)
        if (call.what == runtimecall::kind::printstr)
            texts.push_back(call.text);
    return texts;
}

void scriptedruntime::record(runtimecall call) {
    if (calls.size() >= calllimit)
        throw scripterror("the program made more calls than the test allows");
    calls.push_back(std::move(call));
    if (observer)
        observer(calls.back());
}

std::string scriptedruntime::nextline() {
    if (!lines.empty()) {
        std::string line = lines.front();
        lines.pop_front();
        return line;
    }
    if (typeline)
        return typeline();
    throw scripterror("the program asked for a number that the test did not script");
}

void scriptedruntime::printstr(const std::string &text, std::uint8_t mode) {
    record({.what = runtimecall::kind::printstr, .text = text, .mode = mode});
}

void scriptedruntime::printnum(std::uint8_t mode, double value) {
    record({.what = runtimecall::kind::printnum, .mode = mode, .value = value});
}

void scriptedruntime::inputnum(double &variable, std::uint8_t mode) {
    if (mode != 1)
        pending.clear();
    std::string typed;
    for (;;) {
        if (pending.empty()) {
            typed = nextline();
            pending = trimmed(typed);
            if (pending.empty()) {
                variable = 0;
                break;
            }
            if (pending.front() == ',') {
                variable = 0;
                pending.erase(0, 1);
                break;
            }
        } else if (pending.front() == ',') {
            pending.erase(0, 1);
        }
        const size_t comma = pending.find(',');
        const std::string head = pending.substr(0, comma);
        const std::string rest =
            comma == std::string::npos ? "" : trimmed(pending.substr(comma + 1));
        double value = 0;
        if (tonumber(head, value)) {
            variable = value;
            pending = rest;
            break;
        }
        pending.clear();
        if (typed.empty()) { // a pending rest that is no number gives 0 without a word
            variable = 0;
            break;
        }
        record({.what = runtimecall::kind::retype, .text = typed});
        typed.clear();
    }
    record({.what = runtimecall::kind::inputnum, .text = typed, .mode = mode, .value = variable});
}

void scriptedruntime::takekeys(std::string &result) {
    if (!keys.empty()) {
        result = keys.front();
        keys.pop_front();
    } else {
        result = idlekey;
    }
    record({.what = runtimecall::kind::takekeys, .text = result});
}

void scriptedruntime::timestr(std::string &result) {
    result = clock;
    record({.what = runtimecall::kind::timestr, .text = result});
}

double scriptedruntime::rnd(double x) {
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    double result = kept;
    if (x > 0) {
        if (!draws.empty()) {
            result = draws.front();
            draws.pop_front();
        } else if (!(drawhook && drawhook(result))) {
            result = uniform(generator);
        }
        kept = uniform(generator);
    }
    record({.what = runtimecall::kind::rnd, .value = result});
    return result;
}

void scriptedruntime::seedfromclock() {
    record({.what = runtimecall::kind::seedfromclock});
}

double scriptedruntime::peek(double address) {
    record({.what = runtimecall::kind::peek, .value = address});
    return 0;
}

void scriptedruntime::playnotes(const std::vector<double> &notes, double duration, double octave) {
    record({.what = runtimecall::kind::playnotes,
            .notes = notes,
            .duration = duration,
            .octave = octave});
}

void scriptedruntime::beep() {
    record({.what = runtimecall::kind::beep});
}

void scriptedruntime::click(double number) {
    record({.what = runtimecall::kind::click, .value = number});
}
