#pragma once

#include <cstdint>

// What the window model asks of the real top-level window.
class WindowHost {
 public:
  virtual ~WindowHost() = default;
  virtual void setOuterWidthTwips(int twips) = 0;
  virtual void makeTopmost() = 0;
  virtual void show() = 0;  // modeless; leaves a minimised window minimised
  virtual void repaintNow() = 0;
  virtual void destroy() = 0;
  virtual std::uint32_t nativeHandle() const = 0;
  virtual std::uint32_t iconHandle() const = 0;
};
