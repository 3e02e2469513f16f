#include "runtime/screen.h"

void screen::put(int r, int c, const std::string &piece) {
    std::string &row = content[size_t(r)];
    if (row.size() < size_t(columncount))
        row.resize(size_t(columncount), ' ');
    row.replace(size_t(c), piece.size(), piece);
}

void screen::newline(int &c, int &r) {
    c = 0;
    if (++r > rowcount - 1) {
        r = rowcount - 1;
        for (int i = 0; i + 1 < rowcount; ++i)
            content[size_t(i)] = std::move(content[size_t(i) + 1]);
        content[rowcount - 1].clear();
    }
}

void screen::scrnewline() {
    int c = scrcursor.getcolumn(), r = scrcursor.getrow();
    newline(c, r);
    scrcursor.setcolumn(std::uint8_t(c));
    scrcursor.setrow(std::uint8_t(r));
    if (onchange)
        onchange();
}

void screen::scrwrite(const std::string &text) {
    int c = scrcursor.getcolumn(), r = scrcursor.getrow();
    std::string rest = text;
    while (c + int(rest.size()) > columncount) {
        const size_t fits = size_t(columncount - c);
        put(r, c, rest.substr(0, fits));
        rest.erase(0, fits);
        newline(c, r);
    }
    put(r, c, rest);
    c += int(rest.size());

    switch (printmode) {
    case 0:
        newline(c, r);
        break;
    case 2:
        if (c > 72) {
            newline(c, r);
        } else if (int k = c % 8; k == 1) {
            c += 1; // one column on, not the next zone: the device does it this way
        } else if (k != 0) {
            c += 8 - k;
        }
        break;
    default:
        break;
    }
    scrcursor.setcolumn(std::uint8_t(c));
    scrcursor.setrow(std::uint8_t(r));
    if (onchange)
        onchange();
}
