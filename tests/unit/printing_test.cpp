#include "runtime/formatnum.h"
#include "runtime/printing.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Records what is spoken and slept, in order: "say:<text>" and "sleep:<ms>".
struct recorder {
    std::vector<std::string> events;
    printer make(screen &s, char separator = '.') {
        return printer(
            s, [this](const std::string &t) { events.push_back("say:" + t); },
            [this](int ms) { events.push_back("sleep:" + std::to_string(ms)); }, separator);
    }
};

} // namespace

TEST(printstr, leadingpunctuationpausesinsteadofbeingspoken) {
    const struct {
        std::string text;
        std::vector<std::string> events;
    } cases[] = {
        {". . ok", {"sleep:300", "say: . ok"}},
        {";", {"sleep:300", "say:"}},
        {"  ?,.x", {"sleep:300", "sleep:300", "sleep:300", "say:x"}},
        {"  word", {"say:  word"}},
        {"end.", {"say:end."}},
        {"", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        screen s;
        recorder r;
        printer p = r.make(s);
        p.printstr(c.text, 0);
        EXPECT_EQ(r.events, c.events);
    }
}

TEST(printstr, thewholetextisshownonscreen) {
    screen s;
    recorder r;
    printer p = r.make(s);
    p.printstr(". . ok", 0);
    EXPECT_EQ(s.lines()[0].substr(0, 7), ". . ok ");
    p.printstr("", 0); // an empty item still gives an empty line
    EXPECT_EQ(s.scrcursor.getrow(), 2);
}

TEST(printnum, printsandspeaksthenumberwithoutpauses) {
    screen s;
    recorder r;
    printer p = r.make(s, ',');
    p.printnum(2, -0.5);
    EXPECT_EQ(s.lines()[0].substr(0, 4), "-0,5");
    EXPECT_EQ(s.scrcursor.getcolumn(), 8);
    EXPECT_EQ(r.events, std::vector<std::string>{"say:-0,5"});
}

TEST(formatnum, generalformatwith15digits) {
    const struct {
        double value;
        char separator;
        const char *text;
    } cases[] = {
        {3, '.', "3"},
        {0, ',', "0"},
        {-0.5, ',', "-0,5"},
        {-0.5, '.', "-0.5"},
        {2.5, ',', "2,5"},
        {1.0 / 3, '.', "0.333333333333333"},
        {123456789012345, '.', "123456789012345"},
        {1e15, '.', "1E15"},
        {999999999999999.9, '.', "1E15"},
        {1e20, '.', "1E20"},
        {0.00002, '.', "2E-5"},
        {0.0001, '.', "0.0001"},
        {-1.5e-7, ',', "-1,5E-7"},
        {1234.5678, ',', "1234,5678"},
        {0.1 + 0.2, '.', "0.3"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(formatnum(c.value, c.separator), c.text);
    }
}
