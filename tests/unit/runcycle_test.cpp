#include "runtime/runcycle.h"
#include "runtime/runerror.h"

#include <QDir>
#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

namespace {

struct trace {
    std::vector<std::string> events;
    std::function<void()> program = [] {};
    runcycle::hooks hooks() {
        return {
            [this](bool on) { events.push_back(on ? "menus on" : "menus off"); },
            [this] { events.push_back("voice"); },
            [this] { events.push_back("reset"); },
            [this] {
                events.push_back("program");
                program();
            },
            [this] { events.push_back("ready"); },
            [this](const std::string &m) { events.push_back("error: " + m); },
        };
    }
};

} // namespace

TEST(runcycle, stepsinorder) {
    QTemporaryDir dir;
    trace t;
    runcycle cycle(t.hooks(), dir.filePath("data.dta").toStdString());
    EXPECT_FALSE(cycle.runstarted);
    bool runningduring = false;
    t.program = [&] { runningduring = cycle.running() && cycle.runstarted; };
    cycle.StartsubmenuClick();
    EXPECT_EQ(t.events, (std::vector<std::string>{"menus off", "voice", "reset", "program",
                                                  "ready", "menus on"}));
    EXPECT_TRUE(runningduring);
    EXPECT_FALSE(cycle.running());
    EXPECT_TRUE(cycle.runstarted);
}

TEST(runcycle, anerrorendstherunwithoutthereadymessage) {
    trace t;
    runcycle cycle(t.hooks());
    t.program = [] { throw runerror("Wave 'snd99' not found"); };
    cycle.StartsubmenuClick();
    EXPECT_EQ(t.events, (std::vector<std::string>{"menus off", "voice", "reset", "program",
                                                  "error: Wave 'snd99' not found", "menus on"}));
    EXPECT_FALSE(cycle.running());
}

TEST(runcycle, thedatafileisheldopenandleftunchanged) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("data.dta").toStdString();
    std::ofstream(path) << "10 20\n";
    trace t;
    runcycle cycle(t.hooks(), path);
    bool open = false;
    t.program = [&] { open = std::ifstream(path).good(); };
    cycle.StartsubmenuClick();
    EXPECT_TRUE(open);
    EXPECT_EQ(t.events.back(), "menus on");
    EXPECT_EQ(t.events[t.events.size() - 2], "ready");
    std::ifstream f(path);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(f)), {}), "10 20\n");
}

TEST(runcycle, adatafilethatcannotbeopenedisanerrorofthatrun) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("data.dta").toStdString();
    ASSERT_TRUE(QDir(dir.path()).mkdir("data.dta"));
    trace t;
    runcycle cycle(t.hooks(), path);
    cycle.StartsubmenuClick();
    ASSERT_EQ(t.events.size(), 4u);
    EXPECT_EQ(t.events[2].rfind("error: Cannot open", 0), 0u);
}

TEST(runcycle, astartinsidearundoesnothing) {
    trace t;
    runcycle cycle(t.hooks());
    int programs = 0;
    t.program = [&] {
        ++programs;
        cycle.StartsubmenuClick();
    };
    cycle.StartsubmenuClick();
    EXPECT_EQ(programs, 1);
}
