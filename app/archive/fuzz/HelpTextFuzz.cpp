// Fuzz target: the help text of the archive disc as the help window takes it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/archive/HelpText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string shown = kro::archive::EditControlText(text);
  // Every line end is CR LF and nothing after a NUL survives.
  for (size_t i = 0; i < shown.size(); ++i) {
    if (shown[i] == '\0') __builtin_trap();
    if (shown[i] == '\r' && (i + 1 >= shown.size() || shown[i + 1] != '\n')) __builtin_trap();
    if (shown[i] == '\n' && (i == 0 || shown[i - 1] != '\r')) __builtin_trap();
  }
  if (shown.size() > 2 * text.size()) __builtin_trap();
  return 0;
}
