#pragma once

#include <utility>

// Owns one handle of the system's (a descriptor, a kernel object, a GDI object, a sound device)
// and frees it once: when it goes, or when it is given another. Move-only. The traits name the
// handle's type, the value that holds nothing, whether a value holds something, and how to free it.
template <typename Traits>
class UniqueResource {
 public:
  using Handle = typename Traits::Handle;

  UniqueResource() = default;
  explicit UniqueResource(Handle handle) : handle_(handle) {}
  UniqueResource(UniqueResource&& other) noexcept : handle_(other.release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~UniqueResource() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return Traits::holds(handle_); }
  // Gives the handle up without freeing it.
  Handle release() { return std::exchange(handle_, Traits::empty()); }
  void reset(Handle handle = Traits::empty()) {
    const Handle old = std::exchange(handle_, handle);
    if (Traits::holds(old)) Traits::free(old);
  }

 private:
  Handle handle_ = Traits::empty();
};
