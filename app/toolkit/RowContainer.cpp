#include "app/toolkit/RowContainer.h"

#include <algorithm>
#include <utility>

#include "app/toolkit/ProgramInstance.h"
#include "runtime/base/UniqueHandle_win.h"

namespace kro::toolkit {

// The container's own element: drawing it draws the rows, checking it checks them all.
class RowContainer::RowsElement : public Element {
public:
  explicit RowsElement(RowContainer& owner) : Element(0, 0, 0, 0), owner_(owner) {}
  bool Draw(HDC dc, int, int) override {
    owner_.DrawRows(dc);
    return true;
  }
  void SetChecked(uint32_t flag) override {
    Element::SetChecked(flag);
    for (const auto& row : owner_.rows_) row->SetChecked(flag);
  }

private:
  RowContainer& owner_;
};

RowContainer::RowContainer(HINSTANCE instance, HWND parent, int16_t x, int16_t y, int16_t width, int16_t height,
                           size_t capacity, COLORREF backgroundColour)
    : ListWindow(instance, x, y, width, height, parent, backgroundColour) {
  ReplaceElement(std::make_unique<RowsElement>(*this));
  rows_.reserve(capacity);
  CreateStandardBar(false);
}

// The bar's window is a child of ours: the bar object goes while its window is alive.
RowContainer::~RowContainer() { customBar_.reset(); }

void RowContainer::CreateStandardBar(bool visible) {
  RECT client{};
  GetClientRect(Hwnd(), &client);
  // SBS_RIGHTALIGN puts the bar, in its standard width, at the right edge of the rectangle.
  standardBar_ = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | SBS_VERT | SBS_RIGHTALIGN | (visible ? WS_VISIBLE : 0),
                                 0, 0, client.right, client.bottom, Hwnd(), nullptr, ProgramInstance(), nullptr);
  RECT bar{};
  if (standardBar_) GetWindowRect(standardBar_, &bar);
  barWidth_ = static_cast<int16_t>(bar.right - bar.left);
}

bool RowContainer::Recreate(HWND parent, int16_t x, int16_t y, int16_t width, int16_t height) {
  Element& e = OwnElement();
  e.x = x, e.y = y, e.width = width, e.height = height;
  SetParentWindow(parent);
  // The custom bar outlives our window under a message-only parent.
  if (customBar_ && customBar_->Hwnd()) SetParent(customBar_->Hwnd(), HWND_MESSAGE);
  SetHoverRow(nullptr);
  captured_ = false;
  if (!Create()) return false;
  if (customBar_) {
    customBar_->Rebuild(Hwnd());
  } else {
    CreateStandardBar(false);
  }
  ComputeBottom();
  return true;
}

void RowContainer::SetActive(bool active) {
  ListWindow::SetActive(active);
  if (customBar_) customBar_->SetActive(active);
}

LRESULT RowContainer::OnDestroy(WPARAM wParam, LPARAM lParam) {
  standardBar_ = nullptr;
  return ListWindow::OnDestroy(wParam, lParam);
}

LRESULT RowContainer::OnPaint(WPARAM, LPARAM) {
  PaintGuard paint(Hwnd());
  Paint(paint.Dc());
  return 0;
}

// Painting covers the whole client area from a buffer: erasing first would only flicker.
LRESULT RowContainer::OnEraseBackground(WPARAM, LPARAM) { return 1; }

void RowContainer::Redraw() {
  if (!Hwnd()) return;
  WindowDc dc(Hwnd());
  Paint(dc.Get());
}

void RowContainer::Paint(HDC target) {
  RECT client{};
  GetClientRect(Hwnd(), &client);
  UniqueMemoryDc buffer(CreateCompatibleDC(target));
  UniqueBitmap bitmap(CreateCompatibleBitmap(target, client.right, client.bottom));
  if (!buffer || !bitmap) return;
  SelectGuard select(buffer.Get(), bitmap.Get());
  DrawBackground(buffer.Get());
  OwnElement().Draw(buffer.Get(), 0, 0);
  BitBlt(target, 0, 0, client.right, client.bottom, buffer.Get(), 0, 0, SRCCOPY);
}

void RowContainer::DrawBackground(HDC dc) {
  RECT client{};
  GetClientRect(Hwnd(), &client);
  const COLORREF colour = BackgroundColour() == kNoColour ? GetSysColor(COLOR_WINDOW) : BackgroundColour();
  UniqueBrush brush(CreateSolidBrush(colour));
  SetBkMode(dc, OPAQUE);
  FillRect(dc, &client, brush.Get());
  backgroundPicture_.Draw(dc, 0, 0, -1, -1, 0, 0, SRCCOPY);
}

void RowContainer::LayOutRows() {
  int y = 0;
  for (int r = top_; r <= bottom_ && r < RowCount(); ++r) {
    rows_[r]->y = static_cast<int16_t>(y);
    y += rows_[r]->height + rowGap_;
  }
}

void RowContainer::DrawRows(HDC dc) {
  LayOutRows();
  for (int r = top_; r <= bottom_ && r < RowCount(); ++r) {
    RowElement& row = *rows_[r];
    DrawRowHighlights(dc, row, r);
    row.Draw(dc, 0, 0);
    separatorPicture_.Draw(dc, 0, row.y + row.height, -1, -1, 0, 0, SRCCOPY);
  }
}

void RowContainer::DrawRowHighlights(HDC dc, RowElement& row, int index) {
  if (row.IsChecked() && checkedPicture_.IsLoaded())
    checkedPicture_.Draw(dc, 0, row.y, row.width, row.height, 0, row.y, SRCCOPY);
  if (index != current_) return;
  const int start = row.TextStart();
  const int width = row.TextWidth();
  if (currentPicture_.IsLoaded()) {
    currentPicture_.Draw(dc, start, row.y, width, row.height, start, row.y, SRCCOPY);
  } else if (currentColour_ != kNoColour) {
    UniqueBrush brush(CreateSolidBrush(currentColour_));
    const RECT rect{start, row.y, start + width, row.y + row.height};
    FillRect(dc, &rect, brush.Get());
  }
}

int RowContainer::AppendRow(std::unique_ptr<RowElement> row) {
  if (!row) return -1;
  rows_.push_back(std::move(row));
  ComputeBottom();
  return RowCount() - 1;
}

bool RowContainer::InsertRow(int index, std::unique_ptr<RowElement> row) {
  if (!row || index < 0 || index > RowCount()) return false;
  rows_.insert(rows_.begin() + index, std::move(row));
  // The current row keeps being current when rows arrive before it.
  if (index <= current_ && RowCount() > 1) ++current_;
  ComputeBottom();
  return true;
}

bool RowContainer::RemoveRow(int index) {
  if (index < 0 || index >= RowCount()) return false;
  if (hoverRow_ == rows_[index].get()) hoverRow_ = nullptr;
  rows_.erase(rows_.begin() + index);
  if (index < current_) {
    --current_;
  } else if (index == current_ && RowCount() > 0) {
    // The current row went: the one that took its place, or the new last row, follows.
    current_ = std::min(current_, RowCount() - 1);
    rows_[current_]->SetCurrent(1);
  }
  ComputeBottom();
  return true;
}

void RowContainer::ClearRows() {
  hoverRow_ = nullptr;
  rows_.clear();
  top_ = 0;
  bottom_ = 0;
  ComputeBottom();
}

RowElement* RowContainer::Row(int index) const {
  return index >= 0 && index < RowCount() ? rows_[index].get() : nullptr;
}

int RowContainer::RowAt(int px, int py) const {
  for (int r = top_; r <= bottom_ && r < RowCount(); ++r) {
    const RowElement& row = *rows_[r];
    if (px >= row.x && px < row.x + row.width && py >= row.y && py < row.y + row.height) return r;
  }
  return -1;
}

void RowContainer::ComputeBottom() {
  RECT client{};
  GetClientRect(Hwnd(), &client);
  const int height = client.bottom;
  // Rows removed from the end may leave top past them.
  top_ = std::clamp(top_, 0, std::max(0, RowCount() - 1));
  bottom_ = top_;
  int used = RowCount() > 0 ? rows_[top_]->height : 0;
  for (int r = top_ + 1; r < RowCount() && used < height; ++r) {
    bottom_ = r;
    used += rowGap_ + rows_[r]->height;
  }
  lastWhole_ = used - rowGap_ <= height;
  const int maximum = std::max(0, RowCount() - (bottom_ - top_) - (lastWhole_ ? 1 : 0));
  if (customBar_) {
    customBar_->SetRange(0, maximum);
    customBar_->SetPosition(top_);
  } else if (standardBar_) {
    SetScrollRange(standardBar_, SB_CTL, 0, maximum, FALSE);
    SetScrollPos(standardBar_, SB_CTL, top_, TRUE);
  }
  ApplyBarVisibility();
  LayOutRows();
}

// Shown once scrolled, or while a row lies below the window or the last row is cut.
bool RowContainer::BarVisible() const { return top_ >= 1 || bottom_ < RowCount() - 1 || !lastWhole_; }

void RowContainer::ApplyBarVisibility() {
  const HWND bar = customBar_ ? customBar_->Hwnd() : standardBar_;
  if (bar) ShowWindow(bar, BarVisible() ? SW_SHOWNA : SW_HIDE);
}

void RowContainer::SetTop(int index) {
  if (index < 0 || index >= RowCount()) return;
  top_ = index;
  ComputeBottom();
}

void RowContainer::SetCurrent(int index) {
  if (index < 0 || index >= RowCount()) return;
  if (RowElement* old = Row(current_)) old->SetCurrent(0);
  current_ = index;
  rows_[index]->SetCurrent(1);
  if (index < top_) {
    SetTop(index);
    return;
  }
  // A row taller than the window stays at the top, cut.
  while (top_ < index && (index > bottom_ || (index == bottom_ && !lastWhole_))) SetTop(top_ + 1);
}

bool RowContainer::AtEnd() const { return (bottom_ == RowCount() - 1 && lastWhole_) || bottom_ >= RowCount(); }

void RowContainer::Scroll(int code, int thumbPosition) {
  switch (code) {
    case SB_LINEUP:
      SetTop(std::max(0, top_ - 1));
      break;
    case SB_LINEDOWN:
      if (!AtEnd()) SetTop(top_ + 1);
      break;
    case SB_PAGEUP:
      SetTop(top_ - (bottom_ - top_) < 1 ? 0 : top_ - (bottom_ - top_));
      break;
    case SB_PAGEDOWN:
      for (int steps = bottom_ - top_; steps > 0; --steps)
        if (!AtEnd()) SetTop(top_ + 1);
      break;
    case SB_THUMBTRACK:
      SetTop(thumbPosition);
      break;
    case SB_TOP:
      SetTop(0);
      break;
    default:
      break;
  }
  Redraw();
}

LRESULT RowContainer::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_VSCROLL) Scroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
  return ListWindow::OnMessage(message, wParam, lParam);
}

bool RowContainer::SetHoverRow(RowElement* row) {
  if (row == hoverRow_) return false;
  if (hoverRow_) hoverRow_->SetHover(0);
  hoverRow_ = row;
  if (hoverRow_) hoverRow_->SetHover(1);
  return true;
}

LRESULT RowContainer::OnMouseMove(WPARAM, LPARAM lParam) {
  if (!IsActive()) return 0;
  const int px = static_cast<short>(LOWORD(lParam)), py = static_cast<short>(HIWORD(lParam));
  RECT client{};
  GetClientRect(Hwnd(), &client);
  RowElement* under = nullptr;
  // While the pointer is over the rows the container holds the capture, so it hears the
  // pointer leave them.
  if (px >= 0 && py >= 0 && px <= client.right - barWidth_ && py <= client.bottom) {
    if (GetCapture() != Hwnd()) {
      ReleaseCapture();
      SetCapture(Hwnd());
      captured_ = true;
    }
    under = Row(RowAt(px, py));
  } else if (captured_) {
    ReleaseCapture();
    captured_ = false;
  }
  if (SetHoverRow(under)) Redraw();
  return 0;
}

LRESULT RowContainer::OnLButtonDown(WPARAM, LPARAM lParam) {
  if (!IsActive()) return 0;
  const int px = static_cast<short>(LOWORD(lParam)), py = static_cast<short>(HIWORD(lParam));
  const int r = RowAt(px, py);
  if (r < 0) return 0;
  RowElement& row = *rows_[r];
  const int index = row.HitTest(px, py);
  Element* part = row.Part(static_cast<size_t>(std::max(index, 0)));
  const int16_t type = part ? part->type : int16_t{kElementNone};
  if (type == kElementChecker || type == kElementGroupChecker) part->SetState(part->GetState() ? 0 : 1);
  const uint32_t state = part ? part->GetState() : 0;
  if (type == kElementSelectChecker) {
    row.SetChecked(row.IsChecked() ? 0 : 1);
    Notify(kRowChecked, r, row.IsChecked());
  }
  Notify(kRowCurrent, current_, 0);
  SetCurrent(r);
  Redraw();
  Notify(kRowCurrent, current_, 1);
  if (type == kElementChecker) Notify(kRowCheckerSwitched, r, static_cast<LPARAM>(state | (index << 16)));
  if (type == kElementGroupChecker) Notify(kRowGroupSwitched, r, state);
  Focus();
  return 0;
}

LRESULT RowContainer::OnLButtonDoubleClick(WPARAM, LPARAM lParam) {
  const int r = RowAt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
  Notify(kRowActivated, static_cast<WPARAM>(r), 0);
  return 0;
}

LRESULT RowContainer::OnKeyDown(WPARAM wParam, LPARAM) {
  RowElement* row = Row(current_);
  if (!row) return 0;
  switch (wParam) {
    case VK_SPACE:
      row->SetChecked(row->IsChecked() ? 0 : 1);
      Redraw();
      Notify(kRowChecked, current_, row->IsChecked());
      break;
    case VK_UP:
      if (current_ > 0) SetCurrent(current_ - 1);
      Redraw();
      break;
    case VK_DOWN:
      if (current_ < RowCount() - 1) SetCurrent(current_ + 1);
      Redraw();
      break;
    default:
      break;
  }
  return 0;
}

void RowContainer::Notify(UINT message, WPARAM wParam, LPARAM lParam) const {
  if (Parent()) SendMessageA(Parent(), message, wParam, lParam);
}

void RowContainer::SetBackground(COLORREF background, COLORREF currentColour, const char* picture,
                                 const char* currentPicture, const char* checkedPicture) {
  SetBackgroundColour(background);
  currentColour_ = currentColour;
  const auto load = [](DdbBitmap& bitmap, const char* file) {
    if (file && *file) bitmap.Load(file);
  };
  load(backgroundPicture_, picture);
  load(currentPicture_, currentPicture);
  load(checkedPicture_, checkedPicture);
}

void RowContainer::SetSpace(int16_t gap, const char* separatorPicture) {
  if (gap != 0) rowGap_ = gap;
  if (separatorPicture && *separatorPicture) separatorPicture_.Load(separatorPicture);
  ComputeBottom();
}

void RowContainer::UseCustomBar(const char* description, const std::string& dataDirectory) {
  if (!description || !*description) return;
  if (standardBar_) DestroyWindow(std::exchange(standardBar_, nullptr));
  customBar_ = std::make_unique<ScrollBar>(Hwnd(), kScrollBarId, Box{});
  customBar_->Parse(description, dataDirectory);
  RECT bar{};
  GetWindowRect(customBar_->Hwnd(), &bar);
  barWidth_ = static_cast<int16_t>(bar.right - bar.left);
  customBar_->SetActive(true);
  ComputeBottom();
}

}  // namespace kro::toolkit
