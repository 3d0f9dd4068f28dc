#pragma once
// RAII owners for Win32 handles and scoped guards for paired calls. One move-only template
// serves every handle kind; a deleter names how the handle is released.
#include <windows.h>

#include <cstddef>
#include <utility>

namespace kro {

// Deleter: operator()(T) releases; static T Null() names the empty value.
template <typename T, typename Deleter>
class UniqueHandle {
public:
  UniqueHandle() = default;
  explicit UniqueHandle(T handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  T Get() const { return handle_; }
  explicit operator bool() const { return handle_ != Empty(); }
  void Reset() { Reset(Empty()); }
  T Release() { return std::exchange(handle_, Empty()); }
  void Reset(T handle) {
    if (handle_ != Empty()) Deleter{}(handle_);
    handle_ = handle;
  }

private:
  static T Empty() { return Deleter::Null(); }
  T handle_ = Empty();
};

struct NullIsEmpty { static std::nullptr_t Null() { return nullptr; } };
struct GdiObjectDeleter : NullIsEmpty { void operator()(HGDIOBJ h) const { DeleteObject(h); } };
struct DcDeleter : NullIsEmpty { void operator()(HDC h) const { DeleteDC(h); } };
struct KernelHandleDeleter : NullIsEmpty { void operator()(HANDLE h) const { CloseHandle(h); } };
struct GlobalDeleter : NullIsEmpty { void operator()(HGLOBAL h) const { GlobalFree(h); } };
struct ModuleDeleter : NullIsEmpty { void operator()(HMODULE h) const { FreeLibrary(h); } };
struct IconDeleter : NullIsEmpty { void operator()(HICON h) const { DestroyIcon(h); } };
struct HookDeleter : NullIsEmpty { void operator()(HHOOK h) const { UnhookWindowsHookEx(h); } };
// CreateFile answers INVALID_HANDLE_VALUE, not null, on failure.
struct FileDeleter {
  static HANDLE Null() { return INVALID_HANDLE_VALUE; }
  void operator()(HANDLE h) const { CloseHandle(h); }
};

using UniqueFont = UniqueHandle<HFONT, GdiObjectDeleter>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectDeleter>;
using UniquePen = UniqueHandle<HPEN, GdiObjectDeleter>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectDeleter>;
using UniquePalette = UniqueHandle<HPALETTE, GdiObjectDeleter>;
using UniqueRegion = UniqueHandle<HRGN, GdiObjectDeleter>;
using UniqueMemoryDc = UniqueHandle<HDC, DcDeleter>;
using UniqueFile = UniqueHandle<HANDLE, FileDeleter>;
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleDeleter>;
using UniqueGlobal = UniqueHandle<HGLOBAL, GlobalDeleter>;
using UniqueModule = UniqueHandle<HMODULE, ModuleDeleter>;
using UniqueIcon = UniqueHandle<HICON, IconDeleter>;
using UniqueHook = UniqueHandle<HHOOK, HookDeleter>;

// BeginPaint/EndPaint.
class PaintGuard {
public:
  explicit PaintGuard(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
  ~PaintGuard() { EndPaint(hwnd_, &ps_); }
  PaintGuard(const PaintGuard&) = delete;
  PaintGuard& operator=(const PaintGuard&) = delete;
  HDC Dc() const { return dc_; }
  const RECT& Dirty() const { return ps_.rcPaint; }

private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// GetDC/ReleaseDC.
class WindowDc {
public:
  explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDc() { if (dc_) ReleaseDC(hwnd_, dc_); }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC Get() const { return dc_; }

private:
  HWND hwnd_;
  HDC dc_;
};

// SelectObject with the previous object restored on scope exit.
class SelectGuard {
public:
  SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  ~SelectGuard() { if (previous_) SelectObject(dc_, previous_); }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

private:
  HDC dc_;
  HGDIOBJ previous_;
};

// SelectPalette with the previous palette restored on scope exit.
class PaletteGuard {
public:
  PaletteGuard(HDC dc, HPALETTE palette, bool background)
      : dc_(dc), previous_(palette ? SelectPalette(dc, palette, background) : nullptr) {}
  ~PaletteGuard() { if (previous_) SelectPalette(dc_, previous_, TRUE); }
  PaletteGuard(const PaletteGuard&) = delete;
  PaletteGuard& operator=(const PaletteGuard&) = delete;

private:
  HDC dc_;
  HPALETTE previous_;
};

}  // namespace kro
