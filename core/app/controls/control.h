#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// Position and size in twips, relative to the container. A width of 0 on an auto-size
// control means "follow the text".
struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
};

struct FontChoice {
  std::string family;
  double points = 8;
  bool bold = false;
};

// How a control looks; empty fields take the window's defaults.
struct Look {
  std::optional<FontChoice> font;
  std::optional<Rgb> foreground;
  std::optional<Rgb> background;
  bool border = false;
  bool centred = false;
  bool autoSize = false;
};

// Which piece of state changed, so that a view redraws only that.
enum class Property { caption, text, visible, enabled, value, focus, repaintNow };

// A visible control of the window: its design data, its common state and the hook that
// mirrors state changes into whatever view shows it.
class Control {
 public:
  Control(std::string name, const Control* container, Bounds bounds, int tabIndex,
          std::string caption, Look look = {});
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  const std::string& name() const { return name_; }
  const Control* container() const { return container_; }
  const Bounds& bounds() const { return bounds_; }
  int tabIndex() const { return tabIndex_; }
  const Look& look() const { return look_; }
  const std::string& caption() const { return caption_; }

  bool visible() const { return visible_; }
  void setVisible(bool visible);
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);

  // Set by the view; called after a property changed.
  std::function<void(Property)> viewHook;
  // What a screen reader calls the control where its caption does not say what it is.
  std::string accessibleName;

 protected:
  void notifyView(Property property) const;
  std::string caption_;

 private:
  std::string name_;
  const Control* container_;
  Bounds bounds_;
  int tabIndex_;
  Look look_;
  bool visible_ = true;
  bool enabled_ = true;
};
