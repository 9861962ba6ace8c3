#pragma once

#include <cstdint>
#include <string>

// An item of the window's popup menu, named as a desktop names a menu command: by a number, here
// its place in the menu counted from 1.
enum class MenuItemId : std::uint16_t { none = 0 };

// What the window model asks of the real top-level window.
class WindowHost {
 public:
  virtual ~WindowHost() = default;
  virtual void setCaption(const std::string& caption) = 0;
  virtual void setOuterWidthTwips(int twips) = 0;
  virtual void makeTopmost() = 0;
  virtual void show() = 0;  // modeless; leaves a minimised window minimised
  virtual void hide() = 0;
  virtual void repaintNow() = 0;
  virtual bool isVisible() const = 0;
  virtual bool isMinimized() const = 0;
  virtual void restore() = 0;  // from minimised to normal
  // Opens the window's popup menu at the mouse pointer, with one item drawn as the default or
  // none; returns when the menu has closed, after a chosen item's click handler ran.
  virtual void popupMenu(MenuItemId defaultItem) = 0;
  virtual std::uint32_t nativeHandle() const = 0;
  virtual std::uint32_t iconHandle() const = 0;
};
