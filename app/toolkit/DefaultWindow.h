#pragma once
// The base of every window object: one Win32 window created from the object and bound back
// to it through the window's extra bytes, so that one shared window procedure turns each
// message into a call of a virtual handler. The object's owner creates it with new and
// deletes it; the system destroying the window only clears the object's handle.
//
// RegisterClass is also a windows.h macro (RegisterClassA); every file that sees this
// declaration sees the macro too, so the name maps the same way everywhere.
#include <windows.h>

#include <cstdint>
#include <memory>

#include "app/toolkit/Box.h"
#include "app/toolkit/Element.h"

namespace kro::toolkit {

class DefaultWindow {
public:
  DefaultWindow();
  // Registers the class at once (the button windows do this before they create).
  DefaultWindow(const char* className, HBRUSH background, HCURSOR cursor, HICON icon, UINT style);
  virtual ~DefaultWindow();
  DefaultWindow(const DefaultWindow&) = delete;
  DefaultWindow& operator=(const DefaultWindow&) = delete;

  // Registers the class with the shared procedure unless the program has it already.
  virtual bool RegisterClass(const char* className, HBRUSH background, HCURSOR cursor, HICON icon, UINT style);
  virtual const char* ClassName() const;
  // A window that is not active ignores mouse clicks.
  virtual void SetActive(bool active);
  virtual bool IsActive() const;
  virtual void Move(int16_t x, int16_t y, int16_t width, int16_t height, bool repaint);
  virtual void MoveTo(const Box& box, bool repaint);
  virtual void Focus();
  // WM_CREATE: stores the handle. Overrides call this first; false refuses the creation.
  virtual bool OnCreate(HWND hwnd);
  // WM_DESTROY: clears the handle. Overrides call this.
  virtual LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnClose(WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnEraseBackground(WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnSize(WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnTimer(WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnLButtonDoubleClick(WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnRButtonDown(WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnRButtonUp(WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnRButtonDoubleClick(WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);
  virtual LRESULT OnKeyUp(WPARAM wParam, LPARAM lParam);
  // Every other message; the base passes it to DefWindowProcA.
  virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

  HWND Hwnd() const { return hwnd_; }
  Element& OwnElement() { return *element_; }

protected:
  DefaultWindow(int16_t x, int16_t y, int16_t width, int16_t height);

  // CreateWindowExA of ClassName() with this object as the creation parameter; a window
  // the object had before is destroyed first.
  HWND CreateBoundWindow(DWORD style, int x, int y, int width, int height, HWND parent, UINT_PTR childId = 0,
                         const char* windowName = nullptr);
  // Unbinds and destroys the window, if it is still there.
  void DestroyBoundWindow();
  // Lets a subclass draw through an element of its own; it takes the old one's geometry.
  void ReplaceElement(std::unique_ptr<Element> element);
  // BeginPaint, the element's Draw at (0, 0), EndPaint.
  LRESULT PaintElement();
  LRESULT DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam);

private:
  friend LRESULT CALLBACK WindowObjectProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  bool active_ = false;
  std::unique_ptr<Element> element_;
};

// The procedure every window-object class is registered with.
LRESULT CALLBACK WindowObjectProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The object bound to a window, or null.
DefaultWindow* WindowObjectOf(HWND hwnd);

}  // namespace kro::toolkit
