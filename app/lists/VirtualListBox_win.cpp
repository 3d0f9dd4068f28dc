#include "app/lists/VirtualListBox_win.h"

#include <cstring>
#include <new>

namespace kro::lists {
namespace {

constexpr int kInnerListId = 100;
constexpr int kScrollRange = 100;
constexpr int kThumbWithoutCount = 50;
constexpr UINT kListAutoScrollTimer = 0x118;  // the list box's internal timer while dragging
constexpr int kNoCount = -1;
constexpr int kUninitialised = -2;

// Row flags.
constexpr uint16_t kRowsHoldText = 1;
constexpr uint16_t kFlagDataMode = 2;
constexpr uint16_t kSelectionOffPage = 8;
constexpr uint16_t kHasFocus = 16;

// Styles the inner list box must not inherit.
constexpr DWORD kInnerStyleRemoved = WS_BORDER | WS_THICKFRAME | WS_VSCROLL | WS_HSCROLL | LBS_SORT | LBS_MULTIPLESEL |
                                     LBS_OWNERDRAWVARIABLE | LBS_MULTICOLUMN | kVlbDataMode | kVlbFramed;

struct Item {
  int32_t status = 1;
  int32_t data = 0;
  int32_t index = 0;
  const char* text = nullptr;
  bool ok() const { return status == 0; }
};

class VirtualListBox {
public:
  explicit VirtualListBox(HWND hwnd, DWORD style) : hwnd_(hwnd), style_(style) {}

  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT ListMessage(UINT msg, WPARAM wParam, LPARAM lParam);

private:
  bool DataMode() const { return flags_ & kFlagDataMode; }
  bool CountKnown() const { return total_ >= 0; }
  int Rows() const { return static_cast<int>(SendMessageA(list_, LB_GETCOUNT, 0, 0)); }
  int32_t RowData(int row) const { return static_cast<int32_t>(SendMessageA(list_, LB_GETITEMDATA, row, 0)); }
  int32_t RowKey(int row) const { return DataMode() ? RowData(row) : top_ + row; }
  Item RowItem(int row) const {
    Item item;
    item.data = RowData(row);
    item.index = DataMode() ? -1 : top_ + row;
    return item;
  }
  int RowOf(int32_t key) const;
  int32_t Key(const Item& item) const { return DataMode() ? item.data : item.index; }

  Item Request(UINT code, int32_t index, int32_t data, const char* find = nullptr);
  Item Request(UINT code, const Item& reference) { return Request(code, reference.index, reference.data); }
  void Notify(UINT code, LPARAM value) { SendMessageA(owner_, code, controlId_, value); }
  void AskCount();

  void RedrawOff();
  void RedrawOn();
  void EmptyPage();
  void AddRow(const Item& item, bool atTop);
  void FillDown(Item last);
  void FillUp(Item first, bool moveTop);
  bool LoadFirstPage();
  bool LoadLastPage();
  bool LoadPageAt(int32_t position);
  bool LoadPageAtPercent(int percent);
  bool LoadPageFrom(const Item& item, int32_t top);
  bool ScrollDownOne();
  bool ScrollUpOne();
  void ScrollRows(int rows, bool down);
  void SelectRow(int row);
  void TakeSelectionFromList();
  void UpdateScrollBar();
  void MoveThumb(int position);
  void ShowBar(int bar, bool show);

  void OnCreate(const CREATESTRUCTA& cs);
  void OnSize();
  void Remeasure();
  void CountVisibleRows();
  LRESULT OnVScroll(int code, int position);
  LRESULT OnVKeyToItem(WPARAM wParam, LPARAM lParam);
  LRESULT OnSetSelection(UINT how, int32_t key);
  LRESULT OnGetText(size_t sizeBytes, VlbRecord* record);
  LRESULT TextLength(int32_t key);
  LRESULT OnListGetText(int row, char* buffer);
  LRESULT OnSelectString(VlbRecord* record);
  LRESULT OnFind(UINT request, const VlbRecord* record);
  LRESULT OnSetTop(int32_t key);
  LRESULT OnSetHorizontalExtent(int extent);
  void Reset();
  void Initialise();
  void Refresh();
  LRESULT RelayOwnerDraw(UINT msg, WPARAM wParam, LPARAM lParam);
  void OnListCommand(WPARAM wParam);

  HWND hwnd_;
  int controlId_ = 0;
  HINSTANCE instance_ = nullptr;
  HWND owner_ = nullptr;
  HWND list_ = nullptr;
  WNDPROC listProc_ = nullptr;
  int itemHeight_ = 1;
  int visibleRows_ = 0;
  DWORD style_;
  HFONT font_ = nullptr;
  int32_t top_ = 0;
  int32_t total_ = kUninitialised;
  VlbRecord record_{};
  uint16_t flags_ = 0;
  int32_t selection_ = -1;
  int redrawDepth_ = 1;
};

// Window long 0: 0 before WM_NCCREATE, the control while it lives, -1 after WM_NCDESTROY.
constexpr LONG_PTR kDestroyed = -1;

VirtualListBox* ControlOf(HWND hwnd) {
  const LONG_PTR value = GetWindowLongPtrA(hwnd, 0);
  return value == 0 || value == kDestroyed ? nullptr : reinterpret_cast<VirtualListBox*>(value);
}

int VirtualListBox::RowOf(int32_t key) const {
  const int rows = Rows();
  if (!DataMode()) {
    const int row = key - top_;
    return row >= 0 && row < rows ? row : -1;
  }
  for (int row = 0; row < rows; ++row)
    if (RowData(row) == key) return row;
  return -1;
}

Item VirtualListBox::Request(UINT code, int32_t index, int32_t data, const char* find) {
  record_ = {controlId_, 1, data, index, nullptr, find};
  SendMessageA(owner_, code, 0, reinterpret_cast<LPARAM>(&record_));
  return {record_.status, record_.data, record_.index, record_.text};
}

void VirtualListBox::AskCount() {
  const Item count = Request(kVlbCountRequest, 0, 0);
  if (count.ok() && count.index >= 0) {
    total_ = count.index;
  } else {
    total_ = kNoCount;
    flags_ |= kFlagDataMode;
  }
}

void VirtualListBox::RedrawOff() {
  if (redrawDepth_-- == 1) SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
}

void VirtualListBox::RedrawOn() {
  if (++redrawDepth_ == 1) {
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
  }
}

void VirtualListBox::EmptyPage() {
  Notify(kVlbPageEmptied, 0);
  SendMessageA(list_, LB_RESETCONTENT, 0, 0);
}

void VirtualListBox::AddRow(const Item& item, bool atTop) {
  LRESULT row;
  if (flags_ & kRowsHoldText) {
    const char* text = item.text ? item.text : "";
    row = atTop ? SendMessageA(list_, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(text))
                : SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    if (row >= 0) SendMessageA(list_, LB_SETITEMDATA, row, item.data);
  } else {
    row = atTop ? SendMessageA(list_, LB_INSERTSTRING, 0, item.data) : SendMessageA(list_, LB_ADDSTRING, 0, item.data);
  }
  if (row >= 0 && selection_ != -1 && Key(item) == selection_) {
    SendMessageA(list_, LB_SETCURSEL, row, 0);
    flags_ &= ~kSelectionOffPage;
  }
}

void VirtualListBox::FillDown(Item last) {
  while (Rows() < visibleRows_) {
    if (DataMode()) last.index = -1;
    const Item next = Request(kVlbNextItem, last);
    if (!next.ok()) break;
    AddRow(next, false);
    last = next;
  }
}

void VirtualListBox::FillUp(Item first, bool moveTop) {
  while (Rows() < visibleRows_) {
    if (DataMode()) first.index = -1;
    const Item previous = Request(kVlbPreviousItem, first);
    if (!previous.ok()) break;
    AddRow(previous, true);
    if (moveTop) --top_;
    first = previous;
  }
}

// Every load keeps the selected row selected when it comes back onto the page.
bool VirtualListBox::LoadPageFrom(const Item& item, int32_t top) {
  RedrawOff();
  EmptyPage();
  flags_ |= kSelectionOffPage;
  AddRow(item, false);
  top_ = top;
  FillDown(item);
  if (Rows() < visibleRows_) FillUp(RowItem(0), !DataMode() || CountKnown());
  if (DataMode() && !CountKnown() && Rows() > 0) top_ = RowData(0);
  RedrawOn();
  UpdateScrollBar();
  return true;
}

bool VirtualListBox::LoadFirstPage() {
  const Item first = Request(kVlbFirstItem, 0, 0);
  if (!first.ok()) return false;
  return LoadPageFrom(first, DataMode() ? (CountKnown() ? 0 : first.data) : first.index);
}

bool VirtualListBox::LoadLastPage() {
  const Item last = Request(kVlbLastItem, 0, 0);
  if (!last.ok()) return false;
  RedrawOff();
  EmptyPage();
  flags_ |= kSelectionOffPage;
  AddRow(last, false);
  top_ = DataMode() ? (CountKnown() ? total_ - 1 : last.data) : last.index;
  FillUp(last, !DataMode() || CountKnown());
  if (DataMode() && !CountKnown()) top_ = RowData(0);
  RedrawOn();
  UpdateScrollBar();
  return true;
}

bool VirtualListBox::LoadPageAt(int32_t position) {
  const Item item = Request(kVlbItemAt, position, position);
  if (!item.ok()) return false;
  const int32_t top = !DataMode() ? item.index : CountKnown() ? total_ / 2 : item.data;
  return LoadPageFrom(item, top);
}

bool VirtualListBox::LoadPageAtPercent(int percent) {
  const Item item = Request(kVlbItemAtPercentage, percent, percent);
  if (!item.ok()) return false;
  const int32_t top = CountKnown() ? (total_ - visibleRows_ + 1) * percent / kScrollRange : item.data;
  return LoadPageFrom(item, top);
}

bool VirtualListBox::ScrollDownOne() {
  const int rows = Rows();
  if (rows == 0) return false;
  Item reference = RowItem(rows - 1);
  const Item next = Request(kVlbNextItem, reference);
  if (!next.ok()) return false;
  RedrawOff();
  if (SendMessageA(list_, LB_GETCURSEL, 0, 0) == 0) SendMessageA(list_, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  Notify(kVlbItemLeftPage, RowKey(0));
  SendMessageA(list_, LB_DELETESTRING, 0, 0);
  ++top_;
  AddRow(next, false);
  if (DataMode() && !CountKnown()) top_ = RowData(0);
  RedrawOn();
  return true;
}

bool VirtualListBox::ScrollUpOne() {
  const int rows = Rows();
  if (rows == 0) return false;
  const Item previous = Request(kVlbPreviousItem, RowItem(0));
  if (!previous.ok()) return false;
  RedrawOff();
  if (SendMessageA(list_, LB_GETCURSEL, 0, 0) == rows - 1)
    SendMessageA(list_, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  Notify(kVlbItemLeftPage, RowKey(rows - 1));
  SendMessageA(list_, LB_DELETESTRING, rows - 1, 0);
  --top_;
  AddRow(previous, true);
  if (DataMode() && !CountKnown()) top_ = RowData(0);
  RedrawOn();
  return true;
}

void VirtualListBox::ScrollRows(int rows, bool down) {
  for (int i = 0; i < rows; ++i)
    if (!(down ? ScrollDownOne() : ScrollUpOne())) break;
  UpdateScrollBar();
}

void VirtualListBox::SelectRow(int row) {
  SendMessageA(list_, LB_SETCURSEL, row, 0);
  TakeSelectionFromList();
}

void VirtualListBox::TakeSelectionFromList() {
  const int row = static_cast<int>(SendMessageA(list_, LB_GETCURSEL, 0, 0));
  if (row < 0) return;
  selection_ = RowKey(row);
  flags_ &= ~kSelectionOffPage;
}

void VirtualListBox::ShowBar(int bar, bool show) {
  if (style_ & LBS_DISABLENOSCROLL) {
    ShowScrollBar(hwnd_, bar, TRUE);
    EnableScrollBar(hwnd_, bar, show ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
  } else {
    ShowScrollBar(hwnd_, bar, show);
  }
}

// Drawing the bar at once takes the display a round trip per call (tens of milliseconds
// under Wine on a busy machine), and a page load moves the thumb up to twice: a moved
// thumb is drawn with the next paint of the list instead.
void VirtualListBox::MoveThumb(int position) {
  if (GetScrollPos(hwnd_, SB_VERT) == position) return;
  SetScrollPos(hwnd_, SB_VERT, position, FALSE);
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
}

void VirtualListBox::UpdateScrollBar() {
  if (!CountKnown()) {
    ShowBar(SB_VERT, true);
    MoveThumb(kThumbWithoutCount);
    return;
  }
  if (total_ <= visibleRows_) {
    ShowBar(SB_VERT, false);
    return;
  }
  ShowBar(SB_VERT, true);
  const int span = total_ - visibleRows_;
  const int position = top_ >= span ? kScrollRange : top_ * kScrollRange / (span + 1);
  MoveThumb(position);
}

void VirtualListBox::OnCreate(const CREATESTRUCTA& cs) {
  owner_ = cs.hwndParent;
  controlId_ = static_cast<int>(reinterpret_cast<INT_PTR>(cs.hMenu));
  instance_ = cs.hInstance;
  const bool ownerDrawData = (style_ & LBS_OWNERDRAWFIXED) && !(style_ & LBS_HASSTRINGS);
  if (!ownerDrawData) flags_ |= kRowsHoldText;
  if (style_ & kVlbDataMode) flags_ |= kFlagDataMode;
  RECT client;
  GetClientRect(hwnd_, &client);
  const DWORD innerStyle = (style_ & ~kInnerStyleRemoved) | WS_CHILD | LBS_WANTKEYBOARDINPUT | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY;
  list_ = CreateWindowExA(0, "LISTBOX", nullptr, innerStyle, 0, 0, client.right, client.bottom, hwnd_,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kInnerListId)), instance_, nullptr);
  if (!list_) return;
  listProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LBSubclassProc)));
  Remeasure();
  SetScrollRange(hwnd_, SB_VERT, 0, kScrollRange, FALSE);
  if (style_ & LBS_DISABLENOSCROLL) {
    ShowBar(SB_VERT, false);
    if (style_ & WS_HSCROLL) ShowBar(SB_HORZ, false);
  }
}

void VirtualListBox::Remeasure() {
  if (style_ & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) {
    itemHeight_ = static_cast<int>(SendMessageA(list_, LB_GETITEMHEIGHT, 0, 0));
  } else {
    HDC dc = GetDC(hwnd_);
    const HGDIOBJ previous = font_ ? SelectObject(dc, font_) : nullptr;
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    if (previous) SelectObject(dc, previous);
    ReleaseDC(hwnd_, dc);
    itemHeight_ = metrics.tmHeight;
    SendMessageA(list_, LB_SETITEMHEIGHT, 0, itemHeight_);
  }
  if (itemHeight_ <= 0) itemHeight_ = 1;
  CountVisibleRows();
}

void VirtualListBox::CountVisibleRows() {
  RECT client;
  GetClientRect(hwnd_, &client);
  visibleRows_ = client.bottom / itemHeight_;
}

void VirtualListBox::OnSize() {
  RECT client;
  GetClientRect(hwnd_, &client);
  if (client.right == 0 || client.bottom == 0 || !list_) return;
  Remeasure();
  // A part row at the bottom would show an item the control does not count as visible.
  const int surplus = client.bottom % itemHeight_;
  if (!(style_ & LBS_NOINTEGRALHEIGHT) && surplus != 0 && client.bottom > itemHeight_) {
    RECT window;
    GetWindowRect(hwnd_, &window);
    SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left, window.bottom - window.top - surplus,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;  // the WM_SIZE of the new height does the rest
  }
  MoveWindow(list_, 0, 0, client.right, client.bottom, TRUE);
  const int rows = Rows();
  if (rows > visibleRows_) {
    RedrawOff();
    for (int row = rows - 1; row >= visibleRows_; --row) {
      Notify(kVlbItemLeftPage, RowKey(row));
      SendMessageA(list_, LB_DELETESTRING, row, 0);
    }
    RedrawOn();
  } else if (rows < visibleRows_ && rows > 0 && (!CountKnown() || total_ > rows)) {
    if (DataMode()) LoadPageAt(RowData(0));
    else LoadPageAt(top_);
  }
  UpdateScrollBar();
}

LRESULT VirtualListBox::OnVScroll(int code, int position) {
  switch (code) {
    case SB_LINEUP: ScrollRows(1, false); break;
    case SB_LINEDOWN: ScrollRows(1, true); break;
    case SB_PAGEUP: ScrollRows(visibleRows_, false); break;
    case SB_PAGEDOWN: ScrollRows(visibleRows_, true); break;
    case SB_TOP: LoadFirstPage(); break;
    case SB_BOTTOM: LoadLastPage(); break;
    case SB_THUMBPOSITION:
      if (position <= 0) LoadFirstPage();
      else if (position >= kScrollRange) LoadLastPage();
      else if (DataMode()) LoadPageAtPercent(position);
      else LoadPageAt((total_ - visibleRows_ + 1) * position / kScrollRange);
      break;
    default: return 0;
  }
  TakeSelectionFromList();
  return 0;
}

LRESULT VirtualListBox::OnVKeyToItem(WPARAM wParam, LPARAM lParam) {
  if (style_ & LBS_WANTKEYBOARDINPUT) {
    const LRESULT answer = SendMessageA(owner_, WM_VKEYTOITEM, wParam, reinterpret_cast<LPARAM>(hwnd_));
    if (answer != -1) return answer;
  }
  (void)lParam;
  const int key = LOWORD(wParam);
  if (key != VK_UP && key != VK_DOWN && key != VK_PRIOR && key != VK_NEXT && key != VK_HOME && key != VK_END)
    return -1;
  if (selection_ != -1 && RowOf(selection_) < 0 && key != VK_HOME && key != VK_END) LoadPageAt(selection_);
  int row = static_cast<int>(SendMessageA(list_, LB_GETCURSEL, 0, 0));
  const int last = Rows() - 1;
  switch (key) {
    case VK_DOWN:
      if (row >= last && ScrollDownOne()) row = last;
      else if (row < last) ++row;
      break;
    case VK_UP:
      if (row <= 0 && ScrollUpOne()) row = 0;
      else if (row > 0) --row;
      break;
    case VK_NEXT:
      if (row == last) ScrollRows(visibleRows_ - 1, true);
      row = Rows() - 1;
      break;
    case VK_PRIOR:
      if (row == 0) ScrollRows(visibleRows_ - 1, false);
      row = 0;
      break;
    case VK_HOME:
      LoadFirstPage();
      row = 0;
      break;
    case VK_END:
      LoadLastPage();
      row = Rows() - 1;
      break;
  }
  if (row >= 0) SelectRow(row);
  UpdateScrollBar();
  SendMessageA(owner_, WM_COMMAND, MAKEWPARAM(controlId_, LBN_SELCHANGE), reinterpret_cast<LPARAM>(hwnd_));
  return -2;
}

LRESULT VirtualListBox::OnSetSelection(UINT how, int32_t key) {
  if (key == -1 && how != kVlbFirstItem && how != kVlbLastItem) {
    SendMessageA(list_, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    selection_ = -1;
    return -1;
  }
  const int row = RowOf(key);
  switch (how) {
    case kVlbFirstItem:
      if (!LoadFirstPage()) return -1;
      SelectRow(0);
      break;
    case kVlbLastItem:
      if (!LoadLastPage()) return -1;
      SelectRow(Rows() - 1);
      break;
    case kVlbPreviousItem:
      if (row >= 1) SelectRow(row - 1);
      else if (ScrollUpOne()) SelectRow(0);
      else return -1;
      break;
    case kVlbNextItem:
      if (row >= 0 && row + 1 < Rows()) SelectRow(row + 1);
      else if (ScrollDownOne()) SelectRow(Rows() - 1);
      else return -1;
      break;
    case kVlbItemAt:
      // After a load near the end the page has filled upwards, so the item is not
      // always in row 0: select the row that holds it.
      if (row < 0 && !LoadPageAt(key)) return -1;
      SelectRow(RowOf(key));
      break;
    default:
      return -1;
  }
  UpdateScrollBar();
  return 0;
}

// A loaded item's length is its row's; any other the owner's answer.
LRESULT VirtualListBox::TextLength(int32_t key) {
  const int row = RowOf(key);
  if (row >= 0 && (flags_ & kRowsHoldText)) return SendMessageA(list_, LB_GETTEXTLEN, row, 0);
  record_ = {controlId_, 1, key, key, nullptr, nullptr};
  return SendMessageA(owner_, kVlbGetTextLengthRequest, 0, reinterpret_cast<LPARAM>(&record_));
}

// The caller names its buffer size in wParam. Without one the buffer is taken to be sized
// the list-box way, from the text length (1528) plus its NUL, and the copy never goes
// beyond that; with no length to go by nothing is copied.
LRESULT VirtualListBox::OnGetText(size_t sizeBytes, VlbRecord* record) {
  if (!record || !record->text) return -1;
  const int32_t key = DataMode() ? record->data : record->index;
  if (sizeBytes == 0) {
    const LRESULT length = TextLength(key);
    if (length < 0) return -1;
    sizeBytes = static_cast<size_t>(length) + 1;
  }
  const Item item = Request(kVlbGetTextRequest, key, key);
  if (!item.ok()) return -1;
  const char* text = item.text ? item.text : "";
  size_t length = 0;
  while (length + 1 < sizeBytes && text[length] != '\0') ++length;
  char* buffer = const_cast<char*>(record->text);
  std::memcpy(buffer, text, length);
  buffer[length] = '\0';
  return static_cast<LRESULT>(length);
}

// LB_GETTEXT names a row of the page, as LB_GETTEXTLEN does: the text is the row's item's,
// asked of the owner and cut to the row's length, the size a caller gives its buffer.
LRESULT VirtualListBox::OnListGetText(int row, char* buffer) {
  if (!buffer || row < 0 || row >= Rows()) return LB_ERR;
  if (!(flags_ & kRowsHoldText)) return CallWindowProcA(listProc_, list_, LB_GETTEXT, row, reinterpret_cast<LPARAM>(buffer));
  const LRESULT length = SendMessageA(list_, LB_GETTEXTLEN, row, 0);
  if (length < 0) return LB_ERR;
  const int32_t key = RowKey(row);
  VlbRecord request{controlId_, 0, key, key, buffer, nullptr};
  return OnGetText(static_cast<size_t>(length) + 1, &request);
}

LRESULT VirtualListBox::OnFind(UINT request, const VlbRecord* record) {
  if (!record) return -1;
  const Item found = Request(request, record->index, record->data, record->findString);
  return found.ok() ? Key(found) : -1;
}

LRESULT VirtualListBox::OnSelectString(VlbRecord* record) {
  const LRESULT key = OnFind(kVlbFindRequest, record);
  if (key == -1) return -1;
  return OnSetSelection(kVlbItemAt, static_cast<int32_t>(key)) == 0 ? key : -1;
}

LRESULT VirtualListBox::OnSetTop(int32_t key) {
  const int row = RowOf(key);
  if (row >= 1) {
    ScrollRows(row, true);
    return 0;
  }
  return LoadPageAt(key) ? 0 : -1;
}

LRESULT VirtualListBox::OnSetHorizontalExtent(int extent) {
  RECT client;
  GetClientRect(list_, &client);
  ShowBar(SB_HORZ, extent > client.right);
  return SendMessageA(list_, LB_SETHORIZONTALEXTENT, extent, 0);
}

void VirtualListBox::Reset() {
  EmptyPage();
  AskCount();
  selection_ = -1;
  if (total_ != 0) LoadFirstPage();
  UpdateScrollBar();
}

void VirtualListBox::Initialise() {
  SetScrollRange(hwnd_, SB_VERT, 0, kScrollRange, FALSE);
  AskCount();
  if (style_ & kVlbDataMode) flags_ |= kFlagDataMode;
  selection_ = -1;
  if (total_ != 0 && visibleRows_ > 0) LoadFirstPage();
  UpdateScrollBar();
}

void VirtualListBox::Refresh() {
  AskCount();
  if (DataMode()) {
    if (Rows() == 0 || !LoadPageAt(RowData(0))) LoadFirstPage();
  } else if (total_ == 0) {
    EmptyPage();
  } else if (total_ > visibleRows_) {
    // A list that shrank below the current page starts its page earlier.
    LoadPageAt(top_ > total_ - visibleRows_ ? total_ - visibleRows_ : top_);
  } else {
    LoadFirstPage();
  }
  UpdateScrollBar();
}

LRESULT VirtualListBox::RelayOwnerDraw(UINT msg, WPARAM, LPARAM lParam) {
  switch (msg) {
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      item->CtlID = controlId_;
      item->hwndItem = hwnd_;
      break;
    }
    case WM_DELETEITEM: {
      auto* item = reinterpret_cast<DELETEITEMSTRUCT*>(lParam);
      item->CtlID = controlId_;
      item->hwndItem = hwnd_;
      break;
    }
    case WM_COMPAREITEM: {
      auto* item = reinterpret_cast<COMPAREITEMSTRUCT*>(lParam);
      item->CtlID = controlId_;
      item->hwndItem = hwnd_;
      break;
    }
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->CtlID = controlId_;
      break;
  }
  const LRESULT result = SendMessageA(owner_, msg, controlId_, lParam);
  if (msg == WM_MEASUREITEM) {
    const UINT height = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight;
    if (height > 0) {
      itemHeight_ = static_cast<int>(height);
      CountVisibleRows();
    }
  }
  return result;
}

void VirtualListBox::OnListCommand(WPARAM wParam) {
  const int code = HIWORD(wParam);
  if (code == LBN_SELCHANGE) TakeSelectionFromList();
  if (code == LBN_SELCANCEL) selection_ = -1;
  if (style_ & LBS_NOTIFY)
    SendMessageA(owner_, WM_COMMAND, MAKEWPARAM(controlId_, code), reinterpret_cast<LPARAM>(hwnd_));
}

LRESULT VirtualListBox::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* record = reinterpret_cast<VlbRecord*>(lParam);
  switch (msg) {
    case kVlbReset: Reset(); return 0;
    case kVlbSetSelection: return OnSetSelection(static_cast<UINT>(wParam), static_cast<int32_t>(lParam));
    case kVlbGetSelection: return selection_;
    case kVlbGetText: return OnGetText(wParam, record);
    case kVlbGetTextLength: return record ? TextLength(DataMode() ? record->data : record->index) : -1;
    case kVlbGetCount: return total_ < 0 ? -1 : total_;
    case kVlbSelectString: return OnSelectString(record);
    case kVlbFindStringExact: return OnFind(kVlbFindExactRequest, record);
    case kVlbFindString: return OnFind(kVlbFindRequest, record);
    case kVlbGetItemRect: {
      const int row = record ? RowOf(DataMode() ? record->data : record->index) : -1;
      if (row < 0 || !record->text) return -1;
      return SendMessageA(list_, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(record->text));
    }
    case kVlbGetItemData: {
      if (!record) return -1;
      const int row = RowOf(DataMode() ? record->data : record->index);
      if (row >= 0) return RowData(row);
      const Item item = Request(kVlbGetDataRequest, record->index, record->data);
      return item.ok() ? item.data : -1;
    }
    case kVlbSetItemData: {
      const int row = record ? RowOf(DataMode() ? record->data : record->index) : -1;
      return row < 0 ? -1 : SendMessageA(list_, LB_SETITEMDATA, row, record->index);
    }
    case kVlbSetItemHeight: return SendMessageA(list_, LB_SETITEMHEIGHT, 0, lParam);
    case kVlbGetItemHeight: return SendMessageA(list_, LB_GETITEMHEIGHT, 0, 0);
    case kVlbInitialise: Initialise(); return 0;
    case kVlbSetTabStops: return SendMessageA(list_, LB_SETTABSTOPS, wParam, lParam);
    case kVlbGetTop: return DataMode() ? (Rows() > 0 ? RowData(0) : -1) : top_;
    case kVlbSetTop: return OnSetTop(static_cast<int32_t>(lParam));
    case kVlbGetHorizontalExtent: return SendMessageA(list_, LB_GETHORIZONTALEXTENT, 0, 0);
    case kVlbSetHorizontalExtent: return OnSetHorizontalExtent(static_cast<int>(wParam));
    case kVlbRefresh: Refresh(); return 0;
    case kVlbGetVisibleRows: return visibleRows_;
    case kVlbScrollDown: ScrollRows(visibleRows_ + static_cast<int>(wParam), true); return 0;
    case kVlbScrollUp: ScrollRows(visibleRows_ + static_cast<int>(wParam), false); return 0;
    case WM_CREATE: OnCreate(*reinterpret_cast<CREATESTRUCTA*>(lParam)); return list_ ? 0 : -1;
    case WM_SIZE: OnSize(); return 0;
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      SendMessageA(list_, WM_SETFONT, wParam, lParam);
      OnSize();
      if (lParam) InvalidateRect(hwnd_, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
    case WM_ENABLE:
      InvalidateRect(hwnd_, nullptr, TRUE);
      EnableWindow(list_, static_cast<BOOL>(wParam));
      return 0;
    case WM_SETREDRAW:
      if (wParam) RedrawOn();
      else RedrawOff();
      return 0;
    case WM_ERASEBKGND: return 1;
    case WM_VSCROLL: return OnVScroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
    case WM_VKEYTOITEM: return OnVKeyToItem(wParam, lParam);
    case WM_CHARTOITEM:
      if (style_ & LBS_WANTKEYBOARDINPUT)
        return SendMessageA(owner_, WM_CHARTOITEM, wParam, reinterpret_cast<LPARAM>(hwnd_));
      return -1;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_KEYDOWN:
      SetFocus(list_);
      return SendMessageA(list_, msg, wParam, lParam);
    case WM_SETFOCUS:
      if (selection_ != -1 && RowOf(selection_) < 0) flags_ |= kSelectionOffPage;
      else SetFocus(list_);
      return 0;
    case WM_KILLFOCUS:
      if (reinterpret_cast<HWND>(wParam) != list_) flags_ &= ~kHasFocus;
      return 0;
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lParam) == list_) OnListCommand(wParam);
      return 0;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
      return RelayOwnerDraw(msg, wParam, lParam);
    case kListAutoScrollTimer: {
      const LRESULT result = CallWindowProcA(listProc_, list_, msg, wParam, lParam);
      const int row = static_cast<int>(SendMessageA(list_, LB_GETCURSEL, 0, 0));
      if (row == visibleRows_ - 1) ScrollRows(1, true);
      else if (row == 0) ScrollRows(1, false);
      return result;
    }
    default:
      // The standard list box messages go to the inner list box.
      if (msg >= LB_ADDSTRING && msg <= LB_ADDSTRING + 47) return SendMessageA(list_, msg, wParam, lParam);
      return DefWindowProcA(hwnd_, msg, wParam, lParam);
  }
}

LRESULT VirtualListBox::ListMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_VSCROLL:
    case kListAutoScrollTimer:
      return SendMessageA(hwnd_, msg, wParam, lParam);
    case LB_GETTEXT: return OnListGetText(static_cast<int>(wParam), reinterpret_cast<char*>(lParam));
    case WM_SETFOCUS:
      flags_ |= kHasFocus;
      break;
  }
  return CallWindowProcA(listProc_, list_, msg, wParam, lParam);
}

}  // namespace

bool RegisterVirtualListBoxClass(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.style = CS_GLOBALCLASS | CS_PARENTDC | CS_DBLCLKS;
  wc.lpfnWndProc = VListBoxWndProc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kVirtualListBoxClass;
  return RegisterClassA(&wc) != 0;
}

}  // namespace kro::lists

using kro::lists::VirtualListBox;

extern "C" LRESULT CALLBACK VListBoxWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
    auto* control = new (std::nothrow) VirtualListBox(hwnd, static_cast<DWORD>(cs->style));
    if (!control) return FALSE;
    SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(control));
    // The control draws its own scroll bars; the inner list box has none.
    SetWindowLongPtrA(hwnd, GWL_STYLE, cs->style & ~(WS_VSCROLL | WS_HSCROLL));
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  VirtualListBox* control = kro::lists::ControlOf(hwnd);
  if (!control) return GetWindowLongPtrA(hwnd, 0) == 0 ? DefWindowProcA(hwnd, msg, wParam, lParam) : 0;
  if (msg == WM_NCDESTROY) {
    delete control;
    SetWindowLongPtrA(hwnd, 0, kro::lists::kDestroyed);
    return 0;
  }
  return control->Handle(msg, wParam, lParam);
}

extern "C" LRESULT CALLBACK LBSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  VirtualListBox* control = kro::lists::ControlOf(GetParent(hwnd));
  if (!control) return DefWindowProcA(hwnd, msg, wParam, lParam);
  return control->ListMessage(msg, wParam, lParam);
}
