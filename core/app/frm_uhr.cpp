#include "core/app/frm_uhr.h"

#include <functional>
#include <initializer_list>
#include <utility>

namespace {

constexpr Rgb darkGreen{0, 128, 0};
constexpr Rgb green{0, 255, 0};
constexpr Rgb black{0, 0, 0};

Look autoSized(std::optional<Rgb> foreground = {}, std::optional<FontChoice> font = {}) {
  Look look;
  look.foreground = foreground;
  look.font = std::move(font);
  look.autoSize = true;
  return look;
}

// Green digits on black in a serif face: the displays and the alarm entry.
Look digitLook(double points, bool bold, bool border) {
  Look look;
  look.font = FontChoice{"Times New Roman", points, bold};
  look.foreground = green;
  look.background = black;
  look.border = border;
  look.centred = true;
  return look;
}

const Look alarmLineLook = autoSized(darkGreen);
const Look displayLook = digitLook(36, false, true);
const Look colonLook = autoSized({}, FontChoice{"Times New Roman", 27.75, true});
const Look entryLook = digitLook(12, true, false);

}  // namespace

frmUhr::frmUhr(Platform& platform)
    : Label1("Label1", nullptr, {120, 20, 1305, 195}, 15, "Alarmausgabe um:", alarmLineLook),
      Label7("Label7", nullptr, {2720, 20, 1485, 195}, 23, "Countdown 00:00:00", alarmLineLook),
      Frame1("Frame1", nullptr, {120, 260, 4120, 1335}, 0, "Time"),
      Label4("Label4", &Frame1, {240, 240, 975, 975}, 20, "Labeel4", displayLook),
      Label3{Label("Label3(0)", &Frame1, {1310, 360, 180, 630}, 2, ":", colonLook),
             Label("Label3(1)", &Frame1, {2620, 360, 180, 630}, 1, ":", colonLook)},
      Label5("Label5", &Frame1, {1560, 240, 975, 975}, 21, "Label5", displayLook),
      Label6("Label6", &Frame1, {2880, 240, 975, 975}, 22, "00", displayLook),
      Frame2("Frame2", nullptr, {120, 1620, 4120, 615}, 3, "Ansage jede"),
      Option1{
          OptionButton("Option1(0)", &Frame2, {120, 240, 855, 255}, 4, "1 min", Frame2Options),
          OptionButton("Option1(1)", &Frame2, {840, 240, 735, 255}, 5, "5 min", Frame2Options),
          OptionButton("Option1(2)", &Frame2, {1560, 240, 855, 255}, 6, "15 min", Frame2Options),
          OptionButton("Option1(3)", &Frame2, {2400, 240, 855, 255}, 7, "30 min", Frame2Options)},
      Option2("Option2", &Frame2, {3240, 240, 735, 255}, 16, "Alarm", Frame2Options),
      Frame3("Frame3", nullptr, {4395, 260, 2055, 1935}, 9, "Alarmzeit"),
      Text5("Text5", &Frame3, {480, 240, 975, 405}, 10, "", 8, entryLook),
      Command2("Command2", &Frame3, {120, 720, 495, 255}, 11, "+1"),
      Command3("Command3", &Frame3, {765, 720, 495, 255}, 12, "+5"),
      Command4("Command4", &Frame3, {1440, 720, 495, 255}, 13, "+15"),
      Command5("Command5", &Frame3, {120, 1200, 1815, 255}, 14, "Alarm übernehmen"),
      Command6("Command6", &Frame3, {120, 1560, 1815, 255}, 17, "ohne Alarm zurück"),
      Label2("Label2", nullptr, {120, 2370, 0, 195}, 19, "", autoSized()),
      Command7("Command7", nullptr, {2100, 2340, 255, 285}, 18, "I"),
      Command1("Command1", nullptr, {2460, 2340, 690, 285}, 8, "Sprich"),
      Command8("Command8", nullptr, {3240, 2340, 975, 285}, 24, "Verbergen"),
      mnuPopUp("mnuPopUp", "PopUp_Menu", {.visible = false}),
      mnuEins("mnuEins", "Ansage jede 1 min"),
      mnuFünf("mnuFünf", "Ansage jede 5 min"),
      mnuFünz("mnuFünz", "Ansage jede 15 min", {.checked = true}),
      mnuDreissig("mnuDreissig", "Ansage jede 30 min"),
      mnuAlarm("mnuAlarm", "Alarm aktiv !", {.visible = false}),
      linie1(MenuItem::separator("linie1")),
      mnuAnzeige("mnuAnzeige", "Uhr Anzeigen"),
      linie3(MenuItem::separator("linie3")),
      mnuInfo("mnuInfo", "Info"),
      line2(MenuItem::separator("line2")),
      mnuExit("mnuExit", "Exit"),
      platform_(platform) {
  Label1.setVisible(false);
  Label7.setVisible(false);
  Command5.setEnabled(false);
  Frame2Options.select(Option1[2]);
  Label4.accessibleName = "Stunden";
  Label5.accessibleName = "Minuten";
  Label6.accessibleName = "Sekunden";
  Text5.accessibleName = "Alarmzeit";
  Command2.accessibleName = "Alarmzeit plus 1 Minute";
  Command3.accessibleName = "Alarmzeit plus 5 Minuten";
  Command4.accessibleName = "Alarmzeit plus 15 Minuten";
  Command7.accessibleName = "Info";
  for (MenuItem* item : {&mnuEins, &mnuFünf, &mnuFünz, &mnuDreissig, &mnuAlarm, &linie1,
                         &mnuAnzeige, &linie3, &mnuInfo, &line2, &mnuExit}) {
    mnuPopUp.add(*item);
  }
  wireEvents();
}

std::vector<Control*> frmUhr::controls() {
  return {&Label1, &Label7,   &Frame1,     &Label4,     &Label3[0],  &Label5,     &Label3[1],
          &Label6, &Frame2,   &Option1[0], &Option1[1], &Option1[2], &Option1[3], &Option2,
          &Frame3, &Text5,    &Command2,   &Command3,   &Command4,   &Command5,   &Command6,
          &Label2, &Command7, &Command1,   &Command8};
}

void frmUhr::wireEvents() {
  using Event = std::pair<std::function<void()>*, void (frmUhr::*)()>;
  // Every event whose handler takes nothing.
  for (const auto& [event, handler] :
       std::initializer_list<Event>{{&Label4.onChange, &frmUhr::Label4_Change},
                                    {&Label5.onChange, &frmUhr::Label5_Change},
                                    {&Label6.onChange, &frmUhr::Label6_Change},
                                    {&Timer1.onTimer, &frmUhr::Timer1_Timer},
                                    {&Command1.onClick, &frmUhr::Command1_Click},
                                    {&Option2.onClick, &frmUhr::Option2_Click},
                                    {&Text5.onClick, &frmUhr::Text5_Click},
                                    {&Command2.onClick, &frmUhr::Command2_Click},
                                    {&Command3.onClick, &frmUhr::Command3_Click},
                                    {&Command4.onClick, &frmUhr::Command4_Click},
                                    {&Command5.onClick, &frmUhr::Command5_Click},
                                    {&Command6.onClick, &frmUhr::Command6_Click},
                                    {&Command7.onClick, &frmUhr::Command7_Click},
                                    {&Command8.onClick, &frmUhr::Command8_Click},
                                    {&mnuEins.onClick, &frmUhr::mnuEins_Click},
                                    {&mnuFünf.onClick, &frmUhr::mnuFünf_Click},
                                    {&mnuFünz.onClick, &frmUhr::mnuFünz_Click},
                                    {&mnuDreissig.onClick, &frmUhr::mnuDreissig_Click},
                                    {&mnuAnzeige.onClick, &frmUhr::mnuAnzeige_Click},
                                    {&mnuInfo.onClick, &frmUhr::mnuInfo_Click},
                                    {&mnuExit.onClick, &frmUhr::mnuExit_Click}}) {
    *event = [this, handler] { (this->*handler)(); };
  }
  for (std::int16_t i = 0; i < static_cast<std::int16_t>(Option1.size()); ++i) {
    Option1[static_cast<size_t>(i)].onClick = [this, i] { Option1_Click(i); };
  }
  Text5.onKeyPress = [this](std::int16_t& keyCode) { Text5_KeyPress(keyCode); };
}
