#pragma once
// Text helpers used throughout the programs: prefix matching, field reading for list
// descriptions, path splitting and the cp1251 case rules of Russian text. Every helper that
// writes into a caller's buffer takes the buffer as a span and never writes past it; the
// output is always zero-terminated when the span is not empty.
#include <cstdint>
#include <cstdio>
#include <span>

namespace kro::toolkit {

// 1 when the two strings agree up to the end of the shorter one (one is a prefix of the
// other, or they are equal).
bool PrefixMatch(const char* a, const char* b);
// The first index of `text` at which PrefixMatch(text + i, pattern) holds, or -1.
int PrefixFind(const char* text, const char* pattern);

// Copies `source` up to `delimiter` or its end into `out` (cut to fit); returns where the
// copy stopped in the source: the delimiter or the terminating zero.
const char* CopyToDelimiter(const char* source, char delimiter, std::span<char> out);

// The characters after the last backslash (the whole path when it has none).
const char* FileNameOfPath(const char* path);
// The path up to and including its last backslash; empty when it has none. Returns false,
// leaving `out` empty, when the directory does not fit.
bool DirectoryOfPath(const char* path, std::span<char> out);

// Capitalises a word in place when it starts with a Cyrillic letter: the first letter upper
// case, every later Cyrillic letter lower case ("МОСКВА" -> "Москва").
void CapitaliseCyrillic(char* word);
// Compares by the code page's case folding. 0 when `b` ends first or both end together
// (`a` starts with `b`), -1 when b's letter is greater, 1 when it is smaller.
int CompareFolded(const char* a, const char* b);

// Copies `source` without its spaces, tabs and line feeds.
void StripBlanks(const char* source, std::span<char> out);
// The first character that is not a space, tab, line feed or "^", or null at the end.
const char* SkipBlanks(const char* text);
// Reads until a character that is not a space, tab or line feed and puts it back; returns
// it, or EOF.
int SkipBlanks(std::FILE* file);

// Field readers of list descriptions. Each skips blanks, reads one field and returns the
// position of the next comma after it (null when there is none). A number that is absent
// or unreadable leaves *value as it was; `read`, when given, tells whether one was read.
const char* ReadShortField(const char* text, int16_t* value, bool* read = nullptr);
const char* ReadLongField(const char* text, int32_t* value, bool* read = nullptr);
const char* ReadHexField(const char* text, uint32_t* value, bool* read = nullptr);  // "0x" prefix optional
// A double-quoted string: the characters up to the next quote not preceded by a
// backslash, taken as they stand. No quote, a comma before the first quote, or no closing
// quote give the empty string.
const char* ReadQuotedField(const char* text, std::span<char> out);

}  // namespace kro::toolkit
