#include "runtime/base/ParseError.h"

namespace kro {

std::string_view CauseName(ParseCause cause) {
  switch (cause) {
    case ParseCause::Truncated: return "truncated";
    case ParseCause::BadMagic: return "bad magic";
    case ParseCause::UnknownVersion: return "unknown version";
    case ParseCause::OutOfLimits: return "out of limits";
    case ParseCause::BadChecksum: return "bad checksum";
    case ParseCause::BadValue: return "bad value";
    case ParseCause::OutOfOrder: return "out of order";
    case ParseCause::Missing: return "missing";
    case ParseCause::Unsupported: return "unsupported";
    case ParseCause::MalformedText: return "malformed text";
    case ParseCause::Unreadable: return "unreadable";
    case ParseCause::Stopped: return "stopped";
  }
  return "unknown cause";
}

std::string ParseError::ToString() const {
  std::string text = "offset " + std::to_string(offset) + ": ";
  text += CauseName(cause);
  if (!message.empty()) text += ": " + message;
  return text;
}

}  // namespace kro
