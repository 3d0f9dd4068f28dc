#pragma once
// The texts a program may show in its message boxes: those it carries itself.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kro::randominput {

class DefinedTexts {
public:
  // The program's image as bytes (empty when it could not be read).
  explicit DefinedTexts(std::vector<uint8_t> image) : image_(std::move(image)) {}
  bool Loaded() const { return !image_.empty(); }
  // `text` (cp1251) is in the image as a narrow literal or in UTF-16 as a dialog resource
  // keeps it, or is a number alone, as the error numbers the programs format.
  bool Contains(std::string_view text) const;

private:
  std::vector<uint8_t> image_;
};

}  // namespace kro::randominput
