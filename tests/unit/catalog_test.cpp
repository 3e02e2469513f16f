#include "platform/codepage/cp1250.h"
#include "shell/resourcelocalizer.h"

#include <gtest/gtest.h>

namespace {
std::string utf8(int base, int offset) {
    return codepage::cp1250toutf8(TResourceLocalizer::getstring(base, offset));
}
} // namespace

TEST(catalog, textsinthreelanguages) {
    const struct {
        int id;
        const char *text;
    } cases[] = {
        {1000, "Čeština"},
        {1001, "Překladač Zumira Basicu"},
        {2001, "Zumira Basic Interpreter"},
        {3001, "Prekladač Zumira Basicu"},
        {1025, "hotovo"},
        {2025, "ready"},
        {3025, "hotovo"},
        {2006, "Your changes will be applied after you restart the program."},
        {3006, "Vykonané zmeny sa prejavia až po najbližšom spustení programu."},
        {1014, "&Rychlost"},
        {3014, "&Rýchlosť"},
        {3032, "stĺpec"},
        {2042, "Can't find the file"},
        {1044, "Prosím přepiš"},
        {3046, "&Braillská klávesnica"},
        {1046, "&Braillská klávesnice"},
        {2018, "The voice is turned off. You can turn it on in the Sounds dialog, menu Settings"},
        {1047, ""},
        {4000, ""},
        {999, ""},
        {-5, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(utf8(c.id / 1000 * 1000, c.id % 1000), c.text);
    }
}

TEST(catalog, textsareonebyteacharacter) {
    // "ť" and "ĺ" are single Windows-1250 bytes, so one character is one column.
    EXPECT_EQ(TResourceLocalizer::getstring(3000, 14), "&R\xfd" "chlos\x9d");
    EXPECT_EQ(TResourceLocalizer::getstring(3000, 32), "st\xe5" "pec");
}

TEST(catalog, threelanguagesarefound) {
    std::vector<std::pair<std::string, int>> list{{"stale", 1}};
    TResourceLocalizer::getlanguages(list);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(codepage::cp1250toutf8(list[0].first), "Čeština");
    EXPECT_EQ(list[1], (std::pair<std::string, int>{"English", 2000}));
    EXPECT_EQ(codepage::cp1250toutf8(list[2].first), "Slovenčina");
    EXPECT_EQ(list[0].second, 1000);
    EXPECT_EQ(list[2].second, 3000);
}

TEST(codepage, roundtripofslovakletters) {
    const std::string bytes = codepage::utf8tocp1250("šťastný žltý ľad");
    EXPECT_EQ(bytes, "\x9a\x9d" "astn\xfd \x9elt\xfd \xbe" "ad");
    EXPECT_EQ(codepage::cp1250toutf8(bytes), "šťastný žltý ľad");
    EXPECT_EQ(codepage::utf8tocp1250("€ ☺"), "\x80 ?");
}
