#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "app/controls/command_button.h"
#include "app/controls/frame.h"
#include "app/controls/label.h"
#include "app/controls/menu_item.h"
#include "app/controls/option_button.h"
#include "app/controls/text_box.h"
#include "app/controls/timer.h"
#include "platform/ports/platform.h"
#include "platform/ports/tray_data.h"

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
  void Form_Load();
  void Form_Paint();
  // A close request from any source. It returns only when the user chose to keep the program
  // running; otherwise the program ends inside it.
  void requestClose();
  // Whether a close request asks first (an alarm is armed) rather than ending at once.
  bool closeAsks() const;

  // The mouse moving over the window: it only refreshes the icon's tip, wherever it passes.
  void Form_MouseMove(int button, int shift, float x, float y);
  // A mouse event of the notification icon, with its mouse code (iconMouse).
  void trayIconEvent(std::int32_t mouseMessage);

  static std::string infoText();

  // The routines that every way into speech goes through.
  void PlayClip(std::int16_t id);
  void SpeakTime();

  OptionGroup Frame2Options;

  Label Label1;
  Label Label7;
  Frame Frame1;
  Label Label4;
  std::array<Label, 2> Label3;
  Label Label5;
  Label Label6;
  Frame Frame2;
  std::array<OptionButton, 4> Option1;
  OptionButton Option2;
  Frame Frame3;
  TextBox Text5;
  CommandButton Command2;
  CommandButton Command3;
  CommandButton Command4;
  CommandButton Command5;
  CommandButton Command6;
  Label Label2;
  CommandButton Command7;
  CommandButton Command1;
  CommandButton Command8;
  Timer Timer1;

  MenuItem mnuPopUp;
  MenuItem mnuEins;
  MenuItem mnuFünf;
  MenuItem mnuFünz;
  MenuItem mnuDreissig;
  MenuItem mnuAlarm;
  MenuItem linie1;
  MenuItem mnuAnzeige;
  MenuItem linie3;
  MenuItem mnuInfo;
  MenuItem line2;
  MenuItem mnuExit;

  std::int16_t sayHourOnly = 0;
  std::int16_t clockStarted = 0;
  std::int16_t alarmArmed = 0;
  int alarmTime = 0;  // seconds since midnight; 0 means none

  TrayData trayData;
  // The image of the clip being played; the audio output reads it while it plays.
  std::vector<std::uint8_t> clipBuffer;

 private:
  void wireEvents();

  // Start-up and shutdown (app/startup.cpp).
  void Form_QueryUnload(bool& cancel);
  void Form_Unload();
  void ShowForm();
  void mnuExit_Click();

  // The clock tick (app/clock_tick.cpp).
  void Timer1_Timer();
  void refreshDateLine();

  // Speech (speech/).
  void playNumber(int value, NumberUse use);
  void Command1_Click();

  // Announcements and the interval (schedule/).
  void Label4_Change();
  void Label5_Change();
  void Label6_Change();
  int announcementInterval() const;
  void Option1_Click(std::int16_t index);
  void mnuEins_Click();
  void mnuFünf_Click();
  void mnuFünz_Click();
  void mnuDreissig_Click();
  // The interval items in the order of the option buttons.
  std::array<MenuItem*, 4> intervalMenuItems();

  // The alarm (alarm/).
  void Option2_Click();
  void Text5_Click();
  void Text5_KeyPress(std::int16_t& keyCode);
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void stepEntry(int minutes);
  void Command5_Click();
  void armAlarm(const std::string& entry, int time);
  void rejectEntry();
  void Command6_Click();
  void countdownStep();
  void alarmStep();
  void fireAlarm();
  void setCaption(const std::string& caption);

  // The notification icon and the info message (tray/, info/).
  void Command8_Click();
  void mnuAnzeige_Click();
  void refreshTip();
  void Command7_Click();
  void mnuInfo_Click();

  Platform& platform_;
  std::string caption_ = designCaption;
  int dateShown_ = 0;  // yyyymmdd of the date line
  // The armed alarm's due moment: the first second after its time's next occurrence, on the
  // local calendar, so that it fires once, at the right day, also after a clock jump.
  std::int64_t alarmDueAt = 0;
  bool fireSequenceRunning = false;
  // Kept between icon events: the last mouse code, and whether an icon action is running.
  std::int32_t trayMessage = 0;
  bool trayBusy = false;
};
