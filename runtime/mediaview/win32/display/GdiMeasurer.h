#pragma once
// The layout's measurer on a device context: fonts of the title's font table in the
// Cyrillic charset at the device's resolution, their metrics and character advances, and
// the sizes of the title's pictures. Fonts are made once per (font, size, style) and kept.
#include <windows.h>

#include <memory>
#include <unordered_map>

#include "runtime/base/UniqueHandle_win.h"
#include "runtime/mediaview/core/Title.h"
#include "runtime/mediaview/core/layout/Measurer.h"
#include "runtime/mediaview/win32/display/Pictures.h"

namespace kro::mvdll::display {

class GdiMeasurer : public mv::layout::Measurer {
public:
  // `dc` is measured on (borrowed; it must outlive the measurer). `title` and `pictures`
  // are borrowed as well. Text of `kerningPoints` and larger is kerned (0: none).
  GdiMeasurer(HDC dc, const mv::Title& title, PictureCache& pictures, LONG kerningPoints = 0);
  LONG kerningPoints() const { return kerningPoints_; }

  const mv::layout::FontMetrics& Metrics(const mv::CharFormat& format) override;
  mv::layout::Size PictureSize(std::string_view name) override;
  int DotsPerInch() const override { return dpi_; }

  HFONT Font(const mv::CharFormat& format);
  const Picture* FindPicture(std::string_view name) { return pictures_.Get(title_, name); }

private:
  struct Entry {
    UniqueFont font;
    mv::layout::FontMetrics metrics;
  };
  Entry& Find(const mv::CharFormat& format);
  void ReadKerning(mv::layout::FontMetrics* metrics) const;

  HDC dc_;
  const mv::Title& title_;
  PictureCache& pictures_;
  int dpi_;
  LONG kerningPoints_;
  std::unordered_map<uint32_t, std::unique_ptr<Entry>> fonts_;
};

}  // namespace kro::mvdll::display
