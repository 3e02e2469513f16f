#include "platform/codepage/cp1250.h"
#include "program/basic.h"
#include "program/zumprog.h"
#include "scriptedruntime.h"
#include "trainplayer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <set>
#include <string>
#include <vector>

using basic::basicint;
using basic::fornext;
using basic::onindex;

TEST(programframe, countedloopstestafterthebody) {
    struct testcase {
        double from, to, step;
        int runs;
        double last;
    };
    const std::vector<testcase> cases = {
        {0, 30, 1, 31, 31},
        {1, 9, 1, 9, 10},
        {1300, 50, -50, 26, 0},
        {5, 1, 1, 1, 6}, // already past the limit: the body still runs once
    };
    for (const testcase &c : cases) {
        double v = -1;
        int runs = 0;
        fornext(v, c.from, c.to, c.step, [&] { ++runs; });
        EXPECT_EQ(runs, c.runs) << c.from << " to " << c.to;
        EXPECT_EQ(v, c.last) << c.from << " to " << c.to;
    }
}

TEST(programframe, computedjumpsoutofrangegoon) {
    struct testcase {
        double x;
        int target;
    };
    const std::vector<testcase> cases = {
        {1, 1}, {6, 6}, {2.9, 2}, {0.99, 0}, {0, 0}, {-1, 0}, {-0.5, 0}, {7, 0}, {1e12, 0},
    };
    for (const testcase &c : cases)
        EXPECT_EQ(onindex(c.x, 6), c.target) << c.x;
    EXPECT_EQ(basicint(-2.5), -2);
    EXPECT_EQ(basicint(2.5), 2);
}

namespace {

plannedrun right(int question) {
    return {question, true};
}
plannedrun wrong(int question) {
    return {question, false};
}

} // namespace

TEST(programframe, gosubpushesthelabelofwhatfollowsit) {
    // The opening: a jingle in the middle of line 60, then keywait at its end before line 70.
    {
        scriptedruntime rt;
        zumprog program;
        std::vector<std::int32_t> tops;
        rt.observer = [&](const runtimecall &call) {
            if (call.what == runtimecall::kind::printstr &&
                codepage::cp1250toutf8(call.text).starts_with("Vlak odchádza"))
                throw stopgame{};
            if (call.what == runtimecall::kind::playnotes || call.what == runtimecall::kind::click)
                tops.push_back(program.labelstack ? program.labelstack->labelno : -1);
        };
        EXPECT_THROW(program.mainprogram(rt), stopgame);
        ASSERT_GE(tops.size(), 7u);
        EXPECT_EQ(std::vector<std::int32_t>(tops.begin(), tops.begin() + 7),
                  (std::vector<std::int32_t>{100060, 100060, 100060, 100060, 100060, 70, 70}));
    }

    // Over games that take every path, each return label of the program is pushed, and no
    // subroutine calls another.
    const std::set<std::int32_t> expected = {
        70,     100,    120,    140,    150,    170,    190,    250,    290,    300,
        310,    320,    330,    340,    350,    360,    370,    380,    390,    400,
        420,    680,    700,    940,    950,    960,    970,    980,    990,    1000,
        1010,   1050,   1060,   1070,   1080,   1100,   100060, 100130, 100140, 100210,
        100230, 100410, 100420, 100660, 100670, 100690, 100710, 100730, 101100,
    };
    struct game {
        std::deque<std::string> keys;
        std::vector<plannedrun> plan;
    };
    const std::vector<game> games = {
        {{"a", " ", "a", " ", "a", " "}, {right(1), right(2), right(3), right(4), right(5)}},
        {{}, {right(6), wrong(3), right(2), right(6), right(4), right(5)}},
        {{}, {wrong(4), wrong(1), right(1), right(2), right(3), right(5), right(6)}},
        {{}, {wrong(1), wrong(1)}},
    };
    std::set<std::int32_t> seen;
    for (const game &g : games) {
        scriptedruntime rt;
        rt.keys = g.keys;
        trainplayer player(rt, g.plan);
        zumprog program;
        rt.observer = [&](const runtimecall &) {
            if (!program.labelstack)
                return;
            seen.insert(program.labelstack->labelno);
            EXPECT_EQ(program.labelstack->next, nullptr);
        };
        program.mainprogram(rt);
        EXPECT_TRUE(endswithsweep(rt));
    }
    EXPECT_EQ(seen, expected);
}

TEST(programframe, areturntoalabelwithoutastatementendstheprogram) {
    scriptedruntime rt;
    zumprog program;
    rt.observer = [&](const runtimecall &call) {
        if (call.what == runtimecall::kind::playnotes && program.labelstack)
            program.labelstack->labelno = 555; // the opening jingle returns to no statement
    };
    program.mainprogram(rt);
    EXPECT_EQ(transcript(rt), (std::vector<std::string>{"Dobrý deň;"}));
    EXPECT_EQ(rt.calls.back().what, runtimecall::kind::playnotes); // the jingle's last tone
    EXPECT_EQ(program.labelstack, nullptr);
}

TEST(programframe, asecondrunstartsfresh) {
    zumprog program;

    // Four correct runs and two signal misses: the early end, with the final sweep's return
    // label left on the stack.
    scriptedruntime first;
    trainplayer firstplayer(first, {right(1), right(2), right(3), right(4), wrong(1), wrong(1)});
    program.mainprogram(first);
    ASSERT_NE(program.labelstack, nullptr);
    EXPECT_EQ(program.labelstack->labelno, 680);

    // Had anything carried over, the signal miss would end this game and the correct answer
    // would grade it.
    scriptedruntime second;
    trainplayer secondplayer(second, {wrong(1), right(2)});
    bool emptyatstart = false;
    second.observer = [&](const runtimecall &call) {
        if (second.calls.size() == 1)
            emptyatstart = program.labelstack == nullptr;
        if (call.what == runtimecall::kind::printstr &&
            codepage::cp1250toutf8(call.text) == "prvá bezchybná jazda.")
            throw stopgame{};
    };
    EXPECT_THROW(program.mainprogram(second), stopgame);
    EXPECT_TRUE(emptyatstart);
    EXPECT_EQ(second.calls.front().what, runtimecall::kind::seedfromclock);
    EXPECT_EQ(second.calls[1].what, runtimecall::kind::timestr);
    EXPECT_EQ(countprints(second, "Ňie."), 1u);
    EXPECT_EQ(countprints(second, "Lutujem, ale za strojvodcu sa ňehodíš."), 0u);
}
