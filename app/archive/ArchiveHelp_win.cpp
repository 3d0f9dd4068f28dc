#include "app/archive/ArchiveHelp_win.h"

#include "app/archive/ArchiveProgram_win.h"
#include "app/archive/HelpText.h"
#include "app/shell/DialogKeys_win.h"
#include "runtime/base/FileIo_win.h"

namespace kro::archive {
namespace {

constexpr int kHelpWidth = 520, kHelpHeight = 400;
constexpr int kMargin = 10, kButtonWidth = 100, kButtonHeight = 28;
constexpr size_t kMaxHelpBytes = 1u << 20;
constexpr COLORREF kParchment = RGB(0xF4, 0xEE, 0xDC);
constexpr COLORREF kInk = RGB(0x1F, 0x2A, 0x44);

struct HelpState {
  HWND hwnd = nullptr;
  HWND owner = nullptr;
  HWND text = nullptr;
  HWND closeButton = nullptr;
  UniqueFont font;
  UniqueBrush parchment;
};

HelpState gHelp;

HFONT CreateTextFont() {
  LOGFONTA font{};
  font.lfHeight = -15;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = RUSSIAN_CHARSET;
  lstrcpynA(font.lfFaceName, "PT Sans", LF_FACESIZE);
  return CreateFontIndirectA(&font);
}

void OnCreate(HWND hwnd, const CREATESTRUCTA& create) {
  gHelp.hwnd = hwnd;
  gHelp.font.Reset(CreateTextFont());
  gHelp.parchment.Reset(CreateSolidBrush(kParchment));
  RECT client;
  GetClientRect(hwnd, &client);
  const int buttonTop = client.bottom - kMargin - kButtonHeight;
  gHelp.text = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", static_cast<const char*>(create.lpCreateParams),
                               WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, kMargin,
                               kMargin, client.right - 2 * kMargin, buttonTop - 2 * kMargin, hwnd, nullptr,
                               create.hInstance, nullptr);
  gHelp.closeButton = CreateWindowExA(0, "BUTTON", "Закрыть", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                      client.right - kMargin - kButtonWidth, buttonTop, kButtonWidth, kButtonHeight,
                                      hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kHelpCloseButton)),
                                      create.hInstance, nullptr);
  for (HWND child : {gHelp.text, gHelp.closeButton})
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(gHelp.font.Get()), FALSE);
  EnableWindow(gHelp.owner, FALSE);
}

void OnActivate(HWND hwnd, WPARAM wParam) {
  if (LOWORD(wParam) == WA_ACTIVE || LOWORD(wParam) == WA_CLICKACTIVE) {
    // Enter and Esc both close: the text has nothing to confirm.
    shell::RegisterDialogKeys(hwnd, gHelp.closeButton, gHelp.closeButton);
    SetFocus(gHelp.text);
  } else {
    shell::RegisterDialogKeys(nullptr, nullptr, nullptr);
  }
}

void Close(HWND hwnd) {
  shell::RegisterDialogKeys(nullptr, nullptr, nullptr);
  EnableWindow(gHelp.owner, TRUE);
  DestroyWindow(hwnd);
  if (gHelp.owner) SetFocus(gHelp.owner);
}

void OnDestroy() {
  gHelp.font.Reset();
  gHelp.parchment.Reset();
  gHelp = HelpState{};
}

}  // namespace

LRESULT CALLBACK ArchiveHelpProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: OnCreate(hwnd, *reinterpret_cast<const CREATESTRUCTA*>(lParam)); return 0;
    case WM_ACTIVATE: OnActivate(hwnd, wParam); return 0;
    case WM_CTLCOLORSTATIC:
      // The read-only text asks for the static colours: parchment, as the lists have.
      SetTextColor(reinterpret_cast<HDC>(wParam), kInk);
      SetBkColor(reinterpret_cast<HDC>(wParam), kParchment);
      return reinterpret_cast<LRESULT>(gHelp.parchment.Get());
    case WM_COMMAND:
      if (LOWORD(wParam) == kHelpCloseButton) Close(hwnd);
      return 0;
    case WM_CLOSE: Close(hwnd); return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

HWND OpenArchiveHelp(HWND owner, const std::string& path) {
  if (gHelp.hwnd) {
    SetForegroundWindow(gHelp.hwnd);
    return gHelp.hwnd;
  }
  const auto bytes = ReadWholeFile(path, kMaxHelpBytes);
  if (!bytes) {
    MessageBoxA(owner, "Не могу открыть файл справки!", "Ошибка", MB_ICONHAND);
    return nullptr;
  }
  const std::string text = EditControlText(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
  gHelp.owner = owner;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - kHelpWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kHelpHeight) / 2;
  HWND hwnd = CreateWindowExA(0, kArchiveHelpClass, "Справка — Фильмотека", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                              x, y, kHelpWidth, kHelpHeight, owner, nullptr, TheArchive().instance,
                              const_cast<char*>(text.c_str()));
  if (!hwnd) gHelp = HelpState{};
  return hwnd;
}

}  // namespace kro::archive
