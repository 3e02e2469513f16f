#include "platform/audio/sounddevice.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <atomic>
#include <stdexcept>

namespace audio {

namespace {

std::atomic<int> instances{0};

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
}

sounddevice::~sounddevice() {
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

} // namespace audio
