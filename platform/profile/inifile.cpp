#include "platform/profile/inifile.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <vector>

namespace profile {
namespace {

std::string trim(const std::string &s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

bool sameName(const std::string &a, const std::string &b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::vector<std::string> readlines(const std::string &path) {
    std::vector<std::string> lines;
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly))
        return lines;
    const QByteArray all = f.readAll();
    std::string text(all.constData(), size_t(all.size()));
    size_t start = 0;
    while (start < text.size()) {
        size_t nl = text.find('\n', start);
        std::string line = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        if (nl == std::string::npos)
            break;
        start = nl + 1;
    }
    return lines;
}

// The section name of a "[name]" line, or nothing for any other line.
std::optional<std::string> sectionof(const std::string &line) {
    std::string t = trim(line);
    if (t.size() < 2 || t.front() != '[')
        return std::nullopt;
    size_t close = t.find(']');
    if (close == std::string::npos)
        return std::nullopt;
    return trim(t.substr(1, close - 1));
}

// The key of a "key=value" line, or nothing.
std::optional<std::string> keyof(const std::string &line) {
    size_t eq = line.find('=');
    if (eq == std::string::npos)
        return std::nullopt;
    std::string k = trim(line.substr(0, eq));
    if (k.empty() || k.front() == ';')
        return std::nullopt;
    return k;
}

struct location {
    long sectionline = -1; // index of the "[section]" line
    long keyline = -1;     // index of the "key=" line inside it
    long lastline = -1;    // last non-blank line of the section
};

location find(const std::vector<std::string> &lines, const std::string &section,
              const std::string &key) {
    location at;
    bool inside = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (auto s = sectionof(lines[i])) {
            if (inside)
                break; // only the first section of that name counts
            if (sameName(*s, section)) {
                inside = true;
                at.sectionline = at.lastline = long(i);
            }
            continue;
        }
        if (!inside)
            continue;
        if (!trim(lines[i]).empty())
            at.lastline = long(i);
        if (auto k = keyof(lines[i]); k && at.keyline < 0 && sameName(*k, key))
            at.keyline = long(i);
    }
    return at;
}

} // namespace

std::optional<int> parseint(const std::string &text) {
    std::string t = trim(text);
    if (!t.empty() && t.front() == '+')
        t.erase(0, 1);
    if (t.empty())
        return std::nullopt;
    int value = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (ec != std::errc() || end != t.data() + t.size())
        return std::nullopt;
    return value;
}

inifile::inifile(std::string path) : filepath(std::move(path)) {}

bool inifile::exists() const { return QFile::exists(QString::fromStdString(filepath)); }

std::optional<std::string> inifile::readstring(const std::string &section,
                                               const std::string &key) const {
    const auto lines = readlines(filepath);
    location at = find(lines, section, key);
    if (at.keyline < 0)
        return std::nullopt;
    const std::string &line = lines[size_t(at.keyline)];
    return trim(line.substr(line.find('=') + 1));
}

int inifile::readint(const std::string &section, const std::string &key, int defaultvalue) const {
    auto text = readstring(section, key);
    if (!text)
        return defaultvalue;
    return parseint(*text).value_or(defaultvalue);
}

void inifile::writestring(const std::string &section, const std::string &key,
                          const std::string &value) {
    auto lines = readlines(filepath);
    location at = find(lines, section, key);
    if (at.keyline >= 0) {
        std::string &line = lines[size_t(at.keyline)];
        line = trim(line.substr(0, line.find('='))) + "=" + value;
    } else if (at.sectionline >= 0) {
        lines.insert(lines.begin() + at.lastline + 1, key + "=" + value);
    } else {
        if (!lines.empty() && !trim(lines.back()).empty())
            lines.emplace_back();
        lines.push_back("[" + section + "]");
        lines.push_back(key + "=" + value);
    }
    std::string text;
    for (const auto &l : lines)
        text += l + "\n";

    QSaveFile out(QString::fromStdString(filepath));
    if (!out.open(QIODevice::WriteOnly) || out.write(text.data(), qint64(text.size())) != qint64(text.size()) ||
        !out.commit())
        throw profileerror("Cannot write the settings file " + filepath + ": " +
                           out.errorString().toStdString());
}

void inifile::writeint(const std::string &section, const std::string &key, int value) {
    writestring(section, key, std::to_string(value));
}

} // namespace profile
