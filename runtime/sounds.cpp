#include "runtime/sounds.h"

#include "platform/audio/soundfile.h"
#include "platform/loop/loop.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A BASIC number truncated toward zero; out-of-range values saturate instead of overflowing.
std::int64_t whole(double value) {
    if (std::isnan(value))
        return 0;
    constexpr double limit = 9.2e18;
    return std::int64_t(std::trunc(std::clamp(value, -limit, limit)));
}

} // namespace

soundcommands::soundcommands(audio::wavelist &waves) : waves(waves) {
    Timer.setTimerType(Qt::PreciseTimer);
    Timer.setSingleShot(true);
    QObject::connect(&Timer, &QTimer::timeout, [this] { endtonewait(); });
}

soundcommands::loadresult soundcommands::loadsounds(const std::string &filename) {
    if (!QFileInfo(QString::fromStdString(filename)).isFile())
        return {loadresult::missing, {}};
    try {
        waves.load(filename);
    } catch (const audio::soundfileerror &e) {
        return {loadresult::damaged, e.what()};
    }
    return {};
}

void soundcommands::playnotes(const std::vector<double> &notes, double duration, double octave) {
    if (!zumirasounds)
        return;
    if (octave > 9)
        octave = lastoctave;
    if (duration < 0)
        duration = lastduration;
    const std::int64_t octavedigit = whole(octave);
    const std::int64_t milliseconds =
        std::min<std::int64_t>(whole(duration), std::numeric_limits<std::int32_t>::max());
    lastoctave = std::uint8_t(octavedigit & 0xff); // a byte keeps the low eight bits
    lastduration = std::int32_t(milliseconds);

    // Whatever ends this call, a missing item or the wait, the tones started stop, in order,
    // and no wait is left pending: a lost item must not leave a chord sounding for ever.
    std::vector<audio::waveitem *> started;
    struct cleanup {
        soundcommands &self;
        std::vector<audio::waveitem *> &started;
        ~cleanup() {
            if (std::uncaught_exceptions() > 0) {
                self.Timer.stop();
                self.tonewait = false;
            }
            for (audio::waveitem *item : started)
                item->stop();
        }
    } guard{*this, started};

    for (std::size_t i = 0; i < notes.size(); ++i) {
        std::int64_t m = whole(notes[i]);
        if (m == 0)
            m = 2;
        audio::waveitem &item =
            waves.find("snd" + std::to_string(i + 1) + std::to_string(octavedigit));
        item.setloop(true);
        item.setfrequency(double(m) * 64);
        item.setvolume(sndvolume);
        item.play(false);
        started.push_back(&item);
    }

    tonewait = true;
    // A zero interval is no timer at all: only a key ends these tones.
    if (milliseconds > 0)
        Timer.start(int(milliseconds));
    loop::waitwhile(tonewait);
}

void soundcommands::beep() {
    if (!zumirasounds)
        return;
    audio::waveitem &item = waves.find("beep");
    item.setvolume(sndvolume);
    item.play(true);
}

void soundcommands::click(double number) {
    if (!zumirasounds)
        return;
    audio::waveitem &item = waves.find("click" + std::to_string(whole(number)));
    item.setvolume(sndvolume);
    item.play(true);
}

void soundcommands::endtonewait() {
    tonewait = false;
    Timer.stop();
}

void soundcommands::resetrun() {
    lastoctave = 1;
    lastduration = 1;
}
