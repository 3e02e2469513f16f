#include "runtime/printing.h"

#include "runtime/formatnum.h"

namespace {

bool isblank(char c) { return static_cast<unsigned char>(c) <= 32; }
bool ispause(char c) { return c == '.' || c == ',' || c == ';' || c == '?'; }

} // namespace

printer::printer(screen &scr, sayfunction say, sleepfunction sleep, char decimalseparator)
    : scr(scr), say(std::move(say)), sleep(std::move(sleep)), separator(decimalseparator) {}

void printer::printstr(const std::string &text, std::uint8_t mode) {
    scr.printmode = mode;
    scr.scrwrite(text);
    if (text.empty())
        return;
    size_t first = 0;
    while (first < text.size() && isblank(text[first]))
        ++first;
    if (first == text.size() || !ispause(text[first])) {
        say(text);
        return;
    }
    // Leading punctuation is heard as a pause of 300 ms each, not spoken.
    while (first < text.size() && ispause(text[first])) {
        sleep(300);
        ++first;
    }
    say(text.substr(first));
}

void printer::printnum(std::uint8_t mode, double value) {
    const std::string text = formatnum(value, separator);
    scr.printmode = mode;
    scr.scrwrite(text);
    if (!text.empty())
        say(text);
}
