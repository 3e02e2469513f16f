#pragma once

// Capital letters of Czech and Slovak in eight character sets, for the tone before a capital.
namespace capitals {

constexpr int tablecount = 8;
constexpr int tablelength = 45;

// Table n: the 22 accented letters as lower/upper pairs (lower at odd positions 1, 3, ... 43,
// upper at even positions 2, 4, ... 44, counting from 1), closed by the section sign (a space
// in table 7). 0 Kamenický, 1 code page 852, 2 Windows-1250, 3 ISO 8859-2, 4 KOI8-ČS,
// 5 Macintosh CE, 6 code page 437 (unaccented where it lacks the letter), 7 plain ASCII.
extern const char *const letterpairs[tablecount];

} // namespace capitals

// True for A to Z, and for a character of 128 and above whose first place in the table is even.
bool iscapital(char character, int table);
