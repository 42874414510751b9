// Owners for the few Win32 handles the window keeps or borrows. Their destructors keep
// GetLastError intact, so an owner leaving scope never hides the error of the call that
// failed.
#pragma once

#include <windows.h>

#include <utility>

namespace tintelo::win {

// Runs `release` and puts back the last error it may have overwritten.
template <typename Release>
void KeepingLastError(Release&& release) noexcept {
  const DWORD error = GetLastError();
  release();
  SetLastError(error);
}

// Move-only owner of a handle, closed by Deleter.
template <typename T, typename Deleter>
class UniqueHandle {
 public:
  UniqueHandle() noexcept = default;
  explicit UniqueHandle(T handle) noexcept : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, T{})) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, T{}));
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  void Reset(T handle = T{}) noexcept {
    if (handle_) KeepingLastError([&] { Deleter{}(handle_); });
    handle_ = handle;
  }
  [[nodiscard]] T Get() const noexcept { return handle_; }
  // Where a call that makes a handle writes it; the one held before is released first.
  [[nodiscard]] T* Put() noexcept {
    Reset();
    return &handle_;
  }
  explicit operator bool() const noexcept { return handle_ != T{}; }

 private:
  T handle_{};
};

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const noexcept { DeleteObject(object); }
};
struct KernelHandleDeleter {
  void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};
struct IconDeleter {
  void operator()(HICON icon) const noexcept { DestroyIcon(icon); }
};
struct MemoryDcDeleter {
  void operator()(HDC dc) const noexcept { DeleteDC(dc); }
};
struct HookDeleter {
  void operator()(HHOOK hook) const noexcept { UnhookWindowsHookEx(hook); }
};
struct ComDeleter {
  template <typename Interface>
  void operator()(Interface* object) const noexcept {
    object->Release();
  }
};

using UniqueFont = UniqueHandle<HFONT, GdiObjectDeleter>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectDeleter>;
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleDeleter>;
using UniqueIcon = UniqueHandle<HICON, IconDeleter>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectDeleter>;
using UniqueMemoryDc = UniqueHandle<HDC, MemoryDcDeleter>;
using UniqueHook = UniqueHandle<HHOOK, HookDeleter>;
// A COM interface pointer the program holds a reference to.
template <typename Interface>
using UniqueCom = UniqueHandle<Interface*, ComDeleter>;

// An interface made by a call that takes the interface's identifier and where to write it
// (QueryInterface, CreateDXGIFactory1): the one place that says __uuidof. Empty when the
// call fails.
template <typename Wanted, typename Make>
[[nodiscard]] UniqueCom<Wanted> MadeAs(Make&& make) noexcept {
  UniqueCom<Wanted> wanted;
  if (FAILED(make(__uuidof(Wanted), reinterpret_cast<void**>(wanted.Put())))) wanted.Reset();
  return wanted;
}

// Another interface of the same object (wil's query<T>); empty when it has none.
template <typename Wanted, typename Interface>
[[nodiscard]] UniqueCom<Wanted> Query(Interface* object) noexcept {
  return MadeAs<Wanted>([object](REFIID id, void** out) { return object->QueryInterface(id, out); });
}

// A window's DC, borrowed with GetDC and given back on scope exit.
class WindowDc {
 public:
  explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) KeepingLastError([&] { ReleaseDC(window_, dc_); });
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  [[nodiscard]] HDC Get() const noexcept { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// The screen's DC: every screen read and every question about the screen's scale goes
// through it. GetDC(NULL) is documented as the DC "for the entire screen", which with
// several monitors is the whole virtual screen, monitors left of or above the primary
// one included; a DC of the desktop window may be the primary monitor's alone
// ("HMONITOR and the Device Context").
class ScreenDc final : public WindowDc {
 public:
  ScreenDc() noexcept : WindowDc(nullptr) {}
};

// Selects an object into a DC and puts the previous one back on scope exit.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectGuard() {
    if (old_ != nullptr) KeepingLastError([&] { SelectObject(dc_, old_); });
  }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// BeginPaint/EndPaint as a scope.
class PaintScope {
 public:
  explicit PaintScope(HWND window) noexcept : window_(window) { dc_ = BeginPaint(window, &ps_); }
  ~PaintScope() {
    KeepingLastError([&] { EndPaint(window_, &ps_); });
  }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  [[nodiscard]] HDC Dc() const noexcept { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT ps_{};
  HDC dc_ = nullptr;
};

}  // namespace tintelo::win
