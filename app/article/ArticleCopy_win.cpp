// Copying a selection: the runtime renders it in every clipboard format it offers, and
// each (format, data) pair goes onto the clipboard as it stands. Copying a whole article:
// the regions' plain texts joined, as ANSI and as UTF-16 text.
#include "app/article/ArticleCopy_win.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/article/PaneState_win.h"
#include "app/article/TopicWindow_win.h"
#include "app/toolkit/GlobalBlock.h"

namespace kro::article {
namespace {

std::vector<MVCOPYFORMAT> ReadFormats(HGLOBAL block) {
  toolkit::GlobalLockGuard lock(block);
  const auto* bytes = static_cast<const unsigned char*>(lock.Data());
  if (!bytes || lock.SizeBytes() < MV_COPY_FORMATS_OFFSET) return {};
  LONG count = 0;
  std::memcpy(&count, bytes, sizeof count);
  const size_t room = (lock.SizeBytes() - MV_COPY_FORMATS_OFFSET) / sizeof(MVCOPYFORMAT);
  std::vector<MVCOPYFORMAT> formats(std::min(room, static_cast<size_t>(std::max<LONG>(count, 0))));
  std::memcpy(formats.data(), bytes + MV_COPY_FORMATS_OFFSET, formats.size() * sizeof(MVCOPYFORMAT));
  return formats;
}

// The clipboard takes each handle it accepts; the rest are freed here.
bool PutOnClipboard(const std::vector<MVCOPYFORMAT>& formats, HWND owner) {
  if (formats.empty() || !OpenClipboard(owner)) {
    for (const MVCOPYFORMAT& f : formats) GlobalFree(f.data);
    return false;
  }
  EmptyClipboard();
  for (const MVCOPYFORMAT& f : formats)
    if (!SetClipboardData(f.format, f.data)) GlobalFree(f.data);
  CloseClipboard();
  return true;
}

// A region's whole text, or empty when the display has none.
std::string RegionText(LPMV display) {
  LONG err = 0;
  UniqueGlobal block(display ? hMVCopyMedia(display, &err) : nullptr);
  toolkit::GlobalLockGuard lock(block.Get());
  const auto* text = static_cast<const char*>(lock.Data());
  if (!text) return {};
  return std::string(text, strnlen(text, lock.SizeBytes()));
}

HGLOBAL TextBlock(const void* data, size_t sizeBytes) {
  UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeBytes));
  toolkit::GlobalLockGuard lock(block.Get());
  if (!lock.Data()) return nullptr;
  std::memcpy(lock.Data(), data, sizeBytes);
  return block.Release();
}

// The text is cp1251 whatever code page the program runs in, so the UTF-16 copy keeps
// the Russian letters for programs that read the clipboard in another one.
HGLOBAL UnicodeBlock(const std::string& text) {
  const int length = MultiByteToWideChar(1251, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::vector<wchar_t> wide(static_cast<size_t>(length) + 1, L'\0');
  MultiByteToWideChar(1251, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return TextBlock(wide.data(), wide.size() * sizeof(wchar_t));
}

}  // namespace

std::string ArticleText(TopicRecord* record) {
  if (!record || !record->alive) return {};
  LPMV heading = PaneDisplay(record->nonScrollingPane);
  LPMV body = PaneDisplay(record->scrollingPane);
  std::string text = heading && fMVHasNSR(heading) ? RegionText(heading) : std::string();
  if (body && fMVHasSR(body)) text += RegionText(body);
  return text;
}

bool CopyArticleText(TopicRecord* record) {
  const std::string text = ArticleText(record);
  if (text.empty()) return false;
  std::vector<MVCOPYFORMAT> formats = {{CF_TEXT, TextBlock(text.c_str(), text.size() + 1)},
                                       {CF_UNICODETEXT, UnicodeBlock(text)}};
  formats.erase(std::remove_if(formats.begin(), formats.end(), [](const MVCOPYFORMAT& f) { return !f.data; }),
                formats.end());
  return PutOnClipboard(formats, record->topicWindow);
}

bool CopyDisplaySelection(LPMV display, LPMV heading) {
  if (!display) return false;
  if (!fMVIsSelected(display)) {
    // The selection may be in the heading strip of the same topic.
    if (!heading || heading == display || !fMVHasNSR(display) || !fMVIsSelected(heading)) return false;
    display = heading;
  }
  LONG err = 0;
  UniqueGlobal block(hMVCopyAdvanced(display, MV_COPY_SELECTION, 0, &err));
  if (!block) return false;
  return PutOnClipboard(ReadFormats(block.Get()), hwndMVGetWindow(display));
}

bool CopySelection(TopicRecord* record) {
  if (!record || !record->alive) return false;
  LPMV heading = PaneDisplay(record->nonScrollingPane);
  return CopyDisplaySelection(PaneDisplay(record->scrollingPane), heading) || CopyDisplaySelection(heading, nullptr);
}

}  // namespace kro::article
