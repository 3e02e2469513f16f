#include "program/zumprog.h"

#include "program/basic.h"
#include "runtime/values.h"

#include <string>

using basic::operator""_cp;
using basic::basicint;
using basic::fornext;
using basic::onindex;

// The program keeps the shape of its BASIC source: one C++ label per line that a GOTO, an
// ON ... GOTO or a RETURN leads to (l130 is line 130; l100130 is the statement after a GOSUB in the
// middle of line 130), and the line number in a comment where another line begins. A GOSUB pushes
// its return label and jumps; every RETURN goes through the one dispatch at the label "dispatch".
// Subroutines carry their names as labels, with their line numbers beside them.

void zumprog::mainprogram(zumcommands &rt) {
    // Intermediate strings of expressions (time of day, number to text).
    std::string timetext, numbertext;

    // The opening and the runs.
    double passengers = 0, boarded = 0, alighted = 0, stops = 0, station = 0;
    double signals = 0, crossings = 0, tunnels = 0, bridges = 0;
    std::string hourtext, keytext;
    double hour = 0, drawrange = 0, draw = 0;
    std::string passdigittext, boardeddigittext, alighteddigittext;
    double passdigit = 0, boardeddigit = 0, alighteddigit = 0;
    double question = 0;
    double answer1 = 0, answer2 = 0, answer3 = 0, answer4 = 0, answer5 = 0, answer6 = 0;
    double i = 0, j = 0;
    // Carried from run to run within one game.
    double correctruns = 0, misses = 0;
    double signalmisses = 0, crossingmisses = 0, tunnelmisses = 0, bridgemisses = 0;
    double stationmisses = 0, passengermisses = 0;

    auto initvars = [&] {
        passengers = boarded = alighted = stops = station = 0;
        signals = crossings = tunnels = bridges = 0;
        hourtext.clear();
        keytext.clear();
        hour = drawrange = draw = 0;
        passdigittext.clear();
        boardeddigittext.clear();
        alighteddigittext.clear();
        passdigit = boardeddigit = alighteddigit = 0;
        question = 0;
        answer1 = answer2 = answer3 = answer4 = answer5 = answer6 = 0;
        i = j = 0;
        correctruns = misses = 0;
        signalmisses = crossingmisses = tunnelmisses = bridgemisses = 0;
        stationmisses = passengermisses = 0;
    };

    // A subroutine left on the stack by the previous run (the final sweep never returns) must
    // not reach into this one.
    clearstack(labelstack);
    rt.seedfromclock();
    initvars();

    // ---- Opening: greeting by the hour, title, offer of the rules.
    /* 10 */ rt.timestr(timetext);
    hourtext = leftstring(timetext, 2);
    hour = valstr(hourtext);
    /* 20 */ if (hour > 8 && hour < 18) {
        rt.printstr("Dobrý deň;"_cp, 0);
        goto l60;
    }
    /* 30 */ if (hour > 2 && hour < 9) {
        rt.printstr("dobré ráno;"_cp, 0);
        goto l60;
    }
    /* 40 */ rt.printstr("Dobrý večer;"_cp, 0);
l60:
    pushlabel(100060, labelstack);
    goto jingle;
l100060:
    rt.printstr("Hra, vlak; Keď chceš počuť pravidlá, napíš ,a, inak napíš medzerník."_cp, 0);
    pushlabel(70, labelstack);
    goto keywait;
l70:
    if (keytext == "a")
        goto l930;

    // ---- One run: departure.
l80:
    passengers = boarded = alighted = stops = station = 0;
    bridges = crossings = signals = tunnels = 0;
    /* 90 */ drawrange = 6;
    pushlabel(100, labelstack);
    goto drawrandom;
l100:
    stops = draw > 2 ? draw : draw + 3;
    /* 110 */ drawrange = 40;
    pushlabel(120, labelstack);
    goto drawrandom;
l120:
    passengers = draw > 10 ? draw : draw + 10;
l130:
    pushlabel(100130, labelstack);
    goto whistle;
l100130:
    rt.printstr("Vlak odchádza. Je v ňom"_cp, 2);
    rt.printnum(2, passengers);
    rt.printstr("cestujúcich."_cp, 0);
    pushlabel(140, labelstack);
    goto trainrun;
l140:
    pushlabel(100140, labelstack);
    goto keywait;
l100140:
    if (keytext == "a")
        goto l130;
    /* 145 */ pushlabel(150, labelstack);
    goto trainrun;
l150:
    station = 1;

    // ---- One station: who boards and alights, then the events on the way to the next one.
l160:
    drawrange = 30;
    pushlabel(170, labelstack);
    goto drawrandom;
l170:
    boarded = draw > 4 ? draw : draw + 4;
l180:
    drawrange = 30;
    pushlabel(190, labelstack);
    goto drawrandom;
l190:
    alighted = draw > 4 ? draw : draw + 4;
    if (passengers / 5 * 4 < alighted)
        goto l180;
    /* 210 */ pushlabel(100210, labelstack);
    goto whistle;
l100210:
    rt.printstr("Stanica."_cp, 0);
l220:
    rt.printstr("Nastúpilo"_cp, 2);
    rt.printnum(2, boarded);
    rt.printstr("osuob a vystúpilo"_cp, 2);
    rt.printnum(2, alighted);
    rt.printstr("cestujúcich."_cp, 0);
    /* 230 */ pushlabel(100230, labelstack);
    goto keywait;
l100230:
    if (keytext == "a")
        goto l220;
    /* 240 */ passengers = passengers + boarded - alighted;
    pushlabel(250, labelstack);
    goto trainrun;
l250:
    numbertext = numtostr(passengers);
    passdigittext = rightstring(numbertext, 1);
    passdigit = valstr(passdigittext);
    /* 260 */ numbertext = numtostr(boarded);
    boardeddigittext = rightstring(numbertext, 1);
    boardeddigit = valstr(boardeddigittext);
    /* 270 */ numbertext = numtostr(alighted);
    alighteddigittext = rightstring(numbertext, 1);
    alighteddigit = valstr(alighteddigittext);
    /* 280 */ if (passdigit == 0 || passdigit == 1) {
        pushlabel(290, labelstack);
        goto tunnelevent;
    }
l290:
    if (boardeddigit == 2 || boardeddigit == 4 || boardeddigit == 6) {
        pushlabel(300, labelstack);
        goto bridgeevent;
    }
l300:
    if (alighteddigit == 1 || alighteddigit == 3 || alighteddigit == 5) {
        pushlabel(310, labelstack);
        goto signalevent;
    }
l310:
    if (boarded - 2 < alighted) {
        pushlabel(320, labelstack);
        goto crossingevent;
    }
l320:
    if (passdigit == 2 || passdigit == 4 || passdigit == 6) {
        pushlabel(330, labelstack);
        goto bridgeevent;
    }
l330:
    if (alighteddigit == 2 || alighteddigit == 4 || alighteddigit == 6) {
        pushlabel(340, labelstack);
        goto signalevent;
    }
l340:
    if (passdigit == 2) {
        pushlabel(350, labelstack);
        goto tunnelevent;
    }
l350:
    if (passdigit == 8 || boardeddigit == 8 || alighteddigit == 8) {
        pushlabel(360, labelstack);
        goto signalevent;
    }
l360:
    if (passdigit == 0 || boardeddigit == 2 || alighteddigit == 5) {
        pushlabel(370, labelstack);
        goto bridgeevent;
    }
l370:
    if (passdigit == 1 || boardeddigit == 1 || alighteddigit == 1) {
        pushlabel(380, labelstack);
        goto signalevent;
    }
l380:
    if (passdigit == 6 || boardeddigit == 1 || alighteddigit == 0) {
        pushlabel(390, labelstack);
        goto signalevent;
    }
l390:
    if (passdigit == 4 || passdigit == 5 || boardeddigit == 4 || boardeddigit == 5 ||
        alighteddigit == 4 || alighteddigit == 5) {
        pushlabel(400, labelstack);
        goto crossingevent;
    }
l400:
    station = station + 1;
    if (station <= stops)
        goto l160;

    // ---- Terminal and the question of the run.
    /* 410 */ pushlabel(100410, labelstack);
    goto arrivalcue;
l100410:
    rt.printstr("cielová stanica."_cp, 0);
    pushlabel(420, labelstack);
    goto terminuscue;
l420:
    drawrange = 6;
    pushlabel(100420, labelstack);
    goto drawrandom;
l100420:
    question = draw;
    switch (onindex(question, 6)) {
    case 1:
        goto l430;
    case 2:
        goto l450;
    case 3:
        goto l470;
    case 4:
        goto l490;
    case 5:
        goto l510;
    case 6:
        goto l530;
    }
l430:
    rt.printstr("Kolko bolo na trati semaforov?"_cp, 0);
    rt.inputnum(answer1, 0);
    if (answer1 == signals)
        goto l560;
    /* 440 */ rt.printstr("Ňie."_cp, 2);
    rt.printnum(0, signals);
    signalmisses = signalmisses + 1;
    goto l640;
l450:
    rt.printstr("kolko bolo na trati závor?"_cp, 0);
    rt.inputnum(answer2, 0);
    if (answer2 == crossings)
        goto l560;
    /* 460 */ rt.printstr("Ňie."_cp, 2);
    rt.printnum(0, crossings);
    crossingmisses = crossingmisses + 1;
    goto l640;
l470:
    rt.printstr("cez kolko tunelov šiel vlak?"_cp, 0);
    rt.inputnum(answer3, 0);
    if (answer3 == tunnels)
        goto l560;
    /* 480 */ rt.printstr("Ňie."_cp, 2);
    rt.printnum(0, tunnels);
    tunnelmisses = tunnelmisses + 1;
    goto l640;
l490:
    rt.printstr("Po kolkých mostoch viedli kolajnice?"_cp, 0);
    rt.inputnum(answer4, 0);
    if (answer4 == bridges)
        goto l560;
    /* 500 */ rt.printstr("Ňie."_cp, 2);
    rt.printnum(0, bridges);
    bridgemisses = bridgemisses + 1;
    goto l640;
l510:
    rt.printstr("Na kolkých staniciach vlak zastavil?"_cp, 0);
    rt.inputnum(answer5, 0);
    if (answer5 == station)
        goto l560;
    /* 520 */ rt.printstr("Ňie."_cp, 2);
    rt.printnum(0, station);
    stationmisses = stationmisses + 1;
    goto l640;
l530:
    rt.printstr("Kolko cestujúcich sa priviezlo do koňečnej stanice?"_cp, 0);
    rt.inputnum(answer6, 0);
    if (answer6 == passengers)
        goto l560;
    // A tenth of the passengers either way still counts.
    /* 540 */ if (answer6 > passengers + basicint(passengers / 10) ||
                  answer6 < passengers - basicint(passengers / 10))
        goto l550;
    /* 545 */ rt.printnum(2, passengers);
    rt.printstr("Si v tolerancii."_cp, 0);
    goto l560;
l550:
    rt.printstr("Ňie."_cp, 2);
    rt.printnum(0, passengers);
    passengermisses = passengermisses + 1;
    goto l640;

    // ---- Verdict of the run.
l560:
    rt.printstr("správna odpoveď."_cp, 0);
    correctruns = correctruns + 1;
    if (correctruns > 4)
        goto l690;
    /* 570 */ switch (onindex(correctruns, 4)) {
    case 1:
        goto l580;
    case 2:
        goto l590;
    case 3:
        goto l600;
    case 4:
        goto l610;
    }
l580:
    rt.printstr("prvá bezchybná jazda."_cp, 0);
    goto l80;
l590:
    rt.printstr("druhá bezchybná jazda."_cp, 0);
    goto l80;
l600:
    rt.printstr("treťia bezchybná jazda."_cp, 0);
    goto l80;
l610:
    rt.printstr("štvrtá bezchybná jazda."_cp, 0);
    goto l80;
l640:
    misses = misses + 1;
    if (signalmisses >= 2 || stationmisses >= 3 || misses >= 4)
        goto l660;
    /* 650 */ goto l80;

    // ---- Early end.
l660:
    pushlabel(100660, labelstack);
    goto failcue;
l100660:
    rt.printstr("Lutujem, ale za strojvodcu sa ňehodíš."_cp, 0);
    rt.printstr("Robíš vela chýb a si nepozorný."_cp, 0);
    /* 670 */ pushlabel(100670, labelstack);
    goto failcue;
l100670:
    pushlabel(680, labelstack);
    goto finalsweep;
l680:
    return; // END: the final sweep never comes back here

    // ---- Grading after the fifth correct run; the number of misses picks the grade.
l690:
    switch (onindex(misses, 3)) {
    case 1:
        goto l710;
    case 2:
        goto l730;
    case 3:
        goto l750;
    }
    pushlabel(100690, labelstack);
    goto fanfare;
l100690:
    rt.printstr("Gratulujem! Získavaš oprávňeňie štvrtého stupňa, pre medzinárodné rýchliky."_cp,
                0);
    pushlabel(700, labelstack);
    goto fanfare;
l700:
    rt.printstr("Všetkých peť jázd si absolvoval bez ňehody."_cp, 0);
    goto finalsweep;
l710:
    pushlabel(100710, labelstack);
    goto fanfare;
l100710:
    rt.printstr("Výborňe! Získavaš oprávňeňie treťieho stupňa, pre vnútroštátne rýchliky."_cp, 0);
    rt.printstr(";Na peť jázd bez ňehody si prehliadol:"_cp, 0);
    goto l770;
l730:
    pushlabel(100730, labelstack);
    goto fanfare;
l100730:
    rt.printstr("Získavaš oprávňeňie druhého stupňa, pre osobné vlaky."_cp, 0);
    rt.printstr(";Musíš cvičiť svoju pozornosť. Na peť jázd bez ňehody si prehliadol:"_cp, 0);
    goto l770;
l750:
    rt.printstr("Získavaš oprávňeňie prvého stupňa. Hodí sa iba pre posun. To ňič. Máš možnosť "
                "postupu."_cp,
                0);
    rt.printstr(";Si dosť ňepozorný. Na peť jázd bez ňehody si prehliadol:"_cp, 0);

    // What the player overlooked, counter by counter.
l770:
    if (signalmisses == 1)
        rt.printstr("jeden semafor."_cp, 0);
    /* 780 */ if (stationmisses == 1)
        rt.printstr("jednu stanicu."_cp, 0);
    if (stationmisses == 2)
        rt.printstr("dve stanice."_cp, 0);
    /* 790 */ if (crossingmisses == 1)
        rt.printstr("jedny závory."_cp, 0);
    if (crossingmisses == 2)
        rt.printstr("dvoje závory."_cp, 0);
    if (crossingmisses == 3)
        rt.printstr("troje závory."_cp, 0);
    /* 800 */ if (tunnelmisses == 1)
        rt.printstr("jeden tunel."_cp, 0);
    if (tunnelmisses == 2)
        rt.printstr("dva tunely."_cp, 0);
    if (tunnelmisses == 3)
        rt.printstr("tri tunely."_cp, 0);
    /* 810 */ if (bridgemisses == 1)
        rt.printstr("jeden most."_cp, 0);
    if (bridgemisses == 2)
        rt.printstr("dva mosty."_cp, 0);
    if (bridgemisses == 3)
        rt.printstr("tri mosty."_cp, 0);
    /* 820 */ if (passengermisses == 1)
        rt.printstr("jedenkrát cestujúcich."_cp, 0);
    if (passengermisses == 2)
        rt.printstr("dvakrát cestujúcich."_cp, 0);
    if (passengermisses == 3)
        rt.printstr("trikrát cestujúcich."_cp, 0);
    /* 830 */ goto finalsweep;

    // ---- Rules text, offered at the opening and repeated on request.
l930:
    rt.printstr("Pravidlá;"_cp, 0);
    pushlabel(940, labelstack);
    goto jingle;
l940:
    rt.printstr("úlohou hry je sledovať cestu vlaku a registrovať nasledujúcich šesť údajov."_cp,
                0);
    pushlabel(950, labelstack);
    goto beeprow;
l950:
    rt.printstr("počet semaforov,"_cp, 0);
    pushlabel(960, labelstack);
    goto beeprow;
l960:
    rt.printstr("počet staníc,"_cp, 0);
    pushlabel(970, labelstack);
    goto beeprow;
l970:
    rt.printstr("počet závor,"_cp, 0);
    pushlabel(980, labelstack);
    goto beeprow;
l980:
    rt.printstr("počet mostov,"_cp, 0);
    pushlabel(990, labelstack);
    goto beeprow;
l990:
    rt.printstr("počet tunelov,"_cp, 0);
    pushlabel(1000, labelstack);
    goto beeprow;
l1000:
    rt.printstr("počet cestujúcich."_cp, 0);
    pushlabel(1010, labelstack);
    goto beeprow;
l1010:
    rt.printstr("Na konci každej jazdy sa zumira spýta na jeden z uveďených údajov."_cp, 0);
    /* 1020 */ rt.printstr("Po piatich bezchybných jazdách buďe hra vyhodnoťená."_cp, 0);
    /* 1030 */ rt.printstr("Po niekolkých ňesprávnych odpoveďiach buďe hra predčasňe ukončená."_cp,
                           0);
    /* 1040 */ rt.printstr("Pri počťe cestujúcich je povolená ďesaťpercentná tolerancia."_cp, 0);
    pushlabel(1050, labelstack);
    goto jingle;
l1050:
    rt.printstr("V hre použiješ nasledujúce kódy;"_cp, 0);
    pushlabel(1060, labelstack);
    goto beeprow;
l1060:
    rt.printstr(",a,; zopakuj číselný údaj."_cp, 0);
    pushlabel(1070, labelstack);
    goto beeprow;
l1070:
    rt.printstr("Medzerník,; posun k ďalšiemu údaju."_cp, 0);
    pushlabel(1080, labelstack);
    goto beeprow;
l1080:
    rt.printstr("K napísaniu týchto kódou zumira vyzve takýmto signálom."_cp, 0);
    // The waiting signal of keywait, as a sample.
    rt.click(19);
    fornext(i, 0, 30, 1, [&] { rt.click(9); });
    /* 1090 */ rt.printstr(";,;"_cp, 0);
    rt.printstr("Po napísaní čísla ako odpoveď na otázku, stlač pravú hornú klávesu."_cp, 0);
    pushlabel(1100, labelstack);
    goto beeprow;
l1100:
    rt.printstr("chceš zopakovať pravidlá?"_cp, 0);
    pushlabel(101100, labelstack);
    goto keywait;
l101100:
    if (keytext == "a")
        goto l930;
    /* 1110 */ goto l80;

    // ---- Subroutines.

keywait: // 1200: tick until the player types a lone "a" or a lone space
    rt.click(19);
keywaittick: // 1210
    rt.click(9);
    rt.takekeys(keytext);
    if (keytext == "a")
        goto dispatch;
    /* 1220 */ if (keytext == " ")
        goto dispatch;
    /* 1230 */ goto keywaittick;

drawrandom: // 1300: a whole number from 1 to drawrange
    draw = basicint(rt.rnd(1) * drawrange + 1);
    goto dispatch;

tunnelevent: // 1400
    rt.printstr("tunel."_cp, 0);
    tunnels = tunnels + 1;
    goto trainrun;
bridgeevent: // 1410
    rt.printstr("most."_cp, 0);
    bridges = bridges + 1;
    goto trainrun;
signalevent: // 1420
    rt.printstr("semafor."_cp, 0);
    signals = signals + 1;
    goto trainrun;
crossingevent: // 1430
    rt.printstr("závory."_cp, 0);
    crossings = crossings + 1;
    goto trainrun;

trainrun: // 1500: four bars of wheels on the rails
    fornext(i, 1, 4, 1, [&] {
        fornext(j, 1, 2, 1, [&] {
            rt.playnotes({40}, 110, 3);
            rt.click(14);
        });
        rt.playnotes({40}, 200, 3);
    });
    goto dispatch;

jingle: // 1600
    rt.playnotes({200}, 140, 0);
    rt.playnotes({249}, 140, 0);
    rt.playnotes({300}, 140, 0);
    rt.playnotes({150}, 140, 0);
    rt.playnotes({200}, 200, 0);
    goto dispatch;

whistle: // 1700
    fornext(i, 1, 3, 1, [&] {
        rt.playnotes({400, 200}, 50, 4);
        rt.playnotes({455, 180}, 50, 4);
    });
    goto dispatch;

arrivalcue: // 1800
    rt.playnotes({400, 200}, 700, 4);
    goto dispatch;

terminuscue: // 1900
    rt.click(17);
    rt.playnotes({10}, 900, 0);
    goto dispatch;

failcue: // 2000
    rt.playnotes({400, 200}, 200, 4);
    rt.playnotes({355, 185}, 150, 4);
    rt.playnotes({300, 280, 260, 240}, 180, 4);
    rt.playnotes({240, 220, 200, 180}, 180, 4);
    goto dispatch;

fanfare: // 2100: octave 10 keeps the octave of the tone before
    fornext(i, 1, 3, 1, [&] {
        rt.playnotes({1000, 500}, 225, 1);
        rt.playnotes({1250, 625}, 225, 10);
        rt.playnotes({1500, 750}, 225, 10);
    });
    rt.playnotes({2000, 1000}, 766, 10);
    goto dispatch;

beeprow: // 2200
    fornext(i, 1, 9, 1, [&] { rt.beep(); });
    rt.printstr(";"_cp, 0);
    goto dispatch;

finalsweep: // 2300: falling tones, then the end of the program; there is no RETURN
    fornext(i, 1300, 50, -50, [&] { rt.playnotes({i}, 60, 0); });
    return; // END

    // RETURN: back to the statement that the popped label names; a label that names none ends
    // the program as END does.
dispatch:
    poplabel(returnlabel, labelstack);
    switch (returnlabel) {
    case 70:
        goto l70;
    case 100:
        goto l100;
    case 120:
        goto l120;
    case 140:
        goto l140;
    case 150:
        goto l150;
    case 170:
        goto l170;
    case 190:
        goto l190;
    case 250:
        goto l250;
    case 290:
        goto l290;
    case 300:
        goto l300;
    case 310:
        goto l310;
    case 320:
        goto l320;
    case 330:
        goto l330;
    case 340:
        goto l340;
    case 350:
        goto l350;
    case 360:
        goto l360;
    case 370:
        goto l370;
    case 380:
        goto l380;
    case 390:
        goto l390;
    case 400:
        goto l400;
    case 420:
        goto l420;
    case 680:
        goto l680;
    case 700:
        goto l700;
    case 940:
        goto l940;
    case 950:
        goto l950;
    case 960:
        goto l960;
    case 970:
        goto l970;
    case 980:
        goto l980;
    case 990:
        goto l990;
    case 1000:
        goto l1000;
    case 1010:
        goto l1010;
    case 1050:
        goto l1050;
    case 1060:
        goto l1060;
    case 1070:
        goto l1070;
    case 1080:
        goto l1080;
    case 1100:
        goto l1100;
    case 100060:
        goto l100060;
    case 100130:
        goto l100130;
    case 100140:
        goto l100140;
    case 100210:
        goto l100210;
    case 100230:
        goto l100230;
    case 100410:
        goto l100410;
    case 100420:
        goto l100420;
    case 100660:
        goto l100660;
    case 100670:
        goto l100670;
    case 100690:
        goto l100690;
    case 100710:
        goto l100710;
    case 100730:
        goto l100730;
    case 101100:
        goto l101100;
    }
    return; // END
}
