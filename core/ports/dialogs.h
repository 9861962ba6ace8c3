#pragma once

#include <string>

// Message-box style values and answers in the classic numbering the handlers use.
namespace msgbox {
inline constexpr int okOnly = 0;
inline constexpr int yesNo = 4;
inline constexpr int critical = 16;
inline constexpr int question = 32;
inline constexpr int exclamation = 48;
inline constexpr int information = 64;

enum class Answer { ok = 1, yes = 6, no = 7 };
}  // namespace msgbox

// Modal message boxes; the caller blocks until the box is closed while events keep running.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual msgbox::Answer messageBox(const std::string& text, int style,
                                    const std::string& title) = 0;
};
