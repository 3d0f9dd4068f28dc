#include "app/toolkit/ScrollBar.h"

#include <algorithm>
#include <array>

#include "app/toolkit/core/TextUtilities.h"

namespace kro::toolkit {
namespace {

constexpr const char* kScrollBarClass = "ScrollBarClassName";
// A push-button strip holds four frames stacked vertically.
constexpr int kButtonFrames = 4;

Box ButtonBox(const DdbBitmap& picture, int x, int y) {
  return {x, y, picture.Width(), picture.Height() / kButtonFrames};
}

}  // namespace

ScrollBar::ScrollBar(HWND owner, int16_t id, const Box& box) : owner_(owner), id_(id), box_(box) {
  RegisterClass(kScrollBarClass, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)), nullptr, nullptr, 0);
  CreateBarWindow(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
}

// The buttons are children of the bar's window: they go before it.
ScrollBar::~ScrollBar() {
  thumb_.reset();
  arrowAfter_.reset();
  arrowBefore_.reset();
}

void ScrollBar::CreateBarWindow(DWORD style) {
  CreateBoundWindow(style, box_.x, box_.y, box_.width, box_.height, owner_, static_cast<UINT_PTR>(id_),
                    kScrollBarClass);
}

const char* ScrollBar::ClassName() const { return kScrollBarClass; }

void ScrollBar::SetActive(bool active) {
  DefaultWindow::SetActive(active);
  for (PushButton* button : {static_cast<PushButton*>(arrowBefore_.get()), static_cast<PushButton*>(arrowAfter_.get()),
                             static_cast<PushButton*>(thumb_.get())})
    if (button) button->SetActive(active);
}

void ScrollBar::Move(int16_t x, int16_t y, int16_t width, int16_t height, bool repaint) {
  box_ = {x, y, width, height};
  DefaultWindow::Move(x, y, width, height, repaint);
}

void ScrollBar::MoveTo(const Box& box, bool repaint) {
  box_ = box;
  DefaultWindow::MoveTo(box, repaint);
}

void ScrollBar::Rebuild(HWND owner) {
  owner_ = owner;
  const std::array<PushButton*, 3> buttons{arrowBefore_.get(), arrowAfter_.get(), thumb_.get()};
  // The buttons wait under a message-only parent while the old bar window, their parent,
  // is destroyed.
  for (PushButton* button : buttons)
    if (button) button->Reparent(HWND_MESSAGE);
  CreateBarWindow(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
  for (PushButton* button : buttons)
    if (button) button->Reparent(Hwnd());
  SetActive(true);
  ShowWindow(Hwnd(), SW_SHOW);
}

int ScrollBar::LengthOf(const PushButton* button) const {
  if (!button) return 0;
  return vertical_ ? button->Geometry().height : button->Geometry().width;
}

int ScrollBar::ClientLength() const {
  RECT client{};
  if (Hwnd()) GetClientRect(Hwnd(), &client);
  return vertical_ ? client.bottom : client.right;
}

double ScrollBar::Scale() const {
  const int freeTrack = ClientLength() - (LengthOf(arrowBefore_.get()) + LengthOf(arrowAfter_.get()) + LengthOf(thumb_.get()));
  const int range = maximum_ - minimum_;
  return static_cast<double>(freeTrack) / (range == 0 ? 1 : range);
}

int ScrollBar::ThumbOffset() const {
  return LengthOf(arrowBefore_.get()) + static_cast<int>(position_ * Scale());
}

void ScrollBar::Notify(int code) const {
  SendMessageA(owner_, vertical_ ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, position_), reinterpret_cast<LPARAM>(Hwnd()));
}

void ScrollBar::SetRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = maximum;
  SetPosition(position_);
}

void ScrollBar::SetPosition(int position) {
  position_ = std::clamp(position, minimum_, std::max(minimum_, maximum_));
  if (!thumb_) return;
  Box box = thumb_->Geometry();
  (vertical_ ? box.y : box.x) = ThumbOffset();
  (vertical_ ? box.x : box.y) = 0;
  thumb_->MoveTo(box, true);
}

std::unique_ptr<RepeatButton> ScrollBar::MakeArrow(DdbBitmap& picture, uint16_t command, bool atEnd) {
  RECT client{};
  GetClientRect(Hwnd(), &client);
  Box box = ButtonBox(picture, 0, 0);
  if (atEnd) (vertical_ ? box.y : box.x) = vertical_ ? client.bottom - box.height : client.right - box.width;
  return std::make_unique<RepeatButton>(Hwnd(), command, box, &picture, kRepeatMs);
}

bool ScrollBar::Parse(const char* description, const std::string& dataDirectory) {
  if (!description) return false;
  int16_t x = static_cast<int16_t>(box_.x), y = static_cast<int16_t>(box_.y);
  int16_t width = static_cast<int16_t>(box_.width), height = static_cast<int16_t>(box_.height);
  int16_t vertical = vertical_ ? 1 : 0;
  const char* at = description;
  for (int16_t* field : {&x, &y, &width, &height}) {
    at = ReadShortField(at, field);
    if (!at) break;
    ++at;
  }
  Move(x, y, width, height, true);
  if (!at) return true;
  at = ReadShortField(at, &vertical);
  vertical_ = vertical != 0;
  std::array<char, 256> name{};
  // Each picture is named in turn; a missing field ends the description.
  const auto nextPicture = [&](DdbBitmap& picture) {
    if (!at) return false;
    at = ReadQuotedField(at + 1, name);
    const std::string path = dataDirectory + name.data();
    if (name[0] == '\0' || !picture.Load(path.c_str())) return at != nullptr;
    return true;
  };
  if (nextPicture(beforePicture_) && beforePicture_.IsLoaded()) arrowBefore_ = MakeArrow(beforePicture_, kArrowBefore, false);
  if (nextPicture(afterPicture_) && afterPicture_.IsLoaded()) arrowAfter_ = MakeArrow(afterPicture_, kArrowAfter, true);
  if (nextPicture(thumbPicture_) && thumbPicture_.IsLoaded()) {
    const int offset = LengthOf(arrowBefore_.get());
    thumb_ = std::make_unique<Thumb>(Hwnd(), kThumb, ButtonBox(thumbPicture_, vertical_ ? 0 : offset, vertical_ ? offset : 0),
                                     &thumbPicture_);
    thumb_->SetVertical(vertical_);
    thumb_->SetLimits(LengthOf(arrowBefore_.get()), LengthOf(arrowAfter_.get()));
  }
  if (at) {
    at = ReadQuotedField(at + 1, name);
    if (name[0] != '\0') track_.Load((dataDirectory + name.data()).c_str(), 0, 0);
  }
  SetActive(IsActive());
  return true;
}

LRESULT ScrollBar::OnEraseBackground(WPARAM wParam, LPARAM) {
  RECT client;
  GetClientRect(Hwnd(), &client);
  const int before = LengthOf(arrowBefore_.get());
  const int after = LengthOf(arrowAfter_.get());
  const HDC dc = reinterpret_cast<HDC>(wParam);
  if (vertical_)
    track_.DrawVertical(dc, 0, before, client.right, client.bottom - before - after, 0, SRCCOPY);
  else
    track_.DrawHorizontal(dc, before, 0, client.right - before - after, client.bottom, 0, SRCCOPY);
  return 1;
}

LRESULT ScrollBar::OnLButtonDown(WPARAM, LPARAM lParam) {
  if (!IsActive()) return 0;
  const int along = vertical_ ? static_cast<short>(HIWORD(lParam)) : static_cast<short>(LOWORD(lParam));
  if (along < ThumbOffset()) {
    position_ = position_ - page_ > minimum_ ? position_ - page_ : minimum_;
    Notify(SB_PAGEUP);
  } else {
    position_ = position_ + page_ < maximum_ ? position_ + page_ : maximum_;
    Notify(SB_PAGEDOWN);
  }
  SetPosition(position_);
  return 0;
}

LRESULT ScrollBar::OnCommand(WPARAM wParam, LPARAM lParam) {
  switch (LOWORD(wParam)) {
    case kArrowBefore:
      if (position_ > minimum_) {
        --position_;
        Notify(SB_LINEUP);
      }
      SetPosition(position_);
      break;
    case kArrowAfter:
      if (position_ < maximum_) {
        ++position_;
        Notify(SB_LINEDOWN);
      }
      SetPosition(position_);
      break;
    case kThumb:
      // The thumb stays where it was dragged; only the position follows it. When the
      // arrows and the thumb fill the bar there is no track to map, and the position stays.
      if (const double scale = Scale(); scale > 0) {
        const double position = static_cast<double>(lParam) / scale;
        position_ = position >= maximum_ ? maximum_ : position <= minimum_ ? minimum_ : static_cast<int>(position);
      }
      Notify(SB_THUMBTRACK);
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace kro::toolkit
