#include "platform/audio/pcmstream.h"

#include <AL/al.h>
#include <algorithm>
#include <cmath>

namespace audio {

namespace {

// How often the source is looked at while it plays: buffers are recycled and the end noticed.
constexpr int pollms = 5;
constexpr int minrate = 1000;
constexpr int maxrate = 192000;

} // namespace

devicepcmstream::devicepcmstream(sounddevice &device) : device(device) {
    watch.setTimerType(Qt::PreciseTimer);
    QObject::connect(&watch, &QTimer::timeout, [this] { poll(); });
    if (!device.active())
        return;
    alGetError();
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) {
        source = 0;
        return;
    }
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source, AL_POSITION, 0, 0, 0);
    device.watch(source);
}

devicepcmstream::~devicepcmstream() {
    watch.stop();
    if (!device.active())
        return;
    if (source) {
        device.unwatch(source);
        alSourceStop(source);
        alSourcei(source, AL_BUFFER, 0);
        alDeleteSources(1, &source);
    }
    if (!allbuffers.empty())
        alDeleteBuffers(ALsizei(allbuffers.size()), allbuffers.data());
}

void devicepcmstream::queue(const std::int16_t *samples, std::size_t count, int rate) {
    if (!samples || count == 0)
        return;
    rate = std::clamp(rate, minrate, maxrate);
    busy = true;

    if (!source || !device.active()) {
        // Silent: only the time the audio would take.
        const auto now = std::chrono::steady_clock::now();
        silentend = std::max(silentend, now) +
                    std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                        std::chrono::duration<double>(double(count) / rate));
        if (!watch.isActive())
            watch.start(pollms);
        return;
    }

    recycle();
    ALint queued = 0;
    alGetSourcei(source, AL_BUFFERS_QUEUED, &queued);
    if (!held.empty() || (queued > 0 && rate != queuedrate)) {
        // A source plays buffers of one rate only; this one waits until the source is empty.
        held.push_back({std::vector<std::int16_t>(samples, samples + count), rate});
    } else {
        ALuint buffer;
        if (freebuffers.empty()) {
            alGetError();
            alGenBuffers(1, &buffer);
            if (alGetError() != AL_NO_ERROR)
                return; // out of memory: this chunk is lost, the rest still plays
            allbuffers.push_back(buffer);
        } else {
            buffer = freebuffers.back();
            freebuffers.pop_back();
        }
        alBufferData(buffer, AL_FORMAT_MONO16, samples, ALsizei(count * 2), rate);
        alSourceQueueBuffers(source, 1, &buffer);
        queuedrate = rate;
        ALint state = AL_STOPPED;
        alGetSourcei(source, AL_SOURCE_STATE, &state);
        if (state != AL_PLAYING) {
            device.wake();
            alSourcePlay(source);
        }
    }
    if (!watch.isActive())
        watch.start(pollms);
}

void devicepcmstream::clear() {
    watch.stop();
    held.clear();
    busy = false;
    silentend = {};
    if (source && device.active()) {
        alSourceStop(source);
        recycle();
    }
}

// Takes the buffers that have played off the source for reuse. A stopped source has played
// all of its buffers.
void devicepcmstream::recycle() {
    ALint processed = 0;
    alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
    while (processed-- > 0) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(source, 1, &buffer);
        freebuffers.push_back(buffer);
    }
}

void devicepcmstream::poll() {
    if (!busy) {
        watch.stop();
        return;
    }
    if (!source || !device.active()) {
        if (std::chrono::steady_clock::now() >= silentend)
            finish();
        return;
    }
    recycle();
    ALint queued = 0;
    alGetSourcei(source, AL_BUFFERS_QUEUED, &queued);
    if (queued > 0) {
        ALint state = AL_STOPPED;
        alGetSourcei(source, AL_SOURCE_STATE, &state);
        if (state != AL_PLAYING) {
            device.wake();
            alSourcePlay(source);
        }
        return;
    }
    if (!held.empty()) {
        feed();
        return;
    }
    finish();
}

// The source is empty: the chunks held back for their rate go on now.
void devicepcmstream::feed() {
    std::deque<chunk> waiting;
    waiting.swap(held);
    for (const chunk &c : waiting)
        queue(c.samples.data(), c.samples.size(), c.rate);
}

void devicepcmstream::finish() {
    watch.stop();
    busy = false;
    if (ondrained)
        ondrained();
}

} // namespace audio
