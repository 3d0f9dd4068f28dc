#include "tests/random/DefinedTexts_win.h"

#include <windows.h>

namespace kro::randominput {

bool DefinedTexts::Contains(std::string_view text) const {
  if (text.empty()) return false;
  if (text.find_first_of("0123456789") != std::string_view::npos &&
      text.find_first_not_of("-0123456789") == std::string_view::npos)
    return true;
  std::wstring wide(text.size(), L'\0');
  wide.resize(MultiByteToWideChar(1251, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                  static_cast<int>(wide.size())));
  const std::string_view utf16(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
  const std::string_view image(reinterpret_cast<const char*>(image_.data()), image_.size());
  return image.find(text) != std::string_view::npos || image.find(utf16) != std::string_view::npos;
}

}  // namespace kro::randominput
