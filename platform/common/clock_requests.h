#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What another process of the same user may ask of the running clock, and what comes of it.
namespace clockCommand {
inline constexpr std::string_view speak = "sprich";
inline constexpr std::string_view show = "anzeigen";
// The clock ends as its window's close ends it: with an alarm armed it asks first.
inline constexpr std::string_view quit = "beenden";
// The clock ends unless an alarm is armed, asking nothing.
inline constexpr std::string_view quitWithoutAsking = "beenden-ohne-frage";

bool isQuit(std::string_view command);
}  // namespace clockCommand

// What the running clock makes of a command: taken; busy (too much waits, or, for a quit, it is
// speaking or a box or menu is open: ask again soon); kept (a quit that leaves it running, for its
// armed alarm); or no answer, or no clock there. A clock that quits answers nothing: it is gone.
enum class ClockAnswer { taken, busy, kept, silent, noClock };

// What a start finds of the one clock a user may run: it holds the claim now, another clock of
// the user's holds it, or none can be had (then it runs all the same rather than never).
enum class ClaimOutcome { claimed, heldByClock, nowhere };

// The way to the running clock, as each platform offers it.
class ClockContact {
 public:
  virtual ~ClockContact() = default;
  // Whether a clock of this user's can be asked now.
  virtual bool clockAnswers() = 0;
  // Takes the claim of the one clock for this process, unless a clock holds it.
  virtual ClaimOutcome claim() = 0;
  virtual ClockAnswer ask(std::string_view command) = 0;
  // One line for the user that started this process.
  virtual void complain(const std::string& line) = 0;
};

// The commands carried out one after the other by the running clock of this user's: the exit
// status, 0 when it took them all, else 1 after one line that says why. Nothing when no clock
// runs and the claim was had: this process is to be the clock, unless it was to end one (then 0).
// A clock that is just starting or ending holds its claim without answering; it is given ten
// seconds to do either. A quit is done when the clock is gone.
std::optional<int> handOverToRunningClock(const std::vector<std::string_view>& commands,
                                          ClockContact& contact);
