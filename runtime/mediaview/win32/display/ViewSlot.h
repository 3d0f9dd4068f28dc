#pragma once
#include <memory>

namespace kro::mvdll::display {

class View;

// The slot a display object keeps its view in: copying a display (lpMVDuplicate) gives
// the copy a fresh view with the same window and look.
class ViewSlot {
public:
  ViewSlot();
  ViewSlot(const ViewSlot& other);
  ViewSlot& operator=(const ViewSlot& other);
  ~ViewSlot();
  View& operator*() const { return *view_; }
  View* operator->() const { return view_.get(); }

private:
  std::unique_ptr<View> view_;
};

}  // namespace kro::mvdll::display
