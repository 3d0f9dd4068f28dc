#pragma once
// The scrolling row container of a described list: a ListWindow that owns the rows, lays
// them out top to bottom with a gap, draws them over a background colour or picture with
// the current and checked highlights, tracks the row under the mouse and turns clicks,
// double clicks and keys into row-level notifications to its parent. It scrolls with the
// standard scroll bar, or with the custom ScrollBar once a description asks for one.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/toolkit/DdbBitmap.h"
#include "app/toolkit/ListWindow.h"
#include "app/toolkit/RowElement.h"
#include "app/toolkit/ScrollBar.h"

namespace kro::toolkit {

// Notifications to the parent; wParam is a row index.
enum RowMessage : UINT {
  kRowChecked = WM_USER + 100,       // lParam: the row's new checked flag
  kRowCurrent = WM_USER + 101,       // lParam: 0 for the row left, then 1 for the row entered
  kRowActivated = WM_USER + 103,     // double click; wParam -1 when no row is under the pointer
  kRowCheckerSwitched = WM_USER + 104,  // lParam: low word the new state, high word the part index
  kRowGroupSwitched = WM_USER + 105,    // lParam: the group checker's new state
};

class RowContainer : public ListWindow {
public:
  static constexpr int16_t kScrollBarId = 100;

  RowContainer(HINSTANCE instance, HWND parent, int16_t x, int16_t y, int16_t width, int16_t height,
               size_t capacity, COLORREF backgroundColour = kNoColour);
  ~RowContainer() override;

  void SetActive(bool active) override;
  LRESULT OnDestroy(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnPaint(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnEraseBackground(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnLButtonDoubleClick(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam) override;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Double-buffered repaint of the background and the visible rows.
  virtual void Redraw();
  virtual void DrawBackground(HDC dc);
  virtual bool RemoveRow(int index);

  // Destroys the window and creates it again at a new rectangle in `parent`, with the
  // scroll bar in use.
  bool Recreate(HWND parent, int16_t x, int16_t y, int16_t width, int16_t height);

  // Rows: the container owns them.
  int AppendRow(std::unique_ptr<RowElement> row);
  bool InsertRow(int index, std::unique_ptr<RowElement> row);
  void ClearRows();
  int RowCount() const { return static_cast<int>(rows_.size()); }
  RowElement* Row(int index) const;
  // The row under a point of the client area, or -1.
  int RowAt(int px, int py) const;

  int Current() const { return current_; }
  void SetCurrent(int index);
  int Top() const { return top_; }
  void SetTop(int index);
  int Bottom() const { return bottom_; }
  bool LastWhole() const { return lastWhole_; }
  int BarWidth() const { return barWidth_; }
  bool BarVisible() const;
  RowElement* HoverRow() const { return hoverRow_; }
  ScrollBar* CustomBar() const { return customBar_.get(); }

  // BACKGROUND: colours (kNoColour = none) and pictures (null or empty = keep).
  void SetBackground(COLORREF background, COLORREF currentColour, const char* picture, const char* currentPicture,
                     const char* checkedPicture);
  // SPACE: the gap below every row (0 keeps it) and the picture drawn in it.
  void SetSpace(int16_t gap, const char* separatorPicture);
  // SCROLLER: the custom scroll bar described by `description`, pictures in `dataDirectory`.
  void UseCustomBar(const char* description, const std::string& dataDirectory);

private:
  class RowsElement;

  void CreateStandardBar(bool visible);
  void ComputeBottom();
  void ApplyBarVisibility();
  bool AtEnd() const;
  void LayOutRows();
  void DrawRows(HDC dc);
  void DrawRowHighlights(HDC dc, RowElement& row, int index);
  void Paint(HDC target);
  // False when the row was the hovered one already.
  bool SetHoverRow(RowElement* row);
  void Scroll(int code, int thumbPosition);
  void Notify(UINT message, WPARAM wParam, LPARAM lParam) const;

  std::vector<std::unique_ptr<RowElement>> rows_;
  int top_ = 0;
  int bottom_ = 0;
  bool lastWhole_ = true;
  int16_t rowGap_ = 0;
  int current_ = 0;
  HWND standardBar_ = nullptr;
  std::unique_ptr<ScrollBar> customBar_;
  int16_t barWidth_ = 0;
  COLORREF currentColour_ = kNoColour;
  DdbBitmap backgroundPicture_, checkedPicture_, currentPicture_, separatorPicture_;
  bool captured_ = false;
  RowElement* hoverRow_ = nullptr;
};

}  // namespace kro::toolkit
