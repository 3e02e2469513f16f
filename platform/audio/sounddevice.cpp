#include "platform/audio/sounddevice.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <vector>

namespace audio {

namespace {

std::atomic<int> instances{0};

// How often a running device looks for something playing. It pauses after one to two ticks of
// silence: late enough that the last sound has left the output buffer, and a tick costs nothing
// next to the mixer's 170 periods a second.
constexpr int idletickms = 100;

// Our layer of the OpenAL configuration. bsinc12 keeps tones pitched far above a wave's natural
// rate free of aliasing.
constexpr char ourconfig[] = "[general]\n"
                             "period_size = 256\n"
                             "periods = 2\n"
                             "resampler = bsinc12\n"
                             "rt-prio = 1\n";

// Writes our configuration to a temporary file and points ALSOFT_CONF at it while the device
// opens (OpenAL reads its configuration once, at the first device); afterwards the variable is
// cleared again so child processes do not inherit a path to a removed file.
class configlayer {
  public:
    configlayer() {
        if (qEnvironmentVariableIsSet("ALSOFT_CONF"))
            return;
        file.setFileTemplate(QDir::tempPath() + "/vlak-alsoft-XXXXXX.conf");
        if (!file.open() || file.write(ourconfig) != qint64(sizeof ourconfig - 1) || !file.flush())
            return;
        qputenv("ALSOFT_CONF", QFile::encodeName(file.fileName()));
        active = true;
    }
    ~configlayer() {
        if (active)
            qunsetenv("ALSOFT_CONF");
    }

  private:
    QTemporaryFile file;
    bool active = false;
};

} // namespace

struct sounddevice::handles {
    ALCdevice *device = nullptr;
    ALCcontext *context = nullptr;
    LPALCDEVICEPAUSESOFT pausedevice = nullptr;
    LPALCDEVICERESUMESOFT resumedevice = nullptr;
    bool paused = false;
    bool idleseen = false; // nothing played at the last tick
    std::vector<unsigned> sources;
    QTimer idlewatch;
};

sounddevice::sounddevice(kind wanted) : al(std::make_unique<handles>()) {
    if (instances.fetch_add(1) != 0) {
        instances.fetch_sub(1);
        throw std::logic_error("only one sound device may exist at a time");
    }
    if (wanted == kind::silent) {
        about = "silent (asked for)";
        return;
    }
    configlayer layer;
    al->device = alcOpenDevice(nullptr);
    if (!al->device) {
        about = "silent: no audio device could be opened";
        return;
    }
    al->context = alcCreateContext(al->device, nullptr);
    if (!al->context || !alcMakeContextCurrent(al->context)) {
        if (al->context)
            alcDestroyContext(al->context);
        alcCloseDevice(al->device);
        al->device = nullptr;
        al->context = nullptr;
        about = "silent: the audio device refused a context";
        return;
    }
    ALCint frequency = 0;
    alcGetIntegerv(al->device, ALC_FREQUENCY, 1, &frequency);
    rate = frequency;
    const ALCchar *name = alcGetString(al->device, ALC_DEVICE_SPECIFIER);
    about = std::string("OpenAL: ") + (name ? name : "default device");
    isopen = true;

    // What is mixed reaches the speaker after the device's latency; without the clock
    // extension, assume three periods.
    ALCint refresh = 0;
    alcGetIntegerv(al->device, ALC_REFRESH, 1, &refresh);
    double latencyms = refresh > 0 ? 3000.0 / refresh : 30.0;
    if (alcIsExtensionPresent(al->device, "ALC_SOFT_device_clock")) {
        auto getinteger64 = reinterpret_cast<LPALCGETINTEGER64VSOFT>(
            alcGetProcAddress(al->device, "alcGetInteger64vSOFT"));
        ALCint64SOFT nanoseconds = 0;
        if (getinteger64) {
            getinteger64(al->device, ALC_DEVICE_LATENCY_SOFT, 1, &nanoseconds);
            if (nanoseconds > 0)
                latencyms = double(nanoseconds) / 1e6;
        }
    }
    // A margin for the audio server's own buffer.
    tail = std::chrono::milliseconds(int(std::clamp(latencyms + 10.0, 20.0, 250.0)));

    // Pausing needs the extension, and a UI thread to turn the idle timer that pauses again.
    if (!QCoreApplication::instance() ||
        !alcIsExtensionPresent(al->device, "ALC_SOFT_pause_device"))
        return;
    al->pausedevice =
        reinterpret_cast<LPALCDEVICEPAUSESOFT>(alcGetProcAddress(al->device, "alcDevicePauseSOFT"));
    al->resumedevice = reinterpret_cast<LPALCDEVICERESUMESOFT>(
        alcGetProcAddress(al->device, "alcDeviceResumeSOFT"));
    if (!al->pausedevice || !al->resumedevice)
        return;
    al->idlewatch.setInterval(idletickms);
    QObject::connect(&al->idlewatch, &QTimer::timeout, [this] { checkidle(); });
    pause(); // nothing plays yet
}

sounddevice::~sounddevice() {
    al->idlewatch.stop();
    if (al->context) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(al->context);
    }
    if (al->device)
        alcCloseDevice(al->device);
    instances.fetch_sub(1);
}

bool sounddevice::active() const {
    if (!isopen)
        return false;
    return alcGetCurrentContext() == al->context || alcMakeContextCurrent(al->context);
}

void sounddevice::wake() {
    al->idleseen = false;
    if (!al->paused)
        return;
    al->resumedevice(al->device);
    al->paused = false;
    al->idlewatch.start();
}

void sounddevice::watch(unsigned source) {
    al->sources.push_back(source);
}

void sounddevice::unwatch(unsigned source) {
    al->sources.erase(std::remove(al->sources.begin(), al->sources.end(), source),
                      al->sources.end());
}

bool sounddevice::paused() const {
    return al->paused;
}

bool sounddevice::anyplaying() const {
    return std::any_of(al->sources.begin(), al->sources.end(), [](unsigned s) {
        ALint state = AL_STOPPED;
        alGetSourcei(s, AL_SOURCE_STATE, &state);
        return state == AL_PLAYING;
    });
}

void sounddevice::restifidle() {
    if (!al->pausedevice || al->paused || !active() || anyplaying())
        return;
    pause();
}

void sounddevice::checkidle() {
    if (al->paused || !active())
        return;
    const bool playing = anyplaying();
    if (playing || !al->idleseen) {
        // Silent for less than a whole tick: the end of a sound may still be in the output.
        al->idleseen = !playing;
        return;
    }
    pause();
}

void sounddevice::pause() {
    al->idlewatch.stop();
    al->pausedevice(al->device);
    al->paused = true;
    al->idleseen = false;
}

} // namespace audio
