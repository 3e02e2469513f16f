#include "runtime/clocktext.h"
#include "runtime/devicememory.h"
#include "runtime/randomsource.h"
#include "runtime/runerror.h"
#include "runtime/values.h"

#include <QDir>
#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

TEST(valstr, readsnumberswithadecimalpointwhatevertheregion) {
    const struct {
        const char *text;
        double value;
    } cases[] = {
        {"12.5", 12.5}, {"12,5", 0},   {" 3", 3},     {"3 ", 0},      {"07", 7},
        {"-4.25", -4.25}, {"+2", 2},   {"1e3", 1000}, {"2.5E-1", 0.25}, {"", 0},
        {"abc", 0},     {".5", 0.5},   {"-", 0},      {"1e", 0},      {"1e400", 0},
        {"%FF", 255},   {"%10", 16},   {"-%10", -16}, {" %ff", 255},  {"12", 12},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_DOUBLE_EQ(valstr(c.text), c.value);
    }
}

TEST(valstr, ahexadecimaltextthatdoesnotconvertendstherun) {
    for (const char *text : {"%", "%G1", "%10 ", "1%", "%123456789"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(valstr(text), runerror);
    }
}

TEST(values, leftandrightstring) {
    EXPECT_EQ(leftstring("abcdef", 2.9), "ab");
    EXPECT_EQ(leftstring("abcdef", 0), "");
    EXPECT_EQ(leftstring("abcdef", -3), "");
    EXPECT_EQ(leftstring("abc", 10), "abc");
    EXPECT_EQ(rightstring("abcdef", 2.9), "ef");
    EXPECT_EQ(rightstring("abcdef", -1), "");
    EXPECT_EQ(rightstring("abc", 3), "abc");
    EXPECT_EQ(numtostr(12), "12");
    EXPECT_EQ(numtostr(-7), "-7");
    EXPECT_EQ(numtostr(0), "0");
}

TEST(values, timestringgivesthehourtoleftstringandval) {
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 11;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_sec = 7;
    t.tm_isdst = -1;
    const std::string text = timestr(std::mktime(&t));
    EXPECT_EQ(text, "09 05 07 ");
    EXPECT_EQ(valstr(leftstring(text, 2)), 9);
}

TEST(rnd, keepsthedrawafterthereturnednumber) {
    randomsource a;
    a.seed(42);
    EXPECT_EQ(a.rnd(0), 0); // nothing kept before the first draw
    const double r1 = a.rnd(1), r2 = a.rnd(1);
    for (double r : {r1, r2}) {
        EXPECT_GE(r, 0);
        EXPECT_LT(r, 1);
    }
    randomsource c;
    c.seed(42);
    const double d1 = c.rnd(1);
    const double k1 = c.rnd(0);
    const double d2 = c.rnd(1);
    const double k2 = c.rnd(0);
    EXPECT_EQ(d1, r1);
    EXPECT_EQ(d2, r2);
    EXPECT_NE(k1, r1);
    EXPECT_NE(k2, r2);
    EXPECT_NE(k2, k1);
    EXPECT_EQ(c.rnd(0), k2); // stays until the next positive call
}

TEST(devicememory, loadssavesandpeeks) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("ram.dat").toStdString();
    {
        std::ofstream f(path, std::ios::binary);
        for (int i = 0; i < 100; ++i)
            f.put(char(i + 1));
    }
    devicememory m(path);
    m.loadram();
    EXPECT_EQ(m.peek(0), 1);
    EXPECT_EQ(m.peek(99), 100);
    EXPECT_EQ(m.peek(100), 0);
    EXPECT_EQ(m.peek(65535.9), 0);
    EXPECT_THROW(m.peek(65536), runerror);
    EXPECT_THROW(m.peek(-1), runerror);
    m.saveram();
    EXPECT_EQ(QFileInfo(QString::fromStdString(path)).size(), 65536);

    devicememory again(path);
    again.loadram();
    EXPECT_EQ(again.peek(42), 43);
}

TEST(devicememory, emptyorlongfilesloadwhatfits) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("ram.dat").toStdString();
    std::ofstream(path, std::ios::binary).close();
    devicememory empty(path);
    empty.loadram();
    EXPECT_EQ(empty.peek(0), 0);

    {
        std::ofstream f(path, std::ios::binary);
        f << std::string(65536, '\x07') << "tail";
    }
    devicememory longer(path);
    longer.loadram();
    EXPECT_EQ(longer.peek(65535), 7);
}

TEST(devicememory, nofilegiveszerosandexitwritesafullimage) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("ram.dat").toStdString();
    devicememory m(path);
    m.loadram();
    m.saveram();
    std::ifstream f(path, std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(f)), {});
    EXPECT_EQ(all, std::string(65536, '\0'));
}

TEST(devicememory, afailedsaveisreportedandleavesnohalffile) {
    QTemporaryDir dir;
    // "ram.dat" is a folder here, so the image cannot be put in its place.
    ASSERT_TRUE(QDir(dir.path()).mkdir("ram.dat"));
    devicememory m(dir.filePath("ram.dat").toStdString());
    EXPECT_THROW(m.saveram(), runerror);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{});
}

TEST(devicememory, animagethatcouldnotbereadisnotoverwritten) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("ram.dat"));
    devicememory m(dir.filePath("ram.dat").toStdString());
    EXPECT_THROW(m.loadram(), runerror); // exists, cannot be read as a file
    EXPECT_THROW(m.saveram(), runerror);
}
