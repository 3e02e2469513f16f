#include "runtime/numericinput.h"
#include "runtime/runerror.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <vector>

namespace {

// Answers each opening of the dialog with the next scripted line; nothing means Cancel. A
// script that runs out cancels, so a faulty loop ends instead of hanging the test.
struct fakedialog : inputdialogport {
    std::deque<std::optional<std::string>> lines;
    int openings = 0;
    std::optional<std::string> readline() override {
        ++openings;
        if (lines.empty())
            return std::nullopt;
        auto line = lines.front();
        lines.pop_front();
        return line;
    }
};

// INPUT on a real printer; what is printed is recorded through its speech.
struct inputrig {
    explicit inputrig(char separator = '.')
        : print(
              scr, [this](const std::string &t) { printed.push_back(t); }, [](int) {}, separator),
          input(print) {
        input.dialog = &dialog;
        input.catalogtext = [](int offset) {
            return offset == 23 ? "Enter data" : offset == 44 ? "Please retype" : "?";
        };
    }
    screen scr;
    std::vector<std::string> printed;
    printer print;
    fakedialog dialog;
    numericinput input;
};

const std::vector<std::string> none;
const std::vector<std::string> retype{"Please retype"};

} // namespace

// One INPUT call after an optional pending rest: value, rest left, dialog openings, printed.
TEST(inputnum, onecall) {
    const struct {
        const char *name;
        std::string pending;
        std::uint8_t mode;
        std::vector<std::optional<std::string>> lines;
        double value;
        std::string rest;
        int openings;
        std::vector<std::string> printed;
    } cases[] = {
        {"twelve", "", 0, {"12"}, 12, "", 1, none},
        {"two values", "", 0, {"5,6"}, 5, "6", 1, none},
        {"comma first", "", 0, {",5"}, 0, "5", 1, none},
        {"empty field skipped later", "", 0, {"3,,5"}, 3, ",5", 1, none},
        {"letters retyped, no prompt in mode 0", "", 0, {"abc", "4"}, 4, "", 2, retype},
        {"a bad first value refuses the line", "", 0, {"abc,5", "8"}, 8, "", 2, retype},
        {"blanks around", "", 0, {"  7 \t"}, 7, "", 1, none},
        {"empty line", "", 0, {""}, 0, "", 1, none},
        {"blank line", "", 0, {"   "}, 0, "", 1, none},
        {"mode 0 drops the rest", "6", 0, {"9"}, 9, "", 1, none},
        {"mode 1 takes the rest", "6", 1, {}, 6, "", 0, none},
        {"mode 1 skips the empty field", ",5", 1, {}, 5, "", 0, none},
        {"mode 1 bad rest gives 0 silently", "x", 1, {}, 0, "", 0, none},
        {"mode 1 prompts when nothing is pending", "", 1, {"2"}, 2, "", 1, {"Enter data"}},
        {"mode 2 drops the rest and prompts", "6", 2, {"2"}, 2, "", 1, {"Enter data"}},
        {"mode 2 prompts again after retype",
         "",
         2,
         {"?", "1"},
         1,
         "",
         2,
         {"Enter data", "Please retype", "Enter data"}},
        {"cancel keeps the old value", "", 0, {std::nullopt}, -3, "", 1, none},
        {"cancel after retype keeps the old value", "", 0, {"z", std::nullopt}, -3, "", 2, retype},
        {"fraction", "", 0, {"-2.5e1"}, -25, "", 1, none},
        {"lone comma", "", 0, {","}, 0, "", 1, none},
        {"overflow refused", "", 0, {"1e400", "1"}, 1, "", 2, retype},
        {"double sign refused", "", 0, {"--5", "1"}, 1, "", 2, retype},
        {"infinity refused", "", 0, {"inf", "1"}, 1, "", 2, retype},
        {"nan refused", "", 0, {"nan", "1"}, 1, "", 2, retype},
        {"300 letters refused", "", 0, {std::string(300, 'x'), "1"}, 1, "", 2, retype},
        {"300 digits", "", 0, {std::string(300, '9')}, 1e300, "", 1, none},
        {"a value beyond a double", "", 0, {std::string(310, '9'), "1"}, 1, "", 2, retype},
        {"underflow is zero", "", 0, {"1e-400"}, 0, "", 1, none},
        {"hexadecimal refused", "", 0, {"$10", "1"}, 1, "", 2, retype},
        {"thousands separator splits", "", 0, {"1,000"}, 1, "000", 1, none},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        inputrig r;
        r.input.inputbuffer = c.pending;
        r.dialog.lines.assign(c.lines.begin(), c.lines.end());
        double v = -3;
        r.input.inputnum(v, c.mode);
        EXPECT_DOUBLE_EQ(v, c.value);
        EXPECT_EQ(r.input.inputbuffer, c.rest);
        EXPECT_EQ(r.dialog.openings, c.openings);
        EXPECT_EQ(r.printed, c.printed);
    }
}

TEST(inputnum, followingcallstaketherestinturn) {
    inputrig r;
    r.dialog.lines = {"3,,5", "5,6", "7"};
    double a = 0, b = 0, c = 0, d = 0;
    r.input.inputnum(a, 0);
    r.input.inputnum(b, 1);
    r.input.inputnum(c, 0); // "5,6": 6 stays pending
    r.input.inputnum(d, 0); // drops the 6 and asks again
    EXPECT_EQ(std::vector<double>({a, b, c, d}), std::vector<double>({3, 5, 5, 7}));
    EXPECT_EQ(r.dialog.openings, 3);
    EXPECT_TRUE(r.printed.empty());
}

TEST(inputnum, acommaseparatorcannotwriteafraction) {
    const struct {
        std::string line;
        double value;
        std::string rest;
        int openings;
    } cases[] = {
        {"2,5", 2, "5", 1},
        {"2.5", 9, "", 2}, // the point is no separator here: retyped as 9
        {"-1e2", -100, "", 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        inputrig r(',');
        r.dialog.lines = {c.line, "9"};
        double v = 0;
        r.input.inputnum(v, 0);
        EXPECT_DOUBLE_EQ(v, c.value);
        EXPECT_EQ(r.input.inputbuffer, c.rest);
        EXPECT_EQ(r.dialog.openings, c.openings);
    }
}

TEST(inputnum, withoutadialogitisarunerror) {
    screen scr;
    printer print(
        scr, [](const std::string &) {}, [](int) {}, '.');
    numericinput input(print);
    double v = 0;
    EXPECT_THROW(input.inputnum(v, 0), runerror);
}

TEST(texttonumber, grammar) {
    const struct {
        const char *text;
        std::optional<double> value;
    } cases[] = {
        {"0", 0},
        {"+4", 4},
        {".5", 0.5},
        {"5.", 5},
        {"1E3", 1000},
        {"1e+3", 1000},
        {"2.5e-1", 0.25},
        {" 12 ", 12},
        {"", {}},
        {".", {}},
        {"-", {}},
        {"1e", {}},
        {"1e+", {}},
        {"1.2.3", {}},
        {"1 2", {}},
        {"0x10", {}},
        {"1e400", {}},
        {"-1e400", {}},
        {"1e99999999999999999999", {}},
        {"1e-99999999999999999999", 0},
        {"Infinity", {}},
        {"1d3", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(texttonumber(c.text, '.'), c.value);
    }
}
