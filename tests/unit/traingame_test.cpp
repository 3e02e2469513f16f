#include "platform/codepage/cp1250.h"
#include "program/zumprog.h"
#include "runtime/values.h"
#include "scriptedruntime.h"
#include "trainplayer.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using strings = std::vector<std::string>;

// Makes the program stop (by the test's exception) at its nth print of text.
void stopat(scriptedruntime &rt, const std::string &text, int nth = 1) {
    rt.observer = [text, nth, seen = 0](const runtimecall &call) mutable {
        if (call.what == runtimecall::kind::printstr && codepage::cp1250toutf8(call.text) == text &&
            ++seen == nth)
            throw stopgame{};
    };
}

void rununtilstop(scriptedruntime &rt) {
    zumprog program;
    EXPECT_THROW(program.mainprogram(rt), stopgame);
}

// The draws of one run up to its terminal: stops, passengers at the departure, and boarded and
// alighted at each station.
void scriptrun(scriptedruntime &rt, int stops, int passengers,
               const std::vector<std::pair<int, int>> &stations) {
    rt.scriptdraw(stops, 6);
    rt.scriptdraw(passengers > 20 ? passengers : passengers - 10, 40); // 1 to 10 gain 10
    for (auto [boarded, alighted] : stations) {
        rt.scriptdraw(boarded, 30);
        rt.scriptdraw(alighted, 30);
    }
}

const char *const departure = "Vlak odchádza. Je v ňom";

const strings rulestext = {
    "Pravidlá;",
    "úlohou hry je sledovať cestu vlaku a registrovať nasledujúcich šesť údajov.",
    ";",
    "počet semaforov,",
    ";",
    "počet staníc,",
    ";",
    "počet závor,",
    ";",
    "počet mostov,",
    ";",
    "počet tunelov,",
    ";",
    "počet cestujúcich.",
    ";",
    "Na konci každej jazdy sa zumira spýta na jeden z uveďených údajov.",
    "Po piatich bezchybných jazdách buďe hra vyhodnoťená.",
    "Po niekolkých ňesprávnych odpoveďiach buďe hra predčasňe ukončená.",
    "Pri počťe cestujúcich je povolená ďesaťpercentná tolerancia.",
    "V hre použiješ nasledujúce kódy;",
    ";",
    ",a,; zopakuj číselný údaj.",
    ";",
    "Medzerník,; posun k ďalšiemu údaju.",
    ";",
    "K napísaniu týchto kódou zumira vyzve takýmto signálom.",
    ";,;",
    "Po napísaní čísla ako odpoveď na otázku, stlač pravú hornú klávesu.",
    ";",
    "chceš zopakovať pravidlá?",
};

const strings jingle = {"200/140/0", "249/140/0", "300/140/0", "150/140/0", "200/200/0"};
const strings whistle = {"400+200/50/4", "455+180/50/4", "400+200/50/4",
                         "455+180/50/4", "400+200/50/4", "455+180/50/4"};
const strings trainrun = [] {
    strings bars;
    for (int bar = 0; bar < 4; ++bar)
        bars.insert(bars.end(), {"40/110/3", "c14", "40/110/3", "c14", "40/200/3"});
    return bars;
}();
const strings failcue = {"400+200/200/4", "355+185/150/4", "300+280+260+240/180/4",
                         "240+220+200+180/180/4"};
const strings fanfare = {"1000+500/225/1",  "1250+625/225/10", "1500+750/225/10", "1000+500/225/1",
                         "1250+625/225/10", "1500+750/225/10", "1000+500/225/1",  "1250+625/225/10",
                         "1500+750/225/10", "2000+1000/766/10"};
const strings keywaitonce = {"c19", "c9"};

strings operator+(strings a, const strings &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const char *const title = "Hra, vlak; Keď chceš počuť pravidlá, napíš ,a, inak napíš medzerník.";

} // namespace

TEST(traingame, greetsbythehour) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"00 10 00 ", "Dobrý večer;"}, {"02 59 59 ", "Dobrý večer;"}, {"03 00 00 ", "dobré ráno;"},
        {"08 30 00 ", "dobré ráno;"},  {"09 00 00 ", "Dobrý deň;"},   {"17 59 00 ", "Dobrý deň;"},
        {"18 00 00 ", "Dobrý večer;"}, {"23 00 00 ", "Dobrý večer;"},
    };
    for (const auto &[clock, greeting] : cases) {
        scriptedruntime rt;
        rt.clock = clock;
        stopat(rt, title);
        rununtilstop(rt);
        EXPECT_EQ(transcript(rt), (strings{greeting, title})) << clock;
        // The jingle sounds between the greeting and the title.
        EXPECT_EQ(counttones(rt, {249}, 140, 0), 1u) << clock;
    }
}

TEST(traingame, rulestextplaysinfullandrepeatsonrequest) {
    scriptedruntime rt;
    rt.keys = {"a", "a", " "}; // ask for the rules, ask again, then play
    stopat(rt, departure);
    rununtilstop(rt);

    strings expected = {"Dobrý deň;", title};
    expected.insert(expected.end(), rulestext.begin(), rulestext.end());
    expected.insert(expected.end(), rulestext.begin(), rulestext.end());
    expected.push_back(std::string(departure) + " /2");
    EXPECT_EQ(transcript(rt), expected);

    // One pass: 11 rows of nine beeps, and the waiting signal as a sample: click 19, then
    // 31 ticks of click 9, before the ";,;" pause.
    const std::size_t first = findprint(rt, "Pravidlá;");
    const std::size_t second = findprint(rt, "Pravidlá;", first + 1);
    std::size_t beeps = 0;
    for (std::size_t k = first; k < second; ++k)
        beeps += rt.calls[k].what == runtimecall::kind::beep;
    EXPECT_EQ(beeps, 99u);
    std::vector<double> sample;
    for (std::size_t k = findprint(rt, "K napísaniu týchto kódou zumira vyzve takýmto signálom.");
         k < findprint(rt, ";,;"); ++k)
        if (rt.calls[k].what == runtimecall::kind::click)
            sample.push_back(rt.calls[k].value);
    std::vector<double> expectedsample(32, 9);
    expectedsample.front() = 19;
    EXPECT_EQ(sample, expectedsample);
}

TEST(traingame, keywaittakesonlyalonelowercaseaoralonespace) {
    scriptedruntime rt;
    rt.keys = {"A", "a ", "", "aa", " a", "x", " "};
    stopat(rt, departure);
    rununtilstop(rt);

    // One click 19 when the wait begins, then one tick of click 9 before every take.
    std::vector<double> clicks;
    std::vector<std::string> takes;
    for (std::size_t k = findprint(rt, title); k < rt.calls.size(); ++k) {
        if (rt.calls[k].what == runtimecall::kind::click)
            clicks.push_back(rt.calls[k].value);
        if (rt.calls[k].what == runtimecall::kind::takekeys)
            takes.push_back(rt.calls[k].text);
    }
    EXPECT_EQ(clicks, (std::vector<double>{19, 9, 9, 9, 9, 9, 9, 9}));
    EXPECT_EQ(takes.size(), 7u);
    // The space went on to the first run, not to the rules.
    EXPECT_EQ(countprints(rt, "Pravidlá;"), 0u);
}

TEST(traingame, aatthedeparturerepeatsitwithwhistleandtrain) {
    struct testcase {
        strings keys; // at the departure
        std::size_t departures, trainruns;
    };
    const std::vector<testcase> cases = {
        {{" "}, 1, 2},
        {{"a", " "}, 2, 3},
        {{"a", "a", " "}, 3, 4},
    };
    for (const testcase &c : cases) {
        scriptedruntime rt;
        rt.keys = {" "};
        rt.keys.insert(rt.keys.end(), c.keys.begin(), c.keys.end());
        stopat(rt, "Stanica.");
        rununtilstop(rt);
        EXPECT_EQ(countprints(rt, departure), c.departures);
        // Whistles: one per departure and the station's own.
        EXPECT_EQ(counttones(rt, {455, 180}, 50, 4), 3 * (c.departures + 1));
        // A train run ends each with four closing bars.
        EXPECT_EQ(counttones(rt, {40}, 200, 3), 4 * c.trainruns);
    }
}

TEST(traingame, aatastationrepeatsonlythenumbers) {
    scriptedruntime rt;
    scriptrun(rt, 3, 30, {{14, 10}, {5, 5}});
    rt.keys = {" ", " ", "a", "a", " "};
    stopat(rt, "Stanica.", 2);
    rununtilstop(rt);

    const std::size_t station = findprint(rt, "Stanica.");
    const strings numbers = {"Nastúpilo /2", "[14] /2", "osuob a vystúpilo /2", "[10] /2",
                             "cestujúcich."};
    strings expected;
    for (int k = 0; k < 3; ++k)
        expected.insert(expected.end(), numbers.begin(), numbers.end());
    const std::size_t events = findprint(rt, "most.");
    EXPECT_EQ(transcript(rt, station + 1, events), expected);
    EXPECT_EQ(counttones(rt, {455, 180}, 50, 4, station, events), 0u); // no whistle again
}

TEST(traingame, eventsfollowthedigitsoftheirstation) {
    struct testcase {
        int before, boarded, alighted; // passengers before the station
        strings events;
    };
    const std::vector<testcase> cases = {
        // 32 aboard after 14 boarded and 10 alighted: digits 2, 4, 0; 14 - 2 < 10 is false.
        {28, 14, 10, {"most.", "most.", "tunel.", "semafor.", "závory."}},
        // 21 aboard, digits 1, 2, 1.
        {20, 12, 11, {"tunel.", "most.", "semafor.", "závory.", "most.", "semafor."}},
        // 20 aboard, digits 0, 8, 8.
        {30, 8, 18, {"tunel.", "závory.", "semafor.", "most."}},
        // 26 aboard, digits 6, 2, 6.
        {20, 12, 6, {"most.", "most.", "semafor.", "most.", "semafor."}},
        // 22 aboard, digits 2, 2, 0; 12 - 2 < 10 is false.
        {20, 12, 10, {"most.", "most.", "tunel.", "most.", "semafor."}},
    };
    for (const testcase &c : cases) {
        scriptedruntime rt;
        scriptrun(rt, 3, c.before, {{c.boarded, c.alighted}});
        stopat(rt, "Stanica.", 2);
        rununtilstop(rt);
        const std::size_t numbers = findprint(rt, "Nastúpilo");
        const std::size_t from = findprint(rt, "cestujúcich.", numbers) + 1;
        const std::size_t to = findlastprint(rt, "Stanica.");
        EXPECT_EQ(transcript(rt, from, to), c.events) << c.before << " " << c.boarded;
        // Every event runs the train once more, after the run that leaves the station.
        EXPECT_EQ(counttones(rt, {40}, 200, 3, from, to), 4 * (c.events.size() + 1));
    }
}

TEST(traingame, atmostfourfifthsofthepassengersalight) {
    scriptedruntime rt;
    rt.scriptdraw(3, 6);
    rt.scriptdraw(1, 40); // 11 passengers
    rt.scriptdraw(5, 30);
    for (int alighted : {30, 9, 8}) // 9 > 11 / 5 * 4 = 8.8
        rt.scriptdraw(alighted, 30);
    stopat(rt, "cestujúcich.", 2);
    rununtilstop(rt);
    EXPECT_TRUE(rt.draws.empty());
    EXPECT_EQ(
        transcript(rt, findprint(rt, "Nastúpilo")),
        (strings{"Nastúpilo /2", "[5] /2", "osuob a vystúpilo /2", "[8] /2", "cestujúcich."}));
}

TEST(traingame, eachquestionisjudgedagainstwhatthejourneyshowed) {
    for (int question = 1; question <= 6; ++question) {
        for (bool correct : {true, false}) {
            scriptedruntime rt;
            trainplayer player(rt, {{question, correct}});
            stopat(rt, departure, 2);
            rununtilstop(rt);
            ASSERT_EQ(player.truths().size(), 1u);
            const std::size_t asked = findprint(rt, questiontexts[question]);
            const strings expected = correct ? strings{questiontexts[question], "správna odpoveď.",
                                                       "prvá bezchybná jazda."}
                                             : strings{questiontexts[question], "Ňie. /2",
                                                       "[" + numtostr(player.truths()[0]) + "]"};
            EXPECT_EQ(transcript(rt, asked, rt.calls.size() - 1), expected) << question << correct;
        }
    }
}

TEST(traingame, stationsandpassengersatthelimits) {
    const std::vector<std::pair<int, int>> keep25 = {{5, 5}, {5, 5}, {5, 5}};
    const std::vector<std::pair<int, int>> downto9 = {{5, 7}, {5, 5}, {5, 5}};
    const strings right = {"správna odpoveď.", "prvá bezchybná jazda."};
    const strings tolerated = {"[25] /2", "Si v tolerancii.", "správna odpoveď.",
                               "prvá bezchybná jazda."};
    const strings wrong25 = {"Ňie. /2", "[25]"};
    const strings wrong9 = {"Ňie. /2", "[9]"};
    struct testcase {
        int question, departure;
        std::vector<std::pair<int, int>> stations;
        std::string answer;
        strings verdict;
    };
    const std::vector<testcase> cases = {
        // Three stations and the terminal.
        {5, 25, keep25, "4", right},
        {5, 25, keep25, "3", {"Ňie. /2", "[4]"}},
        // 25 passengers: a margin of 2.
        {6, 25, keep25, "22", wrong25},
        {6, 25, keep25, "23", tolerated},
        {6, 25, keep25, "24", tolerated},
        {6, 25, keep25, "25", right},
        {6, 25, keep25, "26", tolerated},
        {6, 25, keep25, "27", tolerated},
        {6, 25, keep25, "28", wrong25},
        // 9 passengers: no margin.
        {6, 11, downto9, "8", wrong9},
        {6, 11, downto9, "9", right},
        {6, 11, downto9, "10", wrong9},
    };
    for (const testcase &c : cases) {
        scriptedruntime rt;
        scriptrun(rt, 3, c.departure, c.stations);
        rt.scriptdraw(c.question, 6);
        rt.lines = {c.answer};
        stopat(rt, departure, 2);
        rununtilstop(rt);
        EXPECT_TRUE(rt.draws.empty());
        const std::size_t asked = findprint(rt, questiontexts[c.question]);
        EXPECT_EQ(transcript(rt, asked + 1, rt.calls.size() - 1), c.verdict)
            << c.question << " " << c.answer;
    }
}

namespace {

plannedrun right(int question) {
    return {question, true};
}
plannedrun wrong(int question) {
    return {question, false};
}

struct gamecase {
    const char *name;
    std::vector<plannedrun> plan;
    strings ending; // after the last verdict of a run
    std::size_t fanfares;
};

std::size_t countcalls(const scriptedruntime &rt, runtimecall::kind what) {
    std::size_t count = 0;
    for (const runtimecall &call : rt.calls)
        count += call.what == what;
    return count;
}

} // namespace

TEST(traingame, thefifthcorrectrungradesthegame) {
    const strings ordinals = {"prvá bezchybná jazda.", "druhá bezchybná jazda.",
                              "treťia bezchybná jazda.", "štvrtá bezchybná jazda."};
    const std::vector<gamecase> cases = {
        {"no miss",
         {right(1), right(2), right(3), right(4), right(5)},
         {"Gratulujem! Získavaš oprávňeňie štvrtého stupňa, pre medzinárodné rýchliky.",
          "Všetkých peť jázd si absolvoval bez ňehody."},
         2},
        {"one miss",
         {right(1), wrong(3), right(2), right(6), right(4), right(5)},
         {"Výborňe! Získavaš oprávňeňie treťieho stupňa, pre vnútroštátne rýchliky.",
          ";Na peť jázd bez ňehody si prehliadol:", "jeden tunel."},
         1},
        {"two misses",
         {wrong(5), right(1), wrong(5), right(2), right(3), right(5), right(6)},
         {"Získavaš oprávňeňie druhého stupňa, pre osobné vlaky.",
          ";Musíš cvičiť svoju pozornosť. Na peť jázd bez ňehody si prehliadol:", "dve stanice."},
         1},
        {"three misses",
         {wrong(5), right(1), wrong(6), right(2), wrong(6), right(3), right(4), right(5)},
         {"Získavaš oprávňeňie prvého stupňa. Hodí sa iba pre posun. To ňič. Máš možnosť "
          "postupu.",
          ";Si dosť ňepozorný. Na peť jázd bez ňehody si prehliadol:", "jednu stanicu.",
          "dvakrát cestujúcich."},
         0},
        {"three misses of one kind",
         {wrong(2), wrong(2), wrong(2), right(1), right(2), right(3), right(4), right(5)},
         {"Získavaš oprávňeňie prvého stupňa. Hodí sa iba pre posun. To ňič. Máš možnosť "
          "postupu.",
          ";Si dosť ňepozorný. Na peť jázd bez ňehody si prehliadol:", "troje závory."},
         0},
        {"the list in the order of its rows",
         {wrong(4), right(6), wrong(5), wrong(1), right(1), right(2), right(3), right(4)},
         {"Získavaš oprávňeňie prvého stupňa. Hodí sa iba pre posun. To ňič. Máš možnosť "
          "postupu.",
          ";Si dosť ňepozorný. Na peť jázd bez ňehody si prehliadol:", "jeden semafor.",
          "jednu stanicu.", "jeden most."},
         0},
    };
    for (const gamecase &c : cases) {
        scriptedruntime rt;
        trainplayer player(rt, c.plan);
        zumprog program;
        program.mainprogram(rt);

        EXPECT_EQ(player.truths().size(), c.plan.size()) << c.name;
        EXPECT_EQ(countprints(rt, "správna odpoveď."), 5u) << c.name;
        strings heard;
        for (const std::string &line : transcript(rt))
            if (line.ends_with("bezchybná jazda."))
                heard.push_back(line);
        EXPECT_EQ(heard, ordinals) << c.name;
        EXPECT_EQ(transcript(rt, findlastprint(rt, "správna odpoveď.") + 1), c.ending) << c.name;
        EXPECT_EQ(counttones(rt, {1000, 500}, 225, 1), 3 * c.fanfares) << c.name;
        EXPECT_EQ(counttones(rt, {2000, 1000}, 766, 10), c.fanfares) << c.name;
        EXPECT_EQ(countprints(rt, "Lutujem, ale za strojvodcu sa ňehodíš."), 0u) << c.name;
        EXPECT_TRUE(endswithsweep(rt)) << c.name;
        EXPECT_EQ(countcalls(rt, runtimecall::kind::inputnum), c.plan.size()) << c.name;
    }
}

TEST(traingame, toomanymissesendthegameearly) {
    const std::vector<gamecase> cases = {
        {"two signal misses", {wrong(1), wrong(1)}, {}, 0},
        {"three station misses after four correct runs",
         {right(1), right(2), right(3), right(4), wrong(5), wrong(5), wrong(5)},
         {},
         0},
        {"any fourth miss", {wrong(2), wrong(3), right(1), wrong(4), right(5), wrong(6)}, {}, 0},
        {"second signal miss after a station miss",
         {wrong(5), right(2), wrong(1), wrong(1)},
         {},
         0},
    };
    for (const gamecase &c : cases) {
        scriptedruntime rt;
        trainplayer player(rt, c.plan);
        zumprog program;
        program.mainprogram(rt);

        ASSERT_EQ(player.truths().size(), c.plan.size()) << c.name;
        const std::size_t last = findlastprint(rt, "Ňie.");
        EXPECT_EQ(
            transcript(rt, last),
            (strings{"Ňie. /2", "[" + numtostr(player.truths().back()) + "]",
                     "Lutujem, ale za strojvodcu sa ňehodíš.", "Robíš vela chýb a si nepozorný."}))
            << c.name;
        // A fail cue before and after the two lines, then the final sweep, and no grade.
        const std::size_t sorry = findprint(rt, "Lutujem, ale za strojvodcu sa ňehodíš.");
        const std::size_t after = findprint(rt, "Robíš vela chýb a si nepozorný.") + 1;
        EXPECT_EQ(sounds(rt, last, sorry), failcue) << c.name;
        EXPECT_EQ(sounds(rt, after, after + 4), failcue) << c.name;
        EXPECT_EQ(rt.calls.size() - after, 4u + 26u) << c.name;
        EXPECT_TRUE(endswithsweep(rt)) << c.name;
        EXPECT_EQ(counttones(rt, {1000, 500}, 225, 1), 0u) << c.name;
    }
}

TEST(traingame, cuessoundbetweentheirwords) {
    scriptedruntime rt;
    rt.keys = {"a", " "}; // the rules once
    trainplayer player(rt, {right(1), right(2), right(3), right(4), right(5)});
    zumprog program;
    program.mainprogram(rt);

    const std::size_t titled = findprint(rt, title);
    const std::size_t rules = findprint(rt, "Pravidlá;");
    const std::size_t rulesend = findprint(rt, "chceš zopakovať pravidlá?");
    const std::size_t departed = findprint(rt, departure);
    const std::size_t station = findprint(rt, "Stanica.");
    const std::size_t terminal = findprint(rt, "cielová stanica.");
    const std::size_t asked = findprint(rt, questiontexts[1]);
    const std::size_t fifth = findlastprint(rt, "správna odpoveď.");
    const std::size_t congratulated = findprint(rt, "Gratulujem! Získavaš oprávňeňie štvrtého "
                                                    "stupňa, pre medzinárodné rýchliky.");
    const std::size_t finished = findprint(rt, "Všetkých peť jázd si absolvoval bez ňehody.");
    ASSERT_LT(finished, rt.calls.size());

    EXPECT_EQ(sounds(rt, 0, titled), jingle);
    EXPECT_EQ(sounds(rt, titled, rules), keywaitonce);
    EXPECT_EQ(sounds(rt, rules, rules + 6), jingle);
    EXPECT_EQ(sounds(rt, rulesend, departed), keywaitonce + whistle);
    EXPECT_EQ(sounds(rt, departed, station), trainrun + keywaitonce + trainrun + whistle);
    EXPECT_EQ(sounds(rt, terminal - 1, terminal), strings{"400+200/700/4"});
    EXPECT_EQ(sounds(rt, terminal, asked), (strings{"c17", "10/900/0"}));
    EXPECT_EQ(sounds(rt, fifth, congratulated), fanfare);
    EXPECT_EQ(sounds(rt, congratulated, finished), fanfare);
    EXPECT_EQ(rt.calls.size() - finished - 1, 26u);
    EXPECT_TRUE(endswithsweep(rt));
}
