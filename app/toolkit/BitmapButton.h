#pragma once
// Record-driven bitmap buttons (class MMButtonClass): a caller's static array of records,
// one per button, becomes child windows in one call. Each button shows one of three
// bitmap resources (normal, pressed, disabled) and reports a click to its parent as
// WM_COMMAND on button-up.
#include <windows.h>

#include <cstdint>

namespace kro::toolkit {

constexpr const char* kBitmapButtonClass = "MMButtonClass";

enum BitmapButtonKind : int32_t {
  kLatchingButton = 0,     // each click flips the pressed look
  kPushButton = 1,         // bit 0: fires and springs back
  kReleaseOnlyButton = 8,  // a press changes nothing; the release still fires
};

enum BitmapButtonActive : int32_t {
  kEndOfButtons = 0,
  kCreateButton = 1,  // any other value: skipped by creation, still visited by show
};

struct BitmapButtonRecord {
  int32_t active = kEndOfButtons;
  int32_t kind = kPushButton;
  int32_t command = 0;  // low 16 bits go out with WM_COMMAND
  HWND window = nullptr;  // filled at creation, cleared at WM_DESTROY
  const char* pressedName = nullptr;
  HBITMAP pressed = nullptr;
  const char* normalName = nullptr;
  HBITMAP normal = nullptr;
  const char* disabledName = nullptr;
  HBITMAP disabled = nullptr;
  HCURSOR cursor = nullptr;  // over the button while it is enabled
  int32_t left = 0, top = 0;
  int32_t right = 0, bottom = 0;  // computed from the pressed bitmap
  BitmapButtonRecord* partnerA = nullptr;  // told the new latch state
  BitmapButtonRecord* partnerB = nullptr;
  const HWND* partnerC = nullptr;  // a window (held by some object) that is sent a click
  int32_t latched = 0;             // what BM_GETCHECK answers
  int32_t isDisabled = 0;
};

// A push button to be created, named by its bitmaps and placed at (x, y).
BitmapButtonRecord PushButtonRecord(int32_t command, const char* normal, const char* pressed, const char* disabled, int x,
                                    int y);

// Registers MMButtonClass (CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_GLOBALCLASS).
bool RegisterBitmapButtonClass(HINSTANCE instance);

// Creates a button for every record with active == kCreateButton, up to the first record
// with active == kEndOfButtons. A bitmap that fails to load stays null and draws nothing.
void CreateBitmapButtons(HWND parent, HINSTANCE instance, BitmapButtonRecord* records, bool show);
// Messages: BM_SETSTATE (0 disables, non-zero enables), BM_GETSTATE (answers the same),
// BM_SETCHECK and BM_GETCHECK (the latch).
// Shows or hides every record's window up to the end record.
void ShowBitmapButtons(BitmapButtonRecord* records, bool show);

}  // namespace kro::toolkit
