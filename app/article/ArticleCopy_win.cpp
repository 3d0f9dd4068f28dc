// Copying a selection: the runtime renders it in every clipboard format it offers, and
// each (format, data) pair goes onto the clipboard as it stands.
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

}  // namespace

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
