#pragma once
// The timeline picture on screen: a rectangular view in a window that shows a frame-strip
// bitmap far wider than the screen through a ring of device-dependent frame bitmaps, read
// from the file as the view scrolls, and reports clicks on the picture's regions.
#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/timeline/StripModel.h"
#include "runtime/base/UniqueHandle_win.h"

namespace kro::timeline {

// Posted by the strip bitmap to its window as WM_COMMAND when a region is clicked;
// lParam = the strip bitmap.
constexpr WPARAM kRegionClicked = 70;

// A rectangle inside a window that knows what to draw and when.
class RectView {
public:
  enum State : int32_t {
    kLive = 0,  // and any value not named here
    kIgnoresMouse = 1,
    kHidden = 3,
    kUnusable = 65535,
  };

  RectView(int32_t kind, HWND window, const RECT& viewport);
  virtual ~RectView() = default;
  RectView(const RectView&) = delete;
  RectView& operator=(const RectView&) = delete;

  virtual void SetState(int32_t state, HDC dc);
  virtual void SetNext(RectView* next) { next_ = next; }
  virtual void Move(int dx, int dy, HDC dc);
  // Draws the part of the view inside `rect` (the window's client area when null) on
  // `dc`, when the window is the view's own.
  virtual void Paint(const RECT* rect, HWND window, HDC dc);
  virtual void Redraw(const RECT* rect);
  virtual void Draw(HDC dc) = 0;
  virtual bool HitTest(int x, int y, HWND window) const;
  virtual bool ButtonUp(int x, int y, HWND window, int flag);
  virtual bool MouseMove(int x, int y, WPARAM keys, HWND window, int flag);

  int32_t Kind() const { return kind_; }
  int32_t StateValue() const { return state_; }
  RectView* Next() const { return next_; }
  const RECT& Viewport() const { return viewport_; }

protected:
  bool Usable() const { return state_ != kUnusable; }
  // Shown and answering the mouse.
  bool Live() const { return state_ != kIgnoresMouse && state_ != kHidden && state_ != kUnusable; }
  bool Drawable() const { return state_ != kHidden && state_ != kUnusable; }

  int32_t kind_;
  int32_t state_ = kLive;
  RectView* next_ = nullptr;
  HWND window_;
  bool dirty_ = true;
  RECT update_{};  // empty: the whole viewport
  RECT viewport_;
};

struct StripBitmapParams {
  HWND window = nullptr;
  RECT viewport{};
  std::string picturePath;
  std::string regionPath;
  HPALETTE palette = nullptr;  // realised while frames become bitmaps; null for none
};

// What the cache has done, for the benchmark and the tests.
struct StripCounters {
  int64_t framesRead = 0;    // frames whose bytes all arrived
  int64_t failedReads = 0;
  int64_t bytesHeld = 0;     // pixels of the frame bitmaps held now
  int64_t peakBytesHeld = 0;
};

class StripBitmap final : public RectView {
public:
  static constexpr int32_t kKind = 7;
  // Reads the picture's header and the regions; a picture that cannot be shown leaves
  // the view unusable (it draws nothing and ignores the mouse).
  explicit StripBitmap(const StripBitmapParams& params);
  ~StripBitmap() override = default;

  // which 0: outside the regions, 1: over a region.
  void SetCursor(HCURSOR cursor, int which);
  // True when every frame of the first view was read.
  bool LoadFirstFrames();
  // Scroll-bar codes: 0/1 by 5 pixels, 2/3 by 50, 4 to `position`; any other code keeps
  // the view. Answers the new position, 0..32767.
  int Scroll(int code, int position);
  void Draw(HDC dc) override;
  bool ButtonUp(int x, int y, HWND window, int flag) override;
  bool MouseMove(int x, int y, WPARAM keys, HWND window, int flag) override;
  // The context string of the region under the last mouse move; nullopt when none.
  std::optional<std::string> SelectedRegionText() const;

  int SelectedRegion() const { return selected_; }
  size_t RegionCount() const { return regions_.size(); }
  const StripCounters& Counters() const { return counters_; }
  const StripHeader& Header() const { return header_; }
  // Slots of the frame ring; 0 for an unusable picture.
  int Slots() const { return plan_ ? plan_->slots : 0; }
  // Null for an unusable picture.
  const StripScroller* Scroller() const { return scroller_ ? &*scroller_ : nullptr; }

private:
  bool ReadHeader();
  void ReadRegions();
  HANDLE PictureFile();
  bool ReadFrame(int frame, std::vector<uint8_t>& bytes);
  bool LoadFrame(int frame, int slot);
  void DrawNow();
  void DrawFrame(HDC dc, HDC memory, int frame, const RECT& frameRect);

  StripBitmapParams params_;
  UniqueFile file_;  // kept open between frame reads
  StripHeader header_;
  std::optional<CachePlan> plan_;
  std::optional<StripScroller> scroller_;
  HCURSOR normalCursor_, regionCursor_;
  std::array<UniqueBitmap, kMaxCachedFrames> ring_;
  std::vector<Region> regions_;
  int selected_ = -1;
  StripCounters counters_;
};

}  // namespace kro::timeline
