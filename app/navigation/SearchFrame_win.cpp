#include "app/navigation/SearchFrame_win.h"

#include "app/toolkit/Palette.h"
#include "app/toolkit/ProgramInstance.h"

namespace kro::navigation {
namespace {

FinderContext gFinder;

}  // namespace

void SetFinderContext(FinderContext context) { gFinder = std::move(context); }
const FinderContext& Finder() { return gFinder; }

void SearchFrame::Activate(HWND hwnd, bool active) {
  frame_.SetActive(active);
  SendMessageA(hwnd, WM_NCPAINT, 1, 0);
  if (gFinder.mainWindow) SendMessageA(gFinder.mainWindow, WM_NCPAINT, 1, 0);
}

bool SearchFrame::Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_NCCREATE) frame_.Load(toolkit::ProgramInstance(), activeCaption_, inactiveCaption_, background_);
  if (message == WM_NCDESTROY) frame_.Release();
  const HPALETTE palette = gFinder.paletteMode ? toolkit::ProgramPalette() : nullptr;
  return frame_.Handle(hwnd, message, wParam, lParam, palette, result);
}

}  // namespace kro::navigation
