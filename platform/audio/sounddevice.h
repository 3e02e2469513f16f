#pragma once

#include <chrono>
#include <memory>
#include <string>

// The one sound output of the process: an OpenAL Soft device and its context. Wave items and
// the speech stream play through it. When no audio device can be opened, a silent device takes
// its place: everything that plays still takes as long as its sound would, so a program keeps
// its pace and nothing spins or hangs.
//
// Low latency is asked for through an OpenAL configuration file of ours (256-frame periods, two
// of them, about 11 ms), read after the user's own files so it layers over them. A user who
// points ALSOFT_CONF at a file of their own keeps full control: we then add nothing.
//
// OpenAL's mixer runs for as long as the device does, mixing silence at every period even when
// nothing plays. So the device is paused while idle (ALC_SOFT_pause_device) and woken right
// before a play or queue: a UI-thread timer, running only while the device runs, pauses it once
// none of the watched sources has played for a whole tick, and a play-and-wait lets it rest
// through its wave's quiet end.
namespace audio {

class sounddevice {
  public:
    enum class kind { automatic, silent };

    explicit sounddevice(kind wanted = kind::automatic);
    ~sounddevice();
    sounddevice(const sounddevice &) = delete;
    sounddevice &operator=(const sounddevice &) = delete;

    bool silent() const { return !isopen; }
    // The device's name, or why the device is silent.
    const std::string &description() const { return about; }
    // Mixing rate of the output, samples per second (0 when silent).
    int outputrate() const { return rate; }

    // True when OpenAL calls can be made: the device is open and its context is current (it is
    // made current again if something else changed it).
    bool active() const;

    // Resumes a device paused for being idle. Call right before every play or queue.
    void wake();
    // The sources that keep the device awake while they play.
    void watch(unsigned source);
    void unwatch(unsigned source);
    // True while the mixer is paused for want of anything to play.
    bool paused() const;
    // How long a sound takes from the mixer to the speaker: what is still to be heard when a
    // source has ended.
    std::chrono::milliseconds outputtail() const { return tail; }
    // Pauses now when none of the watched sources plays. For a thread that waits through a
    // quiet stretch without turning the message loop, where the idle timer cannot run; call it
    // once the output tail has passed.
    void restifidle();

  private:
    bool anyplaying() const;
    void checkidle();
    void pause();

    struct handles;
    std::unique_ptr<handles> al;
    bool isopen = false;
    int rate = 0;
    std::chrono::milliseconds tail{40};
    std::string about;
};

} // namespace audio
