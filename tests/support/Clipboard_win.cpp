#include "tests/support/Clipboard_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>

namespace kro::wintest {
namespace {

// The bytes of a locked block up to the first NUL, never past the block's end.
std::string TextOf(HANDLE block, UINT format) {
  const SIZE_T size = GlobalSize(block);
  const void* data = GlobalLock(block);
  if (!data) return "<unlocked>";
  std::string text;
  if (format == CF_UNICODETEXT) {
    const auto* wide = static_cast<const wchar_t*>(data);
    const int length = static_cast<int>(wcsnlen(wide, size / sizeof(wchar_t)));
    text.resize(static_cast<size_t>(length) * 2);
    text.resize(WideCharToMultiByte(1251, 0, wide, length, text.data(), static_cast<int>(text.size()), nullptr, nullptr));
  } else {
    const auto* bytes = static_cast<const char*>(data);
    text.assign(bytes, std::find(bytes, bytes + size, '\0'));
  }
  GlobalUnlock(block);
  return text;
}

}  // namespace

std::string ClipboardText(UINT format) {
  if (!OpenClipboard(nullptr)) return "<closed>";
  HANDLE block = GetClipboardData(format);
  std::string text = block ? TextOf(block, format) : "<none>";
  CloseClipboard();
  return text;
}

bool PutOnClipboard(HWND owner, const std::vector<std::pair<UINT, HANDLE>>& blocks) {
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  bool all = true;
  for (const auto& [format, block] : blocks) all = SetClipboardData(format, block) != nullptr && all;
  CloseClipboard();
  return all;
}

void ClearClipboard() {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  CloseClipboard();
}

std::string TakeGlobalText(HGLOBAL block) {
  if (!block) return "<none>";
  std::string text = TextOf(block, CF_TEXT);
  EXPECT_EQ(GlobalFree(block), nullptr) << "not a global block of ours";
  return text;
}

std::string WithoutCr(std::string text) {
  std::erase(text, '\r');
  return text;
}

}  // namespace kro::wintest
