#pragma once

#include "platform/audio/soundfile.h"
#include "platform/audio/wavelist.h"

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

// A wave list that records what is done to its items, one line per call, e.g.
// "snd14 loop 1", "snd14 frequency 25600", "snd14 volume -300", "snd14 play 0", "snd14 stop".
// A waiting play sleeps for `playms`, as a real wave would block for its length.
class fakewavelist : public audio::wavelist {
  public:
    explicit fakewavelist(std::vector<std::string> names) {
        for (const std::string &name : names)
            items[name] = std::make_unique<item>(*this, name);
    }

    void load(const std::string &path) override {
        items.clear();
        for (const audio::wave &w : audio::soundfile::read(path))
            items[w.name] = std::make_unique<item>(*this, w.name);
    }

    audio::waveitem &find(const std::string &name) override {
        const auto found = items.find(name);
        if (found == items.end())
            throw audio::wavenotfound(name);
        return *found->second;
    }

    bool holds(const std::string &name) const { return items.count(name) > 0; }

    std::vector<std::string> calls;
    int playms = 0;

  private:
    class item : public audio::waveitem {
      public:
        item(fakewavelist &list, std::string name) : list(list), name(std::move(name)) {}
        void setloop(bool on) override { note("loop " + std::to_string(on ? 1 : 0)); }
        void setfrequency(double rate) override {
            note("frequency " + std::to_string(static_cast<long long>(rate)));
        }
        void setvolume(int v) override { note("volume " + std::to_string(v)); }
        void play(bool wait) override {
            note(std::string("play ") + (wait ? "1" : "0"));
            if (wait)
                std::this_thread::sleep_for(std::chrono::milliseconds(list.playms));
        }
        void stop() override { note("stop"); }

      private:
        void note(const std::string &what) { list.calls.push_back(name + " " + what); }
        fakewavelist &list;
        std::string name;
    };

    std::map<std::string, std::unique_ptr<item>> items;
};
