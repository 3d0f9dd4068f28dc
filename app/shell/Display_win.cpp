#include "app/shell/Display_win.h"

#include "runtime/base/UniqueHandle_win.h"

namespace kro::shell {

DisplayVerdict JudgeDisplay(bool hasPalette, int paletteSize, int width, int height) {
  if (hasPalette && paletteSize != 256) return DisplayVerdict::kTooFewColours;
  if (height < 480 || width < 640) return DisplayVerdict::kTooSmall;
  return hasPalette ? DisplayVerdict::kPaletteRecommended : DisplayVerdict::kAccepted;
}

int CompactDiskHeight(int logPixelsY, int dialogBaseX, int dialogBaseY) {
  const int points = dialogBaseX > 8 || dialogBaseY > 16 ? 108 : 72;
  return -MulDiv(8, logPixelsY, points);
}

namespace {

void ShowError(const char* text) {
  MessageBoxA(nullptr, text, "Ошибка", MB_ICONHAND);
}

CaptionButtons CaptionButtonsFrom(HINSTANCE instance) {
  CaptionButtons buttons;
  UniqueBitmap close(LoadBitmapA(instance, "closeon"));
  BITMAP info{};
  if (close && GetObjectA(close.Get(), sizeof info, &info)) {
    buttons.top = (20 - info.bmHeight) / 2;
    buttons.bottom = buttons.top + info.bmHeight;
    buttons.closeRight = buttons.closeLeft + info.bmWidth;
    buttons.minimiseRight = buttons.minimiseLeft + info.bmWidth;
  }
  return buttons;
}

}  // namespace

bool CheckDisplay(HINSTANCE instance, DisplayMetrics* metrics, bool recommendColours) {
  bool hasPalette;
  int paletteSize;
  {
    WindowDc desktop(nullptr);
    hasPalette = (GetDeviceCaps(desktop.Get(), RASTERCAPS) & RC_PALETTE) != 0;
    paletteSize = GetDeviceCaps(desktop.Get(), SIZEPALETTE);
  }
  metrics->screenWidth = GetSystemMetrics(SM_CXSCREEN);
  metrics->screenHeight = GetSystemMetrics(SM_CYSCREEN);
  // The colour messages come before the size check, as the user sees them in this order.
  if (hasPalette && paletteSize != 256) {
    ShowError("Недостаточное цветовое разрашение для запуска Энциклопедии!");
    return false;
  }
  if (hasPalette) {
    if (recommendColours)
      ShowError("Для запуска Энциклопедии рекомендуется использовать разрешение монитора не мене 16 bit!");
    metrics->paletteMode = true;
  }
  if (JudgeDisplay(hasPalette, paletteSize, metrics->screenWidth, metrics->screenHeight) == DisplayVerdict::kTooSmall) {
    ShowError("Недостаточное экранное  разрешение для запуска Энциклопедии!");
    return false;
  }
  metrics->captionHeight = GetSystemMetrics(SM_CYCAPTION);
  metrics->frameWidth = GetSystemMetrics(SM_CXBORDER) + GetSystemMetrics(SM_CXEDGE);
  metrics->frameHeight = GetSystemMetrics(SM_CYEDGE) + GetSystemMetrics(SM_CYBORDER);
  metrics->buttons = CaptionButtonsFrom(instance);
  const LONG units = GetDialogBaseUnits();
  metrics->dialogBaseX = LOWORD(units);
  metrics->dialogBaseY = HIWORD(units);
  return true;
}

}  // namespace kro::shell
