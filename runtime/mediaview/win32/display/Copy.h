#pragma once
// The clipboard forms of a region's text: plain text with CR LF line ends in cp1251 and in
// UTF-16, and RTF that keeps fonts, sizes, styles, colours and paragraph formats.
#include <windows.h>

#include <string>
#include <string_view>

#include "runtime/mediaview/core/RichText.h"
#include "runtime/mediaview/core/Title.h"

namespace kro::mvdll::display {

// Plain text for the clipboard: CR LF line ends, soft hyphens left out.
std::string ClipboardText(std::string_view text);
// Movable global blocks, NUL-terminated; nullptr when out of memory.
HGLOBAL AnsiBlock(std::string_view cp1251);
HGLOBAL UnicodeBlock(std::string_view cp1251);
// The part [begin, end) of the region's plain text as an RTF document.
std::string Rtf(const mv::Title& title, const mv::Region& region, uint32_t begin, uint32_t end);

}  // namespace kro::mvdll::display
