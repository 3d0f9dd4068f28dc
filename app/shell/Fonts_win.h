#pragma once
// The product's fonts, installed for the life of the program: cdp.fon from the working
// directory and four TrueType faces from the product directory, plus the bold and light
// "CompactDisk" fonts made from cdp.fon. Everything is undone by the destructor, so every
// exit path removes them.
#include <windows.h>

#include <string>
#include <vector>

#include "runtime/base/UniqueHandle_win.h"

namespace kro::shell {

class ProductFonts {
public:
  // `dialogBaseX/Y` choose the size for large system fonts (see CompactDiskHeight). An
  // empty `productDir` adds cdp.fon alone, as the archive program does.
  ProductFonts(const std::string& workingDir, const std::string& productDir, int dialogBaseX, int dialogBaseY);
  ~ProductFonts();
  ProductFonts(const ProductFonts&) = delete;
  ProductFonts& operator=(const ProductFonts&) = delete;

  // Either may be null (no cdp.fon); callers select it anyway and keep the DC's font.
  HFONT Bold() const { return bold_.Get(); }
  HFONT Light() const { return light_.Get(); }

private:
  std::vector<std::string> added_;
  UniqueFont bold_;
  UniqueFont light_;
};

}  // namespace kro::shell
