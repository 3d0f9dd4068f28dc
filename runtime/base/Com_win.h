#pragma once
// COM's lifetimes as scopes: an interface pointer released on exit, and COM initialised
// for one piece of work.
#include <windows.h>
#include <objbase.h>

namespace kro {

template <typename T>
class ComPtr {
public:
  ComPtr() = default;
  ~ComPtr() {
    if (p_) p_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T** Out() { return &p_; }
  T* operator->() const { return p_; }
  T* Get() const { return p_; }

private:
  T* p_ = nullptr;
};

// Single-threaded COM for the scope; a thread that already has it keeps it (S_FALSE is
// balanced too).
class ComScope {
public:
  ComScope() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (ok_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

private:
  bool ok_;
};

}  // namespace kro
