#include "platform/profile/inifile.h"
#include "shell/language.h"
#include "shell/settings.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

namespace {

std::string readall(const std::string &path) {
    std::ifstream f(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), {});
}

void writeall(const std::string &path, const std::string &text) {
    std::ofstream(path, std::ios::binary) << text;
}

struct values {
    bool voiceallowed = false, zumirasounds = true, braillemode = false;
    int sndvolume = 0;
    settingvalues refs() { return {voiceallowed, zumirasounds, sndvolume, braillemode}; }
};

} // namespace

TEST(inifile, namesmatchwithoutcaseandkeepthecasefirstwritten) {
    QTemporaryDir dir;
    profile::inifile ini(dir.filePath("vlak.ini").toStdString());
    ini.writeint("Voice", "SAPI5", 1);
    ini.writestring("voice", "Person", "Slovak");
    ini.writeint("VOICE", "sapi5", 0);
    EXPECT_EQ(ini.readint("voice", "Sapi5", 7), 0);
    EXPECT_EQ(ini.readstring("VOICE", "person"), "Slovak");
    EXPECT_EQ(readall(ini.path()), "[Voice]\nSAPI5=0\nPerson=Slovak\n");
}

TEST(inifile, unknownlinesarekeptandnewsectionsappended) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("vlak.ini").toStdString();
    writeall(path, "; note\r\n[sounds]\r\ngarbage line\r\nsndvolume = -300\r\n\r\n[other]\r\nx=1\r\n");
    profile::inifile ini(path);
    EXPECT_EQ(ini.readint("Sounds", "SndVolume", 0), -300);
    ini.writeint("sounds", "zumirasounds", 0);
    ini.writeint("keyboard", "braillekeys", 1);
    EXPECT_EQ(readall(path), "; note\n[sounds]\ngarbage line\nsndvolume = -300\nzumirasounds=0\n\n"
                             "[other]\nx=1\n\n[keyboard]\nbraillekeys=1\n");
}

TEST(inifile, integersarestrict) {
    const struct {
        const char *text;
        std::optional<int> value;
    } cases[] = {{"12", 12}, {" -40 ", -40}, {"+3", 3}, {"yes", {}}, {"12abc", {}},
                 {"", {}},   {"1.5", {}},    {"99999999999", {}}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(profile::parseint(c.text), c.value);
    }
}

TEST(inifile, afailedwriteisreportedandtheoldfilestays) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("vlak.ini").toStdString();
    ASSERT_TRUE(QDir(dir.path()).mkdir("vlak.ini"));
    profile::inifile folder(path);
    EXPECT_THROW(folder.writeint("voice", "voiceallowed", 1), profile::profileerror);

    profile::inifile missing(dir.filePath("no/such/folder/vlak.ini").toStdString());
    EXPECT_THROW(missing.writeint("voice", "voiceallowed", 1), profile::profileerror);
}

TEST(settings, firststartcreatesthefilewithvoiceallowedonly) {
    QTemporaryDir dir;
    profile::inifile ini(dir.filePath("vlak.ini").toStdString());
    values v;
    settings s(ini, v.refs());
    EXPECT_FALSE(s.readsettings([] { return true; }));
    EXPECT_TRUE(v.voiceallowed);
    EXPECT_TRUE(v.zumirasounds);
    EXPECT_EQ(v.sndvolume, 0);
    EXPECT_EQ(readall(ini.path()), "[voice]\nvoiceallowed=1\n");
}

TEST(settings, badvaluesgivethedefaults) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("vlak.ini").toStdString();
    writeall(path, "[voice]\nvoiceallowed=yes\nSAPI5=1\n[sounds]\nzumirasounds=0\nsndvolume=loud\n"
                   "[keyboard]\nbraillekeys=2\n\x01\x02 binary junk\n[keyboard]\nbraillekeys=0\n");
    profile::inifile ini(path);
    values v;
    settings s(ini, v.refs());
    EXPECT_TRUE(s.readsettings([] { return false; }));
    EXPECT_TRUE(v.voiceallowed);
    EXPECT_FALSE(v.zumirasounds);
    EXPECT_EQ(v.sndvolume, 0);
    EXPECT_TRUE(v.braillemode);
}

TEST(settings, volumeisheldwithinthescale) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("vlak.ini").toStdString();
    for (auto [stored, read] : {std::pair{"-150", -150}, {"500", 0}, {"-20000", -10000}}) {
        writeall(path, std::string("[sounds]\nsndvolume=") + stored + "\n");
        profile::inifile ini(path);
        values v;
        settings(ini, v.refs()).readsettings([] { return false; });
        EXPECT_EQ(v.sndvolume, read) << stored;
    }
}

TEST(settings, writesettingswritesthefourkeysinorder) {
    QTemporaryDir dir;
    profile::inifile ini(dir.filePath("vlak.ini").toStdString());
    values v;
    v.voiceallowed = true;
    v.zumirasounds = false;
    v.sndvolume = -1200;
    v.braillemode = true;
    settings(ini, v.refs()).writesettings();
    EXPECT_EQ(readall(ini.path()), "[voice]\nvoiceallowed=1\n\n[sounds]\nzumirasounds=0\n"
                                   "sndvolume=-1200\n\n[keyboard]\nbraillekeys=1\n");
}

TEST(language, readandwritten) {
    QTemporaryDir dir;
    profile::inifile ini(dir.filePath("vlak.ini").toStdString());
    language lang(ini);
    lang.readlanguage();
    EXPECT_EQ(lang.languagebase, 1000);
    lang.languagebase = 2000;
    lang.writelanguage();
    language again(ini);
    again.readlanguage();
    EXPECT_EQ(again.languagebase, 2000);
    EXPECT_EQ(again.text(25), "ready");
}
