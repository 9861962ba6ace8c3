#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/app/frm_uhr.h"
#include "platform/sim/sim_clock.h"

// Thrown by the simulated end of the program: it unwinds every handler up to the loop that ran
// it, as a real end stops the process at once.
struct ProgramEnded {};

// Every port of the window model, simulated: virtual time, a pump that delivers due ticks and
// scripted user actions, scripted answers for message boxes, an audio output that lets virtual
// time pass for each clip, and a window and tray that record what they are asked to do.
// Everything seen lands in one trace, in order.
class SimPlatform : public EventPump,
                    public Dialogs,
                    public WindowHost,
                    public TrayHost,
                    public InstanceLock,
                    public ProgramEnd,
                    public AudioOutput {
 public:
  SimPlatform();

  Platform& ports() { return ports_; }

  // Records the form's control changes in the trace and drives its timer.
  void attach(frmUhr& form);

  // A user action at a virtual time; it runs at the first pump point or loop turn at or after it.
  void at(std::int64_t ms, std::function<void()> action);
  // Runs the event loop until then, or until the program ends.
  void runUntil(std::int64_t ms);
  // Runs one event in the loop's place: the program may end inside it. Back at the loop, the
  // calls that wait for quiet run.
  void deliver(const std::function<void()>& event);
  // Runs a call at the loop once no handler runs: not at a pump point, not in a dialog or menu.
  void whenQuiet(std::function<void()> call);
  void runFor(std::int64_t ms) { runUntil(clock.ms() + ms); }
  // Moves the wall clock as a resume from suspend or a clock set by hand does; the timer, which
  // counts elapsed time, ticks on from there.
  void setTimeOfDay(int hour, int minute, int second);

  // Trace entries that start with the prefix, in order.
  std::vector<std::string> traced(const std::string& prefix) const;
  // When the entry was first traced, or -1.
  std::int64_t timeOf(const std::string& entry) const;

  // The loop, the program's end, the single instance.
  void processPendingEvents() override;
  [[noreturn]] void endProgram() override;
  bool anotherInstanceRunning() override { return otherInstance; }
  // Dialogs and menus, answered as scripted below.
  msgbox::Answer messageBox(const std::string& text, int style, const std::string& title) override;
  void popupMenu(MenuItemId defaultItem) override;
  // The window, which records what it is asked: its caption, width and place,
  void setCaption(const std::string& caption) override;
  void setOuterWidthTwips(int twips) override;
  void makeTopmost() override;
  std::uint32_t nativeHandle() const override { return windowHandle; }
  std::uint32_t iconHandle() const override { return iconHandleValue; }
  // and whether it shows.
  void show() override;
  void hide() override;
  void restore() override;
  bool isVisible() const override { return visible; }
  bool isMinimized() const override { return minimized; }
  void repaintNow() override;
  // The notification area and the sound.
  void notifyIcon(Message message, const Record& record) override;
  bool iconShown() const override { return iconShownNow; }
  void play(std::int16_t id, const PcmClip& sound) override;

  struct PlayedClip {
    std::int64_t start;
    std::int64_t end;
    std::int16_t id;
    PcmFormat format;
  };
  // Clip ids played since the given index, in order.
  std::vector<std::int16_t> clipIds(size_t from = 0) const;

  SimClock clock;
  std::vector<std::string> trace;
  std::vector<std::int64_t> traceTimes;  // when each trace entry was made
  // Ticks as the real platforms lay them: at each second, and within an interval after a user
  // action, a clock jump or the timer switched on; otherwise every interval, as the timer says.
  bool ticksAtSecondsOnly = false;
  int ticks = 0;
  int tickDepth = 0;
  int maxTickDepth = 0;

  std::vector<PlayedClip> played;

  // Scripted answers, one per box; a yes/no box with no script left answers no.
  std::deque<msgbox::Answer> answers;
  // How long the user leaves each box open; events keep running meanwhile.
  std::int64_t dialogOpenMs = 0;

  bool otherInstance = false;
  bool ended = false;
  bool visible = false;
  bool minimized = false;
  std::string caption = frmUhr::designCaption;
  bool topmost = false;
  bool iconShownNow = false;
  TrayData iconRecord;  // what the icon shows: the record it was added with
  bool trayAvailable = true;

  // What the user does in each popup menu: the name of the item chosen, or "" to dismiss it;
  // the menu stays open for menuOpenMs while events keep running.
  std::deque<std::string> menuChoices;
  std::int64_t menuOpenMs = 0;
  int outerWidthTwips = 0;
  static constexpr std::uint32_t windowHandle = 0x1234;
  static constexpr std::uint32_t iconHandleValue = 0x5678;

 private:
  void log(std::string entry);
  void runHandler(const std::function<void()>& event);
  void armTimer(std::int64_t step);
  void tickAfterUserAction();
  void runDueActions();
  void runDueTick();
  std::int64_t nextEventTime() const;

  Platform ports_;
  frmUhr* form_ = nullptr;
  std::multimap<std::int64_t, std::function<void()>> actions_;
  std::int64_t tickDue_ = -1;
  std::deque<std::function<void()>> quiet_;
  int handlerDepth_ = 0;
};
