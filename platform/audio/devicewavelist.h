#pragma once

#include "platform/audio/sounddevice.h"
#include "platform/audio/soundfile.h"
#include "platform/audio/wavelist.h"

#include <map>
#include <memory>

// The wave list on the sound device: one OpenAL buffer per wave, and a source per item made at
// its first playing (OpenAL limits the number of sources; most files' items are never all
// played). On a silent device the items keep their timing without a sound.
namespace audio {

class devicewavelist : public wavelist {
  public:
    explicit devicewavelist(sounddevice &device);
    ~devicewavelist() override;

    void load(const std::string &path) override;
    void load(const std::vector<wave> &waves);
    waveitem &find(const std::string &name) override;

    class item;

  private:
    sounddevice &device;
    std::map<std::string, std::unique_ptr<item>> items;
};

} // namespace audio
