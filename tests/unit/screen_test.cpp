#include "runtime/screen.h"

#include <gtest/gtest.h>

namespace {

struct at {
    int column, row;
};

screen screenat(int column, int row) {
    screen s;
    s.scrcursor.setcolumn(std::uint8_t(column));
    s.scrcursor.setrow(std::uint8_t(row));
    return s;
}

void expectcursor(const screen &s, at expected) {
    EXPECT_EQ(s.scrcursor.getcolumn(), expected.column);
    EXPECT_EQ(s.scrcursor.getrow(), expected.row);
}

} // namespace

TEST(screen, longtextwrapsacrossrows) {
    screen s = screenat(0, 5);
    s.printmode = 0;
    s.scrwrite(std::string(80, 'a') + std::string(80, 'b') + std::string(40, 'c'));
    EXPECT_EQ(s.lines()[5], std::string(80, 'a'));
    EXPECT_EQ(s.lines()[6], std::string(80, 'b'));
    EXPECT_EQ(s.lines()[7], std::string(40, 'c') + std::string(40, ' '));
    EXPECT_TRUE(s.lines()[8].empty());
    expectcursor(s, {0, 8});
}

TEST(screen, afullrowleavesthecursoratcolumn80) {
    screen s = screenat(30, 2);
    s.printmode = 1;
    s.scrwrite(std::string(50, 'x'));
    expectcursor(s, {80, 2});
    s.scrwrite("y");
    EXPECT_EQ(s.lines()[3].substr(0, 2), "y ");
    expectcursor(s, {1, 3});
}

TEST(screen, zonesofmode2) {
    // column after the item -> column of the next item (or the next row)
    const struct {
        int after;
        at next;
    } cases[] = {{0, {0, 0}},  {1, {2, 0}},   {2, {8, 0}},   {7, {8, 0}},   {8, {8, 0}},
                 {9, {10, 0}}, {15, {16, 0}}, {65, {66, 0}}, {66, {72, 0}}, {71, {72, 0}},
                 {72, {72, 0}}, {73, {0, 1}}, {79, {0, 1}},  {80, {0, 1}}};
    for (const auto &c : cases) {
        screen s;
        s.printmode = 2;
        s.scrwrite(std::string(size_t(c.after), 'z'));
        SCOPED_TRACE(c.after);
        expectcursor(s, c.next);
    }
}

TEST(screen, emptytextpadstherowandstillmoves) {
    screen s = screenat(4, 0);
    s.printmode = 0;
    s.scrwrite("");
    EXPECT_EQ(s.lines()[0], std::string(80, ' '));
    expectcursor(s, {0, 1});
}

TEST(screen, otherseparatorsstay) {
    screen s;
    s.printmode = 7;
    s.scrwrite("abc");
    expectcursor(s, {3, 0});
}

TEST(screen, lineadvancefromthebottomrowscrolls) {
    screen s = screenat(0, 22);
    s.printmode = 0;
    s.scrwrite("first");
    s.scrwrite("second");
    expectcursor(s, {0, 23});
    EXPECT_EQ(s.lines()[21].substr(0, 5), "first");
    EXPECT_EQ(s.lines()[22].substr(0, 6), "second");
    EXPECT_TRUE(s.lines()[23].empty());
    EXPECT_EQ(s.lines().size(), 24u);
}

TEST(screen, overwritingkeepstherestoftherow) {
    screen s;
    s.printmode = 0;
    s.scrwrite("hello world");
    s.scrcursor.setrow(0);
    s.scrwrite("HEL");
    EXPECT_EQ(s.lines()[0].substr(0, 12), "HELlo world ");
    EXPECT_EQ(s.lines()[0].size(), 80u);
}
