#include "platform/audio/soundfile.h"

#include <QFile>
#include <QSaveFile>
#include <cstring>
#include <set>

namespace audio::soundfile {

namespace {

class reader {
  public:
    reader(const std::vector<unsigned char> &bytes, const std::string &name)
        : bytes(bytes), name(name) {}

    [[noreturn]] void fail(const std::string &fault) const {
        throw soundfileerror(name + ": " + fault);
    }

    std::size_t left() const { return bytes.size() - pos; }

    void need(std::size_t count, const std::string &what) const {
        if (left() < count)
            fail("truncated: " + what + " needs " + std::to_string(count) + " bytes at offset " +
                 std::to_string(pos) + ", only " + std::to_string(left()) + " left");
    }

    std::uint32_t number(int size, const std::string &what) {
        need(size, what);
        std::uint32_t value = 0;
        for (int i = 0; i < size; ++i)
            value |= std::uint32_t(bytes[pos + i]) << (8 * i);
        pos += size;
        return value;
    }

    const unsigned char *take(std::size_t count, const std::string &what) {
        need(count, what);
        const unsigned char *start = bytes.data() + pos;
        pos += count;
        return start;
    }

  private:
    const std::vector<unsigned char> &bytes;
    const std::string &name;
    std::size_t pos = 0;
};

bool validname(const std::string &name) {
    if (name.empty() || name.size() > maxname)
        return false;
    for (unsigned char c : name)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    return true;
}

void put(std::vector<unsigned char> &out, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        out.push_back((value >> (8 * i)) & 0xff);
}

} // namespace

std::vector<wave> parse(const std::vector<unsigned char> &bytes, const std::string &name) {
    reader in(bytes, name);
    if (bytes.size() < sizeof magic || std::memcmp(bytes.data(), magic, sizeof magic) != 0)
        in.fail("not a sound file (wrong magic)");
    in.take(sizeof magic, "magic");
    const std::uint32_t fileversion = in.number(2, "the version");
    if (fileversion != version)
        in.fail("version " + std::to_string(fileversion) + " is not supported (expected " +
                std::to_string(version) + ")");
    if (in.number(2, "the flags") != 0)
        in.fail("unknown flags in the header");
    const std::uint32_t count = in.number(4, "the wave count");
    if (count == 0 || count > maxwaves)
        in.fail("wave count " + std::to_string(count) + " is outside 1 to " +
                std::to_string(maxwaves));

    std::vector<wave> waves;
    std::set<std::string> names;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::string where = "wave " + std::to_string(i + 1) + " of " + std::to_string(count);
        const std::uint32_t namelen = in.number(1, where + ": the name length");
        if (namelen == 0 || namelen > maxname)
            in.fail(where + ": name length " + std::to_string(namelen) + " is outside 1 to " +
                    std::to_string(maxname));
        const auto *namebytes = in.take(namelen, where + ": the name");
        wave w;
        w.name.assign(reinterpret_cast<const char *>(namebytes), namelen);
        if (!validname(w.name))
            in.fail(where + ": the name holds characters other than letters and digits");
        const std::string item = where + " ('" + w.name + "')";
        if (!names.insert(w.name).second)
            in.fail(item + ": the name occurs twice");
        w.rate = in.number(4, item + ": the rate");
        if (w.rate < minrate || w.rate > maxrate)
            in.fail(item + ": rate " + std::to_string(w.rate) + " is outside " +
                    std::to_string(minrate) + " to " + std::to_string(maxrate));
        const std::uint32_t frames = in.number(4, item + ": the length");
        if (frames == 0 || frames > maxframes)
            in.fail(item + ": length " + std::to_string(frames) + " samples is outside 1 to " +
                    std::to_string(maxframes));
        const auto *data = in.take(std::size_t(frames) * 2, item + ": the samples");
        w.samples.resize(frames);
        for (std::uint32_t f = 0; f < frames; ++f)
            w.samples[f] = std::int16_t(std::uint16_t(data[2 * f] | (data[2 * f + 1] << 8)));
        waves.push_back(std::move(w));
    }
    if (in.left() != 0)
        in.fail(std::to_string(in.left()) + " unexpected bytes after the last wave");
    return waves;
}

std::vector<wave> read(const std::string &path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        throw soundfileerror(path + ": cannot open: " + file.errorString().toStdString());
    if (std::uint64_t(file.size()) > maxfilesize)
        throw soundfileerror(path + ": " + std::to_string(file.size()) +
                             " bytes is far larger than any sound file");
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw soundfileerror(path + ": cannot read: " + file.errorString().toStdString());
    return parse(std::vector<unsigned char>(data.begin(), data.end()), path);
}

std::vector<unsigned char> encode(const std::vector<wave> &waves) {
    if (waves.empty() || waves.size() > maxwaves)
        throw soundfileerror("a sound file holds 1 to " + std::to_string(maxwaves) +
                             " waves, not " + std::to_string(waves.size()));
    std::vector<unsigned char> out(magic, magic + sizeof magic);
    put(out, version, 2);
    put(out, 0, 2);
    put(out, std::uint32_t(waves.size()), 4);
    std::set<std::string> names;
    for (const wave &w : waves) {
        if (!validname(w.name))
            throw soundfileerror("wave name '" + w.name + "' must be 1 to " +
                                 std::to_string(maxname) + " letters and digits");
        if (!names.insert(w.name).second)
            throw soundfileerror("wave name '" + w.name + "' occurs twice");
        if (w.rate < minrate || w.rate > maxrate)
            throw soundfileerror("wave '" + w.name + "': rate " + std::to_string(w.rate) +
                                 " is outside " + std::to_string(minrate) + " to " +
                                 std::to_string(maxrate));
        if (w.samples.empty() || w.samples.size() > maxframes)
            throw soundfileerror("wave '" + w.name + "': length " +
                                 std::to_string(w.samples.size()) + " samples is outside 1 to " +
                                 std::to_string(maxframes));
        put(out, std::uint32_t(w.name.size()), 1);
        out.insert(out.end(), w.name.begin(), w.name.end());
        put(out, w.rate, 4);
        put(out, std::uint32_t(w.samples.size()), 4);
        for (std::int16_t s : w.samples)
            put(out, std::uint16_t(s), 2);
    }
    return out;
}

void write(const std::string &path, const std::vector<wave> &waves) {
    const std::vector<unsigned char> bytes = encode(waves);
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char *>(bytes.data()), qint64(bytes.size())) !=
            qint64(bytes.size()) ||
        !file.commit())
        throw soundfileerror(path + ": cannot write: " + file.errorString().toStdString());
}

} // namespace audio::soundfile
