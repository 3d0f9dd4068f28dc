#include "app/archive/HelpText.h"

namespace kro::archive {

std::string EditControlText(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      out += "\r\n";
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace kro::archive
