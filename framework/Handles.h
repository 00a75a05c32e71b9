// RAII for platform handles. Owning wrappers are move-only and free their handle in the
// destructor; a raw handle (HWND, HDC, HBITMAP ...) in a signature is borrowed. Scoped device
// contexts (paint, window, memory) and scoped selection keep create/delete pairs in one place.
// Each wrapper counts the GDI and USER objects it holds (HandleCounts.h).
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shtypes.h>

#include <utility>

#include "framework/HandleCounts.h"

template <class Traits>
class UniqueHandle {
 public:
  using Type = typename Traits::Type;
  UniqueHandle() = default;
  explicit UniqueHandle(Type handle) : handle_(handle) { Count(handle, 1); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Traits::Invalid())) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, Traits::Invalid());
    }
    return *this;
  }
  ~UniqueHandle() { reset(); }

  Type get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Invalid(); }
  // The handle leaves the wrapper for good (for example to the platform, which frees it).
  Type release() {
    Count(handle_, -1);
    return std::exchange(handle_, Traits::Invalid());
  }
  void reset(Type handle = Traits::Invalid()) {
    Count(handle, 1);
    Type old = std::exchange(handle_, handle);
    if (old != Traits::Invalid()) {
      Traits::Close(old);
      Count(old, -1);
    }
  }

 private:
  // Traits without a kKind hold nothing the platform counts as a GDI or USER object.
  static constexpr handle_counts::Kind Kind() {
    if constexpr (requires { Traits::kKind; }) return Traits::kKind;
    else return handle_counts::Kind::None;
  }
  static void Count(Type handle, long delta) {
    if (handle != Traits::Invalid()) handle_counts::Add(Kind(), delta);
  }

  Type handle_ = Traits::Invalid();
};

namespace handle_traits {
struct Window {
  static constexpr handle_counts::Kind kKind = handle_counts::Kind::User;
  using Type = HWND;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { DestroyWindow(h); }
};
template <class T>
struct Gdi {
  static constexpr handle_counts::Kind kKind = handle_counts::Kind::Gdi;
  using Type = T;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { DeleteObject(h); }
};
struct MemoryDc {
  static constexpr handle_counts::Kind kKind = handle_counts::Kind::Gdi;
  using Type = HDC;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { DeleteDC(h); }
};
struct Icon {
  static constexpr handle_counts::Kind kKind = handle_counts::Kind::User;
  using Type = HICON;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { DestroyIcon(h); }
};
struct ImageList {
  static constexpr handle_counts::Kind kKind = handle_counts::Kind::Gdi;
  using Type = HIMAGELIST;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ImageList_Destroy(h); }
};
struct Find {
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) { FindClose(h); }
};
struct Kernel {
  using Type = HANDLE;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { CloseHandle(h); }
};
struct File {
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) { CloseHandle(h); }
};
struct RegKey {
  using Type = HKEY;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { RegCloseKey(h); }
};
struct Module {
  using Type = HMODULE;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { FreeLibrary(h); }
};
struct Menu {
  static constexpr handle_counts::Kind kKind = handle_counts::Kind::User;
  using Type = HMENU;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { DestroyMenu(h); }
};
struct ItemIdList {
  using Type = LPITEMIDLIST;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { CoTaskMemFree(h); }
};
}  // namespace handle_traits

using UniqueWindow = UniqueHandle<handle_traits::Window>;
using UniqueBitmap = UniqueHandle<handle_traits::Gdi<HBITMAP>>;
using UniqueFont = UniqueHandle<handle_traits::Gdi<HFONT>>;
using UniqueBrush = UniqueHandle<handle_traits::Gdi<HBRUSH>>;
using UniquePen = UniqueHandle<handle_traits::Gdi<HPEN>>;
using UniqueRegion = UniqueHandle<handle_traits::Gdi<HRGN>>;
using UniqueMemoryDc = UniqueHandle<handle_traits::MemoryDc>;
using UniqueIcon = UniqueHandle<handle_traits::Icon>;
using UniqueImageList = UniqueHandle<handle_traits::ImageList>;
using UniqueFindHandle = UniqueHandle<handle_traits::Find>;
using UniqueKernelHandle = UniqueHandle<handle_traits::Kernel>;
using UniqueFile = UniqueHandle<handle_traits::File>;
using UniqueRegKey = UniqueHandle<handle_traits::RegKey>;
using UniqueModule = UniqueHandle<handle_traits::Module>;
using UniqueMenu = UniqueHandle<handle_traits::Menu>;
using UniqueItemIdList = UniqueHandle<handle_traits::ItemIdList>;

// BeginPaint/EndPaint.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window) {
    dc_ = BeginPaint(window, &paint_);
    if (dc_) handle_counts::Add(handle_counts::Kind::Gdi, 1);
  }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  ~PaintDc() {
    EndPaint(window_, &paint_);
    if (dc_) handle_counts::Add(handle_counts::Kind::Gdi, -1);
  }
  HDC get() const { return dc_; }
  const RECT& PaintRect() const { return paint_.rcPaint; }

 private:
  HWND window_;  // borrowed
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// GetDC/ReleaseDC (client area) or GetWindowDC/ReleaseDC (whole window); the screen's with
// no window.
class WindowDc {
 public:
  explicit WindowDc(HWND window, bool wholeWindow = false)
      : window_(window), dc_(wholeWindow ? GetWindowDC(window) : GetDC(window)) {
    if (dc_) handle_counts::Add(handle_counts::Kind::Gdi, 1);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (!dc_) return;
    ReleaseDC(window_, dc_);
    handle_counts::Add(handle_counts::Kind::Gdi, -1);
  }
  HDC get() const { return dc_; }

 private:
  HWND window_;  // borrowed
  HDC dc_;
};

// SelectObject for the life of the scope.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() { SelectObject(dc_, old_); }

 private:
  HDC dc_;        // borrowed
  HGDIOBJ old_;   // borrowed: what was selected before
};

// SaveDC/RestoreDC.
class SavedDcState {
 public:
  explicit SavedDcState(HDC dc) : dc_(dc), state_(SaveDC(dc)) {}
  SavedDcState(const SavedDcState&) = delete;
  SavedDcState& operator=(const SavedDcState&) = delete;
  ~SavedDcState() { RestoreDC(dc_, state_); }

 private:
  HDC dc_;  // borrowed
  int state_;
};

// Owning pointer to a COM interface.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }
  ~ComPtr() { Reset(); }
  T* operator->() const { return p_; }
  T* Get() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For functions that hand out a new reference through T**.
  T** Receive() {
    Reset();
    return &p_;
  }
  void Reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }

 private:
  T* p_ = nullptr;
};

// CoInitializeEx/CoUninitialize for a thread.
class ComInitialization {
 public:
  ComInitialization() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
  ComInitialization(const ComInitialization&) = delete;
  ComInitialization& operator=(const ComInitialization&) = delete;
  ~ComInitialization() {
    if (ok_) OleUninitialize();
  }

 private:
  bool ok_;
};
