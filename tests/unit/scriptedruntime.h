#pragma once

#include "runtime/zumcommands.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

// One call the program made into the runtime, as recorded by scriptedruntime.
struct runtimecall {
    enum class kind {
        printstr,
        printnum,
        inputnum, // text: the line typed; value: what the variable received
        retype,   // a typed line refused as a number (the real runtime says "Please retype")
        takekeys, // text: what the take returned
        timestr,
        rnd, // value: the result
        seedfromclock,
        peek,
        playnotes,
        beep,
        click, // value: the click number
    };
    kind what;
    std::string text{};
    std::uint8_t mode = 0;
    double value = 0;
    std::vector<double> notes{};
    double duration = 0;
    double octave = 0;
};

// Thrown by a test's hook to stop a game once the test has seen what it looks for.
struct stopgame {};

// A runtime without screen, dialog, clock or sound: what the program reads comes from scripts,
// and every call is recorded in order. Nothing waits, so a whole game takes milliseconds.
//
// Keys: each takekeys returns the next entry of keys; once they run out, idlekey (a space, which
// moves every wait on).
// Numbers: inputnum handles its modes like the real one for what the game needs: modes 0 and 2
// drop the pending rest of a line; a new line comes from lines, or from typeline once lines run
// out; the text before the first comma, with blanks trimmed, is the value ("." as the decimal
// point), an empty line gives 0, a line starting with a comma gives 0 and keeps the rest pending,
// and a line that is not a number is recorded as retype and the next line is typed.
// Random numbers: rnd(1) returns the next entry of draws, else asks drawhook, else takes the next
// number of a fixed-seed generator, so unscripted games are still repeatable. rnd(0) returns the
// number kept by the last rnd(1) call (the next number of the fixed-seed generator).
// Clock: timestr returns clock.
class scriptedruntime : public zumcommands {
  public:
    std::string clock = "12 00 00 ";
    std::deque<std::string> keys;
    std::string idlekey = " ";
    std::deque<std::string> lines;
    std::function<std::string()> typeline;
    std::deque<double> draws;
    std::function<bool(double &)> drawhook; // true when it supplied the result
    // Called after every recorded call; may inspect anything and throw stopgame.
    std::function<void(const runtimecall &)> observer;
    // A program that loops without end fails the test instead of hanging it.
    std::size_t calllimit = 1000000;

    std::vector<runtimecall> calls;

    // Queues the rnd result that makes the program's draw of 1 to range come out as value.
    void scriptdraw(int value, int range);
    // The texts of all printstr calls, in order.
    std::vector<std::string> printed() const;

    void printstr(const std::string &text, std::uint8_t mode) override;
    void printnum(std::uint8_t mode, double value) override;
    void inputnum(double &variable, std::uint8_t mode) override;
    void takekeys(std::string &result) override;
    void timestr(std::string &result) override;
    double rnd(double x) override;
    void seedfromclock() override;
    double peek(double address) override;
    void playnotes(const std::vector<double> &notes, double duration, double octave) override;
    void beep() override;
    void click(double number) override;

  private:
    void record(runtimecall call);
    std::string nextline();

    std::string pending;
    std::mt19937 generator{20240607};
    double kept = 0;
};

struct scripterror : std::logic_error {
    using std::logic_error::logic_error;
};
