#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

// The cursor of the text screen. Column 80 is legal and means the row is full: the next
// character goes to the start of the next row.
class tscrcursor {
  public:
    void setcolumn(std::uint8_t c) { column = c; }
    void setrow(std::uint8_t r) { row = r; }
    std::uint8_t getcolumn() const { return column; }
    std::uint8_t getrow() const { return row; }

  private:
    std::uint8_t column = 0;
    std::uint8_t row = 0;
};

// The note-taker's text screen: 24 rows of single-byte text. A row never written is empty; every
// write pads its row to 80 blanks first. Rows are never cleared, so one run's output stays on
// screen when the next begins.
class screen {
  public:
    static constexpr int rowcount = 24;
    static constexpr int columncount = 80;
    using rows = std::array<std::string, rowcount>;

    tscrcursor scrcursor;
    // The separator after the item being printed: 0 new line, 2 next zone, anything else stay.
    std::uint8_t printmode = 0;

    // Called after every change of the rows, so the main window can show them.
    std::function<void()> onchange;

    const rows &lines() const { return content; }

    // Places text at the cursor, wrapping at column 80 and scrolling at the bottom, then moves
    // the cursor by printmode.
    void scrwrite(const std::string &text);
    // Start of the next row; a line advance from row 23 scrolls everything up by one row.
    void scrnewline();

  private:
    void newline(int &c, int &r);
    void put(int r, int c, const std::string &piece);
    rows content;
};
