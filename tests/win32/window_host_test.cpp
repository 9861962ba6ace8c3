#include <functional>
#include <gtest/gtest.h>
#include <oleacc.h>
#include <string>
#include <thread>
#include <vector>

#include "core/app/frm_uhr.h"
#include "core/app/vocabulary.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_clock_program.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_window_host.h"
#include "support/alarm_actions.h"
#include "win32/desktop.h"

namespace {

struct NoOtherClock : InstanceLock {
  bool anotherInstanceRunning() override { return false; }
};

// The clock on the real controls, shown and in front, as a user finds it.
struct ShownClock {
  ShownClock() {
    clock.start();
    SetForegroundWindow(window());
    EXPECT_TRUE(runMessagesUntil([&] { return GetForegroundWindow() == window(); }, 5000));
  }
  HWND window() { return clock.window().handle(); }
  HWND handleOf(const Control& control) { return clock.window().controlHandle(control); }
  std::string focused() {
    for (const Control* control : form.controls()) {
      if (handleOf(*control) == GetFocus()) return control->name();
    }
    return "nothing";
  }

  NoOtherClock lock;
  Win32ClockProgram clock{lock};
  frmUhr& form = clock.form();
};

void putOnClipboard(const std::wstring& text) {
  OpenClipboard(nullptr);
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  text.copy(static_cast<wchar_t*>(GlobalLock(memory)), text.size());
  static_cast<wchar_t*>(GlobalLock(memory))[text.size()] = L'\0';
  GlobalUnlock(memory);
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
}

// Answers the next message box of this process from another thread, as a user would: the
// captions of its buttons, then what the user does to it.
std::vector<std::wstring> answerBox(const std::function<void(HWND box)>& answer) {
  HWND box = nullptr;
  while (!(box = FindWindowW(L"#32770", nullptr)) || GetForegroundWindow() != box) Sleep(10);
  std::vector<std::wstring> captions;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (std::wstring(className) == L"Button") captions.push_back(windowText(child));
  }
  answer(box);
  return captions;
}

}  // namespace

// Whatever way text enters the alarm entry, only digits and ":" get in, up to eight characters;
// keys that type nothing keep working. Each row starts from "12:34" with the caret at the end.
TEST(Win32WindowHost, TheAlarmEntryTakesOnlyWhatATimeIsMadeOf) {
  struct Row {
    const char* what;
    std::function<void(HWND entry)> input;
    const char* text;
  };
  const auto paste = [](const wchar_t* clip, std::function<void(HWND)> how) {
    return [clip, how](HWND entry) {
      putOnClipboard(clip);
      how(entry);
    };
  };
  const std::vector<Row> rows = {
      {"Backspace", [](HWND) { press(VK_BACK); }, "12:3"},
      {"Home, Delete",
       [](HWND) {
         press(VK_HOME);
         press(VK_DELETE);
       },
       "2:34"},
      {"Left, Delete",
       [](HWND) {
         press(VK_LEFT);
         press(VK_DELETE);
       },
       "12:3"},
      {"digits and a colon", [](HWND) { type(L":5"); }, "12:34:5"},
      {"letters, space, full stop, umlaut", [](HWND) { type(L"a .Zä"); }, "12:34"},
      {"beyond eight characters", [](HWND) { type(L"5678"); }, "12:34567"},
      {"Ctrl+A does nothing",
       [](HWND) {
         press('A', {VK_CONTROL});
         type(L"9");
       },
       "12:349"},
      {"text another program puts in",
       [](HWND entry) {
         SendMessageW(entry, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"é7\t"));
       },
       "12:347"},
      {"Ctrl+V", paste(L"x9 Uhr", [](HWND) { press('V', {VK_CONTROL}); }), "12:349"},
      {"the context menu's paste",
       paste(L"Weckzeit 07:30:00", [](HWND entry) { SendMessageW(entry, WM_PASTE, 0, 0); }),
       "12:3407:"},
  };
  ShownClock clock;
  clock.form.Option2.select();
  HWND entry = clock.handleOf(clock.form.Text5);
  for (const Row& row : rows) {
    clock.form.Text5.setText("12:34");
    SetFocus(entry);
    SendMessageW(entry, EM_SETSEL, 5, 5);
    row.input(entry);
    runMessagesFor(50);
    EXPECT_EQ(windowText(entry), widen(row.text)) << row.what;
    EXPECT_EQ(clock.form.Text5.text(), row.text) << row.what;
    EXPECT_EQ(clock.focused(), "Text5") << row.what;
  }
}

// Tab and Shift+Tab follow the layout's tab indexes, the option group being one stop at its
// selected button (the arrows move inside it); what lies out of view or is disabled is passed
// over.
TEST(Win32WindowHost, TabAndShiftTabGoRoundTheControlsInTheDesignedOrder) {
  ShownClock clock;
  const auto round = [&](std::vector<WORD> modifiers, int steps) {
    SetFocus(clock.handleOf(clock.form.Command8));
    std::vector<std::string> seen;
    for (int i = 0; i < steps; ++i) {
      press(VK_TAB, modifiers);
      seen.push_back(clock.focused());
    }
    return seen;
  };
  using Order = std::vector<std::string>;
  EXPECT_EQ(round({}, 4), (Order{"Option1(2)", "Command1", "Command7", "Command8"}));
  EXPECT_EQ(round({VK_SHIFT}, 4), (Order{"Command7", "Command1", "Option1(2)", "Command8"}));
  press(VK_TAB);
  press(VK_RIGHT);
  EXPECT_EQ(clock.focused(), "Option1(3)");
  runMessagesFor(50);
  EXPECT_TRUE(clock.form.Option1[3].value()) << "the arrow selects, as a click does";

  clock.form.Option2.select();
  clock.form.Command5.setEnabled(true);
  const Order wide = {"Option2",  "Command1", "Text5",    "Command2", "Command3",
                      "Command4", "Command5", "Command6", "Command7", "Command8"};
  EXPECT_EQ(round({}, 10), wide);
  Order back(wide.rbegin() + 1, wide.rend());
  back.push_back("Command8");
  EXPECT_EQ(round({VK_SHIFT}, 10), back);
}

// The icon's clicks come back as the record's callback message, the window's mouse move, with the
// icon's id and the mouse message; they act only while the icon stands. A pointer passing those x
// positions over the window, hovering or dragging, never acts.
TEST(Win32WindowHost, OnlyTheIconsOwnMessagesActAsIconClicks) {
  ShownClock clock;
  clock.form.Option2.select();
  clock.form.clipBuffer = {};
  HWND display = clock.handleOf(clock.form.Label4);
  const auto iconClick = [&] {
    PostMessageW(clock.window(), WM_MOUSEMOVE, 1, WM_LBUTTONUP);
    return runMessagesUntil([&] { return !clock.form.clipBuffer.empty(); }, 2000);
  };
  for (const bool iconStands : {false, true}) {
    for (const int x : {300, int{iconMouse::leftButtonUp}, int{iconMouse::rightButtonUp}, 600}) {
      for (const WPARAM buttons : {WPARAM{0}, WPARAM{MK_LBUTTON}}) {
        SendMessageW(clock.window(), WM_MOUSEMOVE, buttons, MAKELPARAM(x, 40));
        SendMessageW(display, WM_MOUSEMOVE, buttons, MAKELPARAM(x, 5));
      }
    }
    runMessagesFor(200);
    EXPECT_TRUE(clock.form.clipBuffer.empty()) << "the time was spoken";
    EXPECT_EQ(FindWindowW(L"#32768", nullptr), nullptr) << "a menu opened";
    if (!iconStands) {
      EXPECT_FALSE(iconClick()) << "a click of an icon that does not stand";
      clock.form.Command8.press();
      ASSERT_TRUE(clock.clock.window().tray().iconShown());
      ShowWindow(clock.window(), SW_SHOWNA);  // as an hour's change brings it back
    }
  }
  SetCursorPos(0, 0);  // where the shell's message says the pointer was: over no window of ours
  EXPECT_TRUE(iconClick()) << "the icon's left click did not speak";
}

// A part the desktop refuses is said in one line where the starter reads errors, only when asked
// for with LURVENDEL_DEBUG=1: here a second icon for the window and id of one that stands.
TEST(Win32TrayHost, AnIconRefusedIsSaidWhenAskedFor) {
  ShownClock clock;
  clock.form.Command8.press();
  ASSERT_TRUE(clock.clock.window().tray().iconShown());
  const HANDLE standardError = GetStdHandle(STD_ERROR_HANDLE);
  std::vector<std::string> said;
  for (const char* debug : {"LURVENDEL_DEBUG=", "LURVENDEL_DEBUG=1"}) {
    _putenv(debug);
    HANDLE reader = nullptr, writer = nullptr;
    CreatePipe(&reader, &writer, nullptr, 4096);
    SetStdHandle(STD_ERROR_HANDLE, writer);
    Win32TrayHost second;
    second.notifyIcon(TrayHost::Message::add, clock.form.trayData.bytes());
    EXPECT_FALSE(second.iconShown());
    SetStdHandle(STD_ERROR_HANDLE, standardError);
    CloseHandle(writer);
    std::string line(256, '\0');
    DWORD length = 0;
    ReadFile(reader, line.data(), static_cast<DWORD>(line.size()), &length, nullptr);
    said.push_back(line.substr(0, length));
    CloseHandle(reader);
  }
  _putenv("LURVENDEL_DEBUG=");
  EXPECT_EQ(said,
            (std::vector<std::string>{
                "", "lurvendel: kein Symbol im Infobereich: Shell_NotifyIconW scheiterte\n"}));
}

// On a monitor of another scale every control stands where its twips say and the fonts are made
// anew; the alarm entry holds a whole time with the caret after it, at every scale.
TEST(Win32WindowHost, EachScaleLaysTheControlsOutFromTheirTwips) {
  ShownClock clock;
  clock.form.Option2.select();
  clock.form.Text5.setText("18:54:10");
  HWND entry = clock.handleOf(clock.form.Text5);
  for (const int dpi : {120, 192, 144, 96}) {
    RECT suggested{};
    GetWindowRect(clock.window(), &suggested);
    SendMessageW(clock.window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    const auto pixels = [dpi](int twips) { return MulDiv(twips, dpi, 1440); };
    for (const Control* control : clock.form.controls()) {
      const Bounds& b = control->bounds();
      const Control* frame = control->container();
      const int left = pixels(b.left) + (frame ? pixels(frame->bounds().left) : 0);
      const int top = pixels(b.top) + (frame ? pixels(frame->bounds().top) : 0);
      RECT at{};
      GetWindowRect(clock.handleOf(*control), &at);
      MapWindowPoints(nullptr, clock.window(), reinterpret_cast<POINT*>(&at), 2);
      EXPECT_EQ((std::vector{at.left, at.top}), (std::vector<LONG>{left, top}))
          << control->name() << " at " << dpi << " dpi";
      if (control->look().autoSize) continue;
      EXPECT_EQ((std::vector{at.right - at.left, at.bottom - at.top}),
                (std::vector<LONG>{pixels(b.width), pixels(b.height)}))
          << control->name() << " at " << dpi << " dpi";
    }
    const auto font = reinterpret_cast<HFONT>(SendMessageW(entry, WM_GETFONT, 0, 0));
    LOGFONTW description{};
    GetObjectW(font, sizeof description, &description);
    EXPECT_EQ(description.lfHeight, -MulDiv(12, dpi, 72)) << dpi << " dpi";
    SIZE text{};
    const HDC dc = GetDC(entry);
    SelectObject(dc, font);
    GetTextExtentPoint32W(dc, L"18:54:10", 8, &text);
    ReleaseDC(entry, dc);
    RECT room{};
    SendMessageW(entry, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
    EXPECT_GT(room.right - room.left, text.cx) << "the entry at " << dpi << " dpi";
    SendMessageW(entry, EM_SETSEL, 8, 8);
    EXPECT_EQ(SendMessageW(entry, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "the caret at the end";
  }
}

// While an alarm is armed the end of the session is held up (Windows says why, and the user may
// end it all the same); without one it may come at once.
TEST(Win32WindowHost, AnArmedAlarmHoldsUpTheEndOfTheSession) {
  ShownClock clock;
  EXPECT_TRUE(SendMessageW(clock.window(), WM_QUERYENDSESSION, 0, 0));
  alarm_actions::arm(clock.form, "23:59:00");
  ASSERT_EQ(clock.form.alarmArmed, 1);
  EXPECT_FALSE(SendMessageW(clock.window(), WM_QUERYENDSESSION, 0, 0));
}

// A screen reader asking through MSAA hears each control by the name, role and value the model
// gives it: the displays by which they are with their digits, the entry by what it holds with its
// time, the buttons by what they do.
TEST(Win32WindowHost, ScreenReadersHearTheModelsNamesRolesAndValues) {
  ShownClock clock;
  clock.form.Timer1.setEnabled(false);  // the displays stand still while they are read
  clock.form.Option2.select();
  clock.form.Text5.setText("07:30:00");
  const auto heard = [&](const Control& control) {
    IAccessible* object = nullptr;
    AccessibleObjectFromWindow(clock.handleOf(control), OBJID_CLIENT, __uuidof(IAccessible),
                               reinterpret_cast<void**>(&object));
    if (!object) return std::string("nothing");
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    BSTR value = nullptr;
    VARIANT role{};
    object->get_accName(self, &name);
    object->get_accRole(self, &role);
    object->get_accValue(self, &value);
    const std::string said = narrow(name ? name : L"") + " | " + std::to_string(role.lVal) + " | " +
                             narrow(value ? value : L"");
    SysFreeString(name);
    SysFreeString(value);
    object->Release();
    return said;
  };
  const auto expected = [](const char* name, LONG role, const std::string& value) {
    return std::string(name) + " | " + std::to_string(role) + " | " + value;
  };
  frmUhr& form = clock.form;
  EXPECT_EQ(heard(form.Label4), expected("Stunden", ROLE_SYSTEM_STATICTEXT, form.Label4.caption()));
  EXPECT_EQ(heard(form.Label5), expected("Minuten", ROLE_SYSTEM_STATICTEXT, form.Label5.caption()));
  EXPECT_EQ(heard(form.Label6),
            expected("Sekunden", ROLE_SYSTEM_STATICTEXT, form.Label6.caption()));
  EXPECT_EQ(heard(form.Text5), expected("Alarmzeit", ROLE_SYSTEM_TEXT, "07:30:00"));
  EXPECT_EQ(heard(form.Command2), expected("Alarmzeit plus 1 Minute", ROLE_SYSTEM_PUSHBUTTON, ""));
  EXPECT_EQ(heard(form.Command7), expected("Info", ROLE_SYSTEM_PUSHBUTTON, ""));
  EXPECT_EQ(heard(form.Command1), expected("Sprich", ROLE_SYSTEM_PUSHBUTTON, ""));
  EXPECT_EQ(heard(form.Option2), expected("Alarm", ROLE_SYSTEM_RADIOBUTTON, ""));
  EXPECT_EQ(heard(form.Frame2), expected("Ansage jede", ROLE_SYSTEM_GROUPING, ""));
}

// The seconds are refreshed when the window itself is painted (shown, uncovered), not when a
// control repaints: the seconds display must stand still while it is spoken.
TEST(Win32WindowHost, ThePaintHandlerRunsForTheWindowNotForAControlsRepaint) {
  ShownClock clock;
  clock.form.Timer1.setEnabled(false);  // no tick may write the seconds meanwhile
  clock.form.Label6.setCaption("xx");
  RedrawWindow(clock.handleOf(clock.form.Command1), nullptr, nullptr,
               RDW_INVALIDATE | RDW_UPDATENOW);
  clock.form.Label5.refresh();
  runMessagesFor(50);
  EXPECT_EQ(clock.form.Label6.caption(), "xx");

  InvalidateRect(clock.window(), nullptr, TRUE);
  runMessagesFor(50);
  EXPECT_NE(clock.form.Label6.caption(), "xx");
}

// The buttons say "Ja", "Nein" and "OK", with the access keys German Windows gives: J and N, with
// Alt or without, choose; Esc, the close button and a box that cannot be shown answer no.
TEST(Win32WindowHost, MessageBoxesAnswerInGermanAlsoByKey) {
  struct Row {
    int style;
    std::function<void(HWND)> answer;
    msgbox::Answer answered;
  };
  const auto click = [](int button) {
    return [button](HWND box) { PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(button), 0); };
  };
  const auto key = [](WORD virtualKey, std::vector<WORD> modifiers = {}) {
    return [=](HWND) { press(virtualKey, modifiers); };
  };
  const int question = msgbox::question | msgbox::yesNo;
  using msgbox::Answer;
  const std::vector<Row> rows = {
      {question, click(IDNO), Answer::no},
      {question, click(IDYES), Answer::yes},
      {question, key('J'), Answer::yes},
      {question, key('N'), Answer::no},
      {question, key('J', {VK_MENU}), Answer::yes},
      {question, key(VK_ESCAPE), Answer::no},
      {question, [](HWND box) { PostMessageW(box, WM_CLOSE, 0, 0); }, Answer::no},
      {msgbox::information, click(IDOK), Answer::ok}};
  Win32Dialogs dialogs(nullptr);
  for (const Row& row : rows) {
    std::vector<std::wstring> captions;
    std::thread user([&] { captions = answerBox(row.answer); });
    EXPECT_EQ(dialogs.messageBox("Frage", row.style, "Titel"), row.answered);
    user.join();
    const std::vector<std::wstring> buttons = row.style == question
                                                  ? std::vector<std::wstring>{L"&Ja", L"&Nein"}
                                                  : std::vector<std::wstring>{L"OK"};
    EXPECT_EQ(captions, buttons);
  }
  const HWND gone =
      CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  EXPECT_EQ(Win32Dialogs(gone).messageBox("Frage", question, "Titel"), Answer::no);
}
