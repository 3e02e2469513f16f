// soundmaker: writes the sound file from a recipe of synthesised waves, and packs WAV
// recordings named after the items they replace or add.
//
//   soundmaker -o sounds.dat [-r recipe] [item.wav ...]
//   soundmaker --list sounds.dat
//
// The recipe language is described at the top of data/sounds.recipe.

#include "platform/audio/soundfile.h"
#include "tools/wavfile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <numbers>
#include <random>
#include <sstream>

namespace {

struct recipeerror : std::runtime_error {
    using std::runtime_error::runtime_error;
};

constexpr double twopi = 2 * std::numbers::pi;

struct line {
    std::string where;
    std::string kind;
    std::vector<std::string> names;
    std::multimap<std::string, std::string> keys;

    [[noreturn]] void fail(const std::string &fault) const {
        throw recipeerror(where + ": " + fault);
    }

    bool has(const std::string &key) const { return keys.count(key) > 0; }

    double number(const std::string &key, double fallback, double low, double high) const {
        const auto found = keys.find(key);
        if (found == keys.end())
            return fallback;
        return parse(key, found->second, low, high);
    }

    double parse(const std::string &key, const std::string &text, double low, double high) const {
        std::size_t used = 0;
        double value = 0;
        try {
            value = std::stod(text, &used);
        } catch (const std::exception &) {
            used = 0;
        }
        if (used != text.size() || !(value >= low && value <= high))
            fail(key + "=" + text + ": expected a number from " + std::to_string(low) + " to " +
                 std::to_string(high));
        return value;
    }

    // "a:b:c" -> numbers, each range-checked.
    std::vector<double> list(const std::string &key, const std::string &text, char separator,
                             double low, double high) const {
        std::vector<double> values;
        std::stringstream parts(text);
        std::string part;
        while (std::getline(parts, part, separator))
            values.push_back(parse(key, part, low, high));
        return values;
    }
};

std::vector<line> readrecipe(const std::string &path) {
    std::ifstream in(path);
    if (!in)
        throw recipeerror(path + ": cannot open the recipe");
    std::vector<line> lines;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        text = text.substr(0, text.find('#'));
        std::stringstream words(text);
        line l;
        l.where = path + ":" + std::to_string(number);
        if (!(words >> l.kind))
            continue;
        std::string names;
        if (!(words >> names))
            l.fail("item names expected after '" + l.kind + "'");
        std::stringstream namelist(names);
        std::string name;
        while (std::getline(namelist, name, ','))
            l.names.push_back(name);
        std::string word;
        while (words >> word) {
            const auto eq = word.find('=');
            if (eq == std::string::npos || eq == 0)
                l.fail("'" + word + "' is not key=value");
            l.keys.emplace(word.substr(0, eq), word.substr(eq + 1));
        }
        lines.push_back(std::move(l));
    }
    return lines;
}

// Scales to an RMS or peak level in dBFS; a wave that would clip is lowered to a peak of -1 dBFS.
std::vector<std::int16_t> tolevel(const line &l, std::vector<double> wave, std::size_t measured) {
    measured = std::min(measured, wave.size());
    double peak = 0, energy = 0;
    for (std::size_t i = 0; i < measured; ++i) {
        peak = std::max(peak, std::abs(wave[i]));
        energy += wave[i] * wave[i];
    }
    if (peak == 0)
        l.fail("the wave is silent");
    double gain;
    if (l.has("peak"))
        gain = std::pow(10, l.number("peak", -6, -60, 0) / 20) / peak;
    else
        gain = std::pow(10, l.number("rms", -18, -60, 0) / 20) / std::sqrt(energy / measured);
    const double ceiling = std::pow(10, -1.0 / 20);
    if (peak * gain > ceiling) {
        std::fprintf(stderr, "%s: level lowered to avoid clipping\n", l.where.c_str());
        gain = ceiling / peak;
    }
    std::vector<std::int16_t> out(wave.size());
    for (std::size_t i = 0; i < wave.size(); ++i)
        out[i] = std::int16_t(std::lround(wave[i] * gain * 32767));
    return out;
}

// A looped tone: k whole cycles in n samples, k/n as close as can be to the cycles per sample
// asked for, so the tone is in tune and the loop seam cannot be heard.
audio::wave looped(const line &l) {
    const double cycles = l.number("cycles", 0, 0.0005, 0.45);
    if (cycles == 0)
        l.fail("cycles=<cycles per sample> is required");
    if (!l.has("harmonics"))
        l.fail("harmonics=<a1,a2,...> is required");
    const std::vector<double> harmonics =
        l.list("harmonics", l.keys.find("harmonics")->second, ',', 0, 10);
    std::size_t bestn = 0;
    long bestk = 0;
    double besterror = 1e9;
    for (std::size_t n = 2048; n <= 8192; ++n) {
        const long k = std::max(1L, std::lround(cycles * double(n)));
        const double error = std::abs(double(k) / double(n) - cycles);
        if (error < besterror) {
            besterror = error;
            bestn = n;
            bestk = k;
        }
    }
    std::vector<double> wave(bestn, 0.0);
    for (std::size_t h = 1; h <= harmonics.size(); ++h) {
        if (harmonics[h - 1] == 0)
            continue;
        if (double(h * bestk) / double(bestn) >= 0.45) {
            std::fprintf(stderr, "%s: harmonic %zu and above left out (beyond the wave's band)\n",
                         l.where.c_str(), h);
            break;
        }
        for (std::size_t i = 0; i < bestn; ++i)
            wave[i] +=
                harmonics[h - 1] * std::sin(twopi * double(h * bestk * i % bestn) / double(bestn));
    }
    audio::wave w;
    w.rate = std::uint32_t(
        l.number("rate", 22050, audio::soundfile::minrate, audio::soundfile::maxrate));
    w.samples = tolevel(l, wave, wave.size());
    return w;
}

// A sound played once: damped tones and a band of noise, shaped by attack and release, then
// silence up to the whole length (the silence sets the pace of repeated clicks and beeps).
audio::wave once(const line &l) {
    const double rate =
        l.number("rate", 44100, audio::soundfile::minrate, audio::soundfile::maxrate);
    const double length = l.number("length", 0, 1, 10000);
    if (length == 0)
        l.fail("length=<milliseconds> is required");
    const double sound = l.number("sound", length, 0.1, length);
    const double attack = l.number("attack", 0.5, 0, sound) / 1000;
    const double release = l.number("release", 1, 0, sound) / 1000;
    const std::size_t total = std::size_t(std::lround(length / 1000 * rate));
    const std::size_t sounding = std::size_t(std::lround(sound / 1000 * rate));
    std::vector<double> wave(total, 0.0);

    for (auto [it, end] = l.keys.equal_range("tone"); it != end; ++it) {
        const auto v = l.list("tone", it->second, ':', 0, rate / 2);
        if (v.size() != 3)
            l.fail("tone=<Hz>:<decay ms>:<amplitude>");
        for (std::size_t i = 0; i < sounding; ++i) {
            const double t = double(i) / rate;
            const double decay = v[1] > 0 ? std::exp(-t * 1000 / v[1]) : 1.0;
            wave[i] += v[2] * decay * std::sin(twopi * v[0] * t);
        }
    }
    std::mt19937 random(std::uint32_t(l.number("seed", 1, 0, 1e9)));
    std::uniform_real_distribution<double> uniform(-1, 1);
    for (auto [it, end] = l.keys.equal_range("noise"); it != end; ++it) {
        const auto v = l.list("noise", it->second, ':', 0, rate / 2);
        if (v.size() != 4)
            l.fail("noise=<decay ms>:<amplitude>:<low Hz>:<high Hz>");
        // One-pole high-pass at low, then one-pole low-pass at high.
        const double hp = std::exp(-twopi * v[2] / rate), lp = std::exp(-twopi * v[3] / rate);
        double lowstate = 0, highstate = 0;
        for (std::size_t i = 0; i < sounding; ++i) {
            const double t = double(i) / rate;
            const double x = uniform(random);
            lowstate = (1 - hp) * x + hp * lowstate;
            const double band = x - lowstate;
            highstate = (1 - lp) * band + lp * highstate;
            const double decay = v[0] > 0 ? std::exp(-t * 1000 / v[0]) : 1.0;
            wave[i] += v[1] * decay * highstate;
        }
    }
    for (std::size_t i = 0; i < sounding; ++i) {
        const double t = double(i) / rate, left = double(sounding - i) / rate;
        double shape = 1;
        if (attack > 0 && t < attack)
            shape *= t / attack;
        if (release > 0 && left < release)
            shape *= left / release;
        wave[i] *= shape;
    }
    audio::wave w;
    w.rate = std::uint32_t(rate);
    w.samples = tolevel(l, wave, sounding);
    return w;
}

std::vector<audio::wave> fromrecipe(const std::string &path) {
    std::vector<audio::wave> waves;
    for (const line &l : readrecipe(path)) {
        audio::wave made;
        if (l.kind == "loop")
            made = looped(l);
        else if (l.kind == "once")
            made = once(l);
        else
            l.fail("unknown kind '" + l.kind + "' (loop or once)");
        for (const std::string &name : l.names) {
            made.name = name;
            waves.push_back(made);
        }
    }
    return waves;
}

int usage() {
    std::fprintf(stderr, "usage: soundmaker -o OUT [-r RECIPE] [ITEM.wav ...]\n"
                         "       soundmaker --list FILE\n");
    return 2;
}

} // namespace

int main(int argc, char **argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() == 2 && args[0] == "--list") {
            for (const audio::wave &w : audio::soundfile::read(args[1]))
                std::printf("%-10s %6u samples/s %8zu samples %8.1f ms\n", w.name.c_str(), w.rate,
                            w.samples.size(), 1000.0 * double(w.samples.size()) / w.rate);
            return 0;
        }
        std::string out, recipe;
        std::vector<std::string> recordings;
        for (std::size_t i = 0; i < args.size(); ++i) {
            if ((args[i] == "-o" || args[i] == "-r") && i + 1 < args.size()) {
                std::string &target = args[i] == "-o" ? out : recipe;
                target = args[++i];
            } else if (!args[i].empty() && args[i][0] != '-')
                recordings.push_back(args[i]);
            else
                return usage();
        }
        if (out.empty() || (recipe.empty() && recordings.empty()))
            return usage();

        std::vector<audio::wave> waves;
        if (!recipe.empty())
            waves = fromrecipe(recipe);
        for (const std::string &path : recordings) {
            const wavfile::pcm pcm = wavfile::read(path);
            audio::wave w;
            w.name = std::filesystem::path(path).stem().string();
            w.rate = pcm.rate;
            w.samples = pcm.samples;
            const auto same = std::find_if(waves.begin(), waves.end(),
                                           [&](const audio::wave &x) { return x.name == w.name; });
            if (same != waves.end())
                *same = std::move(w);
            else
                waves.push_back(std::move(w));
        }
        audio::soundfile::write(out, waves);
        audio::soundfile::read(out); // the maker checks what it wrote with the player's reader
        std::printf("soundmaker: %zu waves written to %s\n", waves.size(), out.c_str());
        return 0;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "soundmaker: %s\n", e.what());
        return 1;
    }
}
