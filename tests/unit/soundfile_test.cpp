#include "platform/audio/soundfile.h"

#include "casename.h"
#include <QFile>
#include <QTemporaryDir>
#include <cctype>

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace {

using bytes = std::vector<unsigned char>;

const std::vector<audio::wave> sample{{"snd14", 22050, {0, 1000, -1000, 32767, -32768}},
                                      {"click9", 44100, {7}}};

void poke32(bytes &b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = (v >> (8 * i)) & 0xff;
}

std::string faultof(const bytes &b) {
    try {
        audio::soundfile::parse(b, "sounds.dat");
    } catch (const audio::soundfileerror &e) {
        return e.what();
    }
    return "no error";
}

TEST(soundfile, goodfilereadsbackwhatwaswritten) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("sounds.dat").toStdString();
    audio::soundfile::write(path, sample);
    const auto waves = audio::soundfile::read(path);
    ASSERT_EQ(waves.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(waves[i].name, sample[i].name);
        EXPECT_EQ(waves[i].rate, sample[i].rate);
        EXPECT_EQ(waves[i].samples, sample[i].samples);
    }
}

TEST(soundfile, everytruncationisreportednevercrashes) {
    const bytes whole = audio::soundfile::encode(sample);
    for (std::size_t size = 8; size < whole.size(); ++size) {
        const std::string fault = faultof(bytes(whole.begin(), whole.begin() + long(size)));
        EXPECT_EQ(fault.rfind("sounds.dat: truncated", 0), 0u) << size << ": " << fault;
    }
    EXPECT_EQ(faultof(bytes(whole.begin(), whole.begin() + 3)),
              "sounds.dat: not a sound file (wrong magic)");
}

struct damagecase {
    const char *what;
    std::size_t offset; // where a 32-bit value is written over a good file
    std::uint32_t value;
    const char *fault;
};

void PrintTo(const damagecase &c, std::ostream *os) {
    *os << c.what;
}

class damagedfile : public ::testing::TestWithParam<damagecase> {};

TEST_P(damagedfile, namesthefault) {
    bytes b = audio::soundfile::encode(sample);
    poke32(b, GetParam().offset, GetParam().value);
    const std::string fault = faultof(b);
    EXPECT_NE(fault.find(GetParam().fault), std::string::npos) << fault;
    EXPECT_EQ(fault.rfind("sounds.dat: ", 0), 0u) << fault;
}

// Layout of the sample: header 16 bytes; wave 1 name length at 16, name at 17, rate at 22,
// length at 26.
INSTANTIATE_TEST_SUITE_P(
    table, damagedfile,
    ::testing::Values(damagecase{"magic", 0, 0x45564157, "wrong magic"},
                      damagecase{"version", 8, 2, "version 2 is not supported"},
                      damagecase{"count", 12, 100000, "wave count 100000 is outside"},
                      damagecase{"count zero", 12, 0, "wave count 0 is outside"},
                      damagecase{"length", 26, 0xffffffff, "length 4294967295 samples is outside"},
                      damagecase{"length beyond file", 26, 1000, "truncated"},
                      damagecase{"rate", 22, 5, "rate 5 is outside"},
                      damagecase{"name length", 16, 0x646e7300, "name length 0"}),
    [](const auto &info) { return casename(info.param.what); });

TEST(soundfile, extrabytesandduplicatenamesarefaults) {
    bytes b = audio::soundfile::encode(sample);
    b.push_back(0);
    EXPECT_NE(faultof(b).find("1 unexpected bytes after the last wave"), std::string::npos);
    bytes twice = audio::soundfile::encode({{"beep", 8000, {1}}, {"beap", 8000, {1}}});
    twice[16 + 1 + 4 + 4 + 4 + 2 + 1 + 2] = 'e'; // second name becomes "beep"
    EXPECT_NE(faultof(twice).find("'beep'): the name occurs twice"), std::string::npos);
}

TEST(soundfile, missingfilenamesthepath) {
    try {
        audio::soundfile::read("/nonexistent/sounds.dat");
        FAIL();
    } catch (const audio::soundfileerror &e) {
        EXPECT_EQ(std::string(e.what()).rfind("/nonexistent/sounds.dat: cannot open", 0), 0u);
    }
}

} // namespace
