#pragma once
// The one error every reader of bytes from disk reports: where in the file it gave up,
// why, and a short message for whoever reads diagnostics. Programs that show the user
// their own words, or answer a DLL error word, map the cause; the dump and verify tools
// print ToString().
#include <cstdint>
#include <string>
#include <string_view>

namespace kro {

enum class ParseCause : uint8_t {
  Truncated,       // the bytes end before the record does
  BadMagic,        // not this kind of file at all
  UnknownVersion,  // this kind of file, in a version this code does not read
  OutOfLimits,     // a count, size or offset beyond the data or a named limit
  BadChecksum,
  BadValue,        // a field outside its valid values
  OutOfOrder,      // a table that must be sorted is not
  Missing,         // a required part is absent
  Unsupported,     // well formed, but a variant this code does not handle
  MalformedText,
  Unreadable,      // the file could not be read at all
  Stopped,         // the caller asked to stop; nothing is wrong with the file
};

std::string_view CauseName(ParseCause cause);

struct ParseError {
  uint64_t offset = 0;  // from the start of the file (or of the bytes the reader was given)
  ParseCause cause = ParseCause::Truncated;
  std::string message;

  // "offset 12: truncated: title header" (the message part only when there is one).
  std::string ToString() const;
  bool operator==(const ParseError&) const = default;
};

}  // namespace kro
