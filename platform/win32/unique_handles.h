#pragma once

#include "platform/common/unique_resource.h"
#include "platform/win32/windows_headers.h"

// The owners of Windows' handles, each freed as its kind is: move-only, no copies.

// A handle whose empty value is null, freed by the given function.
template <typename H, auto freeHandle>
struct NullableHandleTraits {
  using Handle = H;
  static Handle empty() { return nullptr; }
  static bool holds(Handle handle) { return handle != nullptr; }
  static void free(Handle handle) { freeHandle(handle); }
};

// A kernel object (event, mutex, process, token, file); the calls that open one give null or
// INVALID_HANDLE_VALUE for none.
struct KernelHandleTraits : NullableHandleTraits<HANDLE, CloseHandle> {
  static bool holds(HANDLE handle) { return handle && handle != INVALID_HANDLE_VALUE; }
};
using UniqueHandle = UniqueResource<KernelHandleTraits>;

template <typename Object>
using UniqueGdiObject = UniqueResource<NullableHandleTraits<Object, DeleteObject>>;
using UniqueMenu = UniqueResource<NullableHandleTraits<HMENU, DestroyMenu>>;
using UniqueHook = UniqueResource<NullableHandleTraits<HHOOK, UnhookWindowsHookEx>>;
// Memory the system handed over with LocalAlloc.
template <typename Pointer>
using UniqueLocal = UniqueResource<NullableHandleTraits<Pointer, LocalFree>>;

// A window's device context (the screen's, for no window), released when it goes.
class ScopedDc {
 public:
  explicit ScopedDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~ScopedDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  ScopedDc(const ScopedDc&) = delete;
  ScopedDc& operator=(const ScopedDc&) = delete;

  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};
