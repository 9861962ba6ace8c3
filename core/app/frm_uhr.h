#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/app/controls/command_button.h"
#include "core/app/controls/frame.h"
#include "core/app/controls/label.h"
#include "core/app/controls/menu_item.h"
#include "core/app/controls/option_button.h"
#include "core/app/controls/text_box.h"
#include "core/app/controls/timer.h"
#include "core/ports/platform.h"
#include "core/ports/tray_data.h"

enum class NumberUse;

// The clock window: every control, the popup menu tree, the state the handlers share, and the
// handlers themselves. Handlers are defined in the folder of the subsystem they belong to.
class frmUhr {
 public:
  static constexpr const char* designCaption = "Die Lurvendel";
  static constexpr const char* applicationTitle = "Borrimax";
  static constexpr int compactWidthTwips = 4480;
  static constexpr int designClientWidthTwips = 6495;
  static constexpr int designClientHeightTwips = 2655;
  static constexpr int tickIntervalMs = 100;

  explicit frmUhr(Platform& platform);
  frmUhr(const frmUhr&) = delete;
  frmUhr& operator=(const frmUhr&) = delete;

  // Every positioned control, containers before what they contain.
  std::vector<Control*> controls();

  // Window events, raised by the platform.
  void Form_Load();   // start-up: fills the displays, shows the window, starts Timer1
  void Form_Paint();  // the window is painted: the seconds display catches up
  // A close request from any source. It returns only when the user chose to keep the program
  // running; otherwise the program ends inside it.
  void requestClose();
  // Whether a close request asks first (an alarm is armed) rather than ending at once.
  bool closeAsks() const;
  // What the icon's tip says while an alarm is armed; also why the clock holds up a session's end.
  std::string armedAlarmText() const;

  // The mouse moving over the window: it only refreshes the icon's tip, wherever it passes.
  void Form_MouseMove(int button, int shift, float x, float y);
  // A mouse event of the notification icon, with its mouse code (iconMouse).
  void trayIconEvent(std::int32_t mouseMessage);

  static std::string infoText();

  // "Sprich" asked for from outside the window: a whole announcement, during which the schedule's
  // announcements wait; one that fell due meanwhile follows it, whole, with the time of its start.
  void speakForRequest();

  // The routines that every way into speech goes through.
  void PlayClip(std::int16_t id);  // one clip to its end, then pending events once
  void SpeakTime();                // hour, minutes and seconds as the displays show them

  OptionGroup Frame2Options;  // the five option buttons of Frame2, one selected

  Label Label1;                         // "Alarmausgabe um: …", while an alarm is armed
  Label Label7;                         // the alarm's countdown
  Frame Frame1;                         // "Time": the three displays
  Label Label4;                         // hour display
  std::array<Label, 2> Label3;          // the colons between the displays
  Label Label5;                         // minute display
  Label Label6;                         // second display
  Frame Frame2;                         // "Ansage jede": interval or alarm mode
  std::array<OptionButton, 4> Option1;  // "1 min", "5 min", "15 min", "30 min"
  OptionButton Option2;                 // "Alarm": alarm mode
  Frame Frame3;                         // "Alarmzeit": the alarm entry, in the wide window only
  TextBox Text5;                        // alarm time entry, HH:MM:SS
  CommandButton Command2;               // "+1": alarm time one minute later
  CommandButton Command3;               // "+5"
  CommandButton Command4;               // "+15"
  CommandButton Command5;               // "Alarm übernehmen": arms the alarm
  CommandButton Command6;               // "ohne Alarm zurück": leaves alarm mode
  Label Label2;                         // weekday and date
  CommandButton Command7;               // "I": help and info
  CommandButton Command1;               // "Sprich": speaks the time
  CommandButton Command8;               // "Verbergen": hides to the notification icon
  Timer Timer1;                         // the clock tick, every 100 ms

  MenuItem mnuPopUp;     // the notification icon's popup menu; the window has no menu bar
  MenuItem mnuEins;      // "Ansage jede 1 min"
  MenuItem mnuFünf;      // "Ansage jede 5 min"
  MenuItem mnuFünz;      // "Ansage jede 15 min"
  MenuItem mnuDreissig;  // "Ansage jede 30 min"
  MenuItem mnuAlarm;     // "Alarm aktiv !", shown while an alarm is armed; does nothing
  MenuItem linie1;       // separator
  MenuItem mnuAnzeige;   // "Uhr Anzeigen": the window back from the icon
  MenuItem linie3;       // separator
  MenuItem mnuInfo;      // "Info"
  MenuItem line2;        // separator
  MenuItem mnuExit;      // "Exit"

  std::int16_t sayHourOnly = 0;   // 1: the next announcement ends after "Uhr"
  std::int16_t clockStarted = 0;  // 1 after start-up's own minute change: the signal plays
  std::int16_t alarmArmed = 0;    // 1 while an alarm is armed
  int alarmTime = 0;              // the alarm's time, seconds since midnight; 0 means none

  TrayData trayData;  // the notification icon's record, of the module Tray
  // The image of the clip being played, a view into the clip store (module Modul1).
  std::span<const std::uint8_t> clipBuffer;

 private:
  void wireEvents();

  // Start-up and shutdown (app/startup.cpp).
  void Form_QueryUnload(bool& cancel);  // asks while an alarm is armed; removes the icon
  void Form_Unload();                   // hides the window and ends the program
  void ShowForm();                      // shows the window and redraws it at once
  void mnuExit_Click();                 // "Exit"

  // The clock tick (app/clock_tick.cpp).
  void Timer1_Timer();  // countdown, displays, entry, alarm
  void refreshDateLine();

  // Speech (speech/).
  void playNumber(int value, NumberUse use);
  void Command1_Click();  // "Sprich": "Es ist" and the time

  // Announcements and the interval (schedule/).
  void Label4_Change();  // a new hour: the window comes back, the hour is announced
  void Label5_Change();  // a new minute: announced when the interval says so
  void Label6_Change();  // a new second: nothing
  int announcementInterval() const;
  // While a request from outside is spoken: keeps what the schedule calls for until its end.
  bool holdAnnouncement(bool hourOnly);
  void Option1_Click(std::int16_t index);  // an interval chosen: leaves alarm mode
  void mnuEins_Click();                    // "Ansage jede 1 min"
  void mnuFünf_Click();                    // "Ansage jede 5 min"
  void mnuFünz_Click();                    // "Ansage jede 15 min"
  void mnuDreissig_Click();                // "Ansage jede 30 min"
  // The interval items in the order of the option buttons.
  std::array<MenuItem*, 4> intervalMenuItems();

  // The alarm (alarm/).
  void Option2_Click();                        // "Alarm": alarm mode, the wide window
  void Text5_Click();                          // the entry clicked: "Alarm übernehmen" enabled
  void Text5_KeyPress(std::int16_t& keyCode);  // lets digits, ':' and Backspace through
  void Command2_Click();                       // "+1"
  void Command3_Click();                       // "+5"
  void Command4_Click();                       // "+15"
  void stepEntry(int minutes);
  void Command5_Click();  // "Alarm übernehmen"
  void armAlarm(const std::string& entry, int time);
  void rejectEntry();
  void Command6_Click();  // "ohne Alarm zurück"
  void countdownStep();
  void alarmStep();
  void fireAlarm();
  void setCaption(const std::string& caption);

  // The notification icon and the info message (tray/, info/).
  void Command8_Click();    // "Verbergen"
  void mnuAnzeige_Click();  // "Uhr Anzeigen"
  void refreshTip();
  void Command7_Click();  // "I": the help and info box
  void mnuInfo_Click();   // "Info": presses "I"

  Platform& platform_;
  std::string caption_ = designCaption;
  int dateShown_ = 0;  // yyyymmdd of the date line
  // The armed alarm's due moment: the first second after its time's next occurrence, on the
  // local calendar, so that it fires once, at the right day, also after a clock jump.
  std::int64_t alarmDueAt = 0;
  bool fireSequenceRunning = false;
  bool holdingAnnouncements = false;  // a request from outside is spoken
  enum class Held { none, minute, hour } heldAnnouncement = Held::none;
  // Kept between icon events.
  std::int32_t trayMessage = 0;  // the last mouse code
  bool trayBusy = false;         // an icon action runs: further clicks are dropped
};
