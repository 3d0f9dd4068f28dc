#pragma once
// The custom scroll bar: two auto-repeat arrows and a thumb over a track picture, all
// from bitmap files named by a list description. It reports to its owner exactly as a
// standard scroll bar does (WM_VSCROLL or WM_HSCROLL with the code and the position).
#include <windows.h>

#include <memory>
#include <string>

#include "app/toolkit/Box.h"
#include "app/toolkit/DefaultWindow.h"
#include "app/toolkit/PushButton.h"
#include "app/toolkit/SlicedBitmap.h"

namespace kro::toolkit {

class ScrollBar : public DefaultWindow {
public:
  enum Command : uint16_t { kArrowBefore = 10, kArrowAfter = 11, kThumb = 12 };
  static constexpr uint16_t kRepeatMs = 100;

  ScrollBar(HWND owner, int16_t id, const Box& box);
  ~ScrollBar() override;

  const char* ClassName() const override;
  void SetActive(bool active) override;
  void Move(int16_t x, int16_t y, int16_t width, int16_t height, bool repaint) override;
  void MoveTo(const Box& box, bool repaint) override;
  LRESULT OnEraseBackground(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam) override;

  // Reads "x, y, width, height, vertical, arrow before, arrow after, thumb, track",
  // stopping quietly at the first missing field. Picture files are looked up in
  // `dataDirectory` (which ends in a backslash, or is empty).
  bool Parse(const char* description, const std::string& dataDirectory);
  // Creates the window again as a visible child of `owner` and takes the buttons along.
  void Rebuild(HWND owner);

  void SetRange(int minimum, int maximum);
  void SetPosition(int position);
  void SetPage(int page) { page_ = page; }
  int Position() const { return position_; }
  int Minimum() const { return minimum_; }
  int Maximum() const { return maximum_; }
  bool IsVertical() const { return vertical_; }
  const Box& Geometry() const { return box_; }

private:
  void CreateBarWindow(DWORD style);
  std::unique_ptr<RepeatButton> MakeArrow(DdbBitmap& picture, uint16_t command, bool atEnd);
  int LengthOf(const PushButton* button) const;
  int ClientLength() const;
  double Scale() const;
  int ThumbOffset() const;
  void Notify(int code) const;

  HWND owner_;
  int16_t id_;
  Box box_;
  bool vertical_ = true;
  int minimum_ = 0;
  int maximum_ = 1;
  int position_ = 0;
  int page_ = 1;
  DdbBitmap beforePicture_, afterPicture_, thumbPicture_;
  SlicedBitmap track_;
  std::unique_ptr<RepeatButton> arrowBefore_;
  std::unique_ptr<RepeatButton> arrowAfter_;
  std::unique_ptr<Thumb> thumb_;
};

}  // namespace kro::toolkit
