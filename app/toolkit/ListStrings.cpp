#include "app/toolkit/ListStrings.h"

#include <cstring>

namespace kro::toolkit {
namespace {

struct ListMessages {
  UINT add, setSelection, getTextLength, getText;
};

ListMessages MessagesOf(ListControl kind) {
  if (kind == ListControl::kComboBox) return {CB_ADDSTRING, CB_SETCURSEL, CB_GETLBTEXTLEN, CB_GETLBTEXT};
  return {LB_ADDSTRING, LB_SETCURSEL, LB_GETTEXTLEN, LB_GETTEXT};
}

}  // namespace

void FillListFromStrings(HWND control, ListControl kind, const char* strings) {
  const ListMessages m = MessagesOf(kind);
  const char* s = strings;
  for (; *s != '\0'; s += std::strlen(s) + 1) SendMessageA(control, m.add, 0, reinterpret_cast<LPARAM>(s));
  if (s != strings) SendMessageA(control, m.setSelection, 0, 0);
}

void ReadListIntoStrings(HWND control, ListControl kind, std::span<char> out) {
  if (out.empty()) return;
  const ListMessages m = MessagesOf(kind);
  size_t used = 0;
  // The length is asked first: the text messages write without knowing the buffer's size.
  for (WPARAM item = 0;; ++item) {
    const LRESULT length = SendMessageA(control, m.getTextLength, item, 0);
    // LB_ERR past the last item; an empty item would read as the list's end anyway.
    if (length <= 0) break;
    // The item, its zero, and the list's closing zero must all fit.
    if (used + static_cast<size_t>(length) + 2 > out.size()) break;
    SendMessageA(control, m.getText, item, reinterpret_cast<LPARAM>(out.data() + used));
    used += static_cast<size_t>(length) + 1;
  }
  out[used] = '\0';
  if (used + 1 < out.size()) out[used + 1] = '\0';
}

}  // namespace kro::toolkit
