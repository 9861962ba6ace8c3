#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <xcb/xproto.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "core/app/frm_uhr.h"
#include "core/app/vocabulary.h"
#include "platform/posix/posix_instance_lock.h"
#include "platform/qt/qt_clock_program.h"
#include "platform/qt/qt_dialogs.h"
#include "support/alarm_actions.h"
#include "support/temp_folder.h"

namespace {

// The clock on the real widgets, shown and active, as a user finds it; its lock and socket in a
// folder of its own, so that tests running side by side do not meet.
struct ShownClock {
  explicit ShownClock(QtTrayHost::IconMaker makeIcon = QtTrayHost::systemTrayIcon)
      : clock(claim, std::move(makeIcon)) {
    clock.start();
    clock.window().activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&clock.window()));
  }
  template <typename W = QWidget>
  W* widget(const char* name) {
    return clock.window().findChild<W*>(name);
  }
  std::string focused() const {
    const QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName().toStdString() : "nothing";
  }

  TempFolder folder{"lurvendel-window"};
  PosixInstanceLock claim{ClockPlaces{{folder.path()}, ""}};
  QtClockProgram clock;
  frmUhr& form = clock.form();
};

// A key as X11 hands it over: with the text it types, which for Delete is "\x7f".
void press(QWidget* widget, Qt::Key key, const QString& text = {},
           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QTest::sendKeyEvent(QTest::Click, widget, key, text, modifiers);
}

void commit(QWidget* widget, const QString& text) {
  QInputMethodEvent event;
  event.setCommitString(text);
  QApplication::sendEvent(widget, &event);
}

}  // namespace

// Screen readers learn which display they read from its name, and what it shows from its text.
TEST(QtWindowHost, DisplaysAreNamedAndReadableByScreenReaders) {
  ShownClock clock;
  const auto accessibleChild = [&](const char* name) {
    return QAccessible::queryAccessibleInterface(clock.widget(name));
  };
  for (const auto& [objectName, name] :
       {std::pair{"Label4", "Stunden"}, {"Label5", "Minuten"}, {"Label6", "Sekunden"}}) {
    QAccessibleInterface* display = accessibleChild(objectName);
    ASSERT_TRUE(display) << objectName;
    EXPECT_EQ(display->text(QAccessible::Name).toStdString(), name);
    ASSERT_TRUE(display->textInterface()) << objectName;
    const QString shown = clock.widget<QLabel>(objectName)->text();
    EXPECT_EQ(display->textInterface()->text(0, 2), shown);
    EXPECT_EQ(shown.size(), 2);
  }
  EXPECT_EQ(accessibleChild("Option1(2)")->role(), QAccessible::RadioButton);
  EXPECT_EQ(accessibleChild("Text5")->text(QAccessible::Name).toStdString(), "Alarmzeit");
  EXPECT_EQ(accessibleChild("Command2")->text(QAccessible::Name).toStdString(),
            "Alarmzeit plus 1 Minute");
}

// Green digits on black, boxed and centred; the alarm lines dark green; labels that size to
// their text as wide as it.
TEST(QtWindowHost, TheControlsLookAsDesigned) {
  ShownClock clock;
  struct Look {
    const char* control;
    double points;
    bool bold;
    QColor text;
    QColor background;
  };
  const QColor green(0, 255, 0), black(0, 0, 0), darkGreen(0, 128, 0), plain;
  for (const Look& look : {Look{"Label4", 36, false, green, black},
                           {"Text5", 12, true, green, black},
                           {"Label3(0)", 27.75, true, plain, plain},
                           {"Label7", 8, false, darkGreen, plain}}) {
    QWidget* widget = clock.widget(look.control);
    const bool entry = qobject_cast<QLineEdit*>(widget);
    EXPECT_EQ(widget->font().pointSizeF(), look.points) << look.control;
    EXPECT_EQ(widget->font().bold(), look.bold) << look.control;
    const QPalette palette = widget->palette();
    if (look.text.isValid()) {
      EXPECT_EQ(palette.color(entry ? QPalette::Text : QPalette::WindowText), look.text)
          << look.control;
    }
    if (look.background.isValid()) {
      EXPECT_EQ(palette.color(entry ? QPalette::Base : QPalette::Window), look.background)
          << look.control;
    }
  }
  // Every control of the window, once.
  std::multiset<std::string> controls;
  for (const QWidget* widget : clock.clock.window().findChildren<QWidget*>()) {
    if (widget->objectName().contains(QRegularExpression("^(Label|Frame|Option|Text|Command)"))) {
      controls.insert(widget->objectName().toStdString());
    }
  }
  EXPECT_EQ(controls, (std::multiset<std::string>{
                          "Label1",     "Label7",     "Frame1",     "Label4",   "Label3(0)",
                          "Label5",     "Label3(1)",  "Label6",     "Frame2",   "Option1(0)",
                          "Option1(1)", "Option1(2)", "Option1(3)", "Option2",  "Frame3",
                          "Text5",      "Command2",   "Command3",   "Command4", "Command5",
                          "Command6",   "Label2",     "Command7",   "Command1", "Command8"}));
  auto* hours = clock.widget<QLabel>("Label4");
  const double pixelsPerTwip = hours->screen()->logicalDotsPerInchX() / 1440;
  EXPECT_EQ(hours->pos(),
            QPoint(std::lround(240 * pixelsPerTwip), std::lround(240 * pixelsPerTwip)))
      << "placed in its frame";
  EXPECT_EQ(hours->alignment(), Qt::AlignCenter);
  EXPECT_EQ(hours->frameShape(), QFrame::Box);
  QWidget& window = clock.clock.window();
  EXPECT_EQ(window.windowTitle().toStdString(), "Die Lurvendel");
  EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(window.windowIcon().availableSizes().size(), 3) << "16, 32 and 48 pixels";
  EXPECT_EQ(window.grab().toImage().pixelColor(hours->mapTo(&window, QPoint(3, 3))), black)
      << "the background painted";
  EXPECT_EQ(clock.widget<QLineEdit>("Text5")->alignment(), Qt::AlignCenter);
  EXPECT_EQ(clock.widget<QLabel>("Label3(1)")->text(), ":") << "a caption no tick writes";
  for (const char* name : {"Label1", "Label7", "Label2"}) {
    const auto* label = clock.widget<QLabel>(name);
    EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text())) << name;
  }
}

// Whatever way text enters the alarm entry, only digits and ":" get in, up to eight characters;
// keys that type nothing keep working. Each row starts from "12:34" with the cursor at the end.
TEST(QtWindowHost, TheAlarmEntryTakesOnlyWhatATimeIsMadeOf) {
  struct Row {
    const char* what;
    std::function<void(QLineEdit*)> input;
    const char* text;
  };
  const auto keys = [](std::vector<std::pair<Qt::Key, QString>> sequence) {
    return [sequence](QLineEdit* entry) {
      for (const auto& [key, text] : sequence) press(entry, key, text);
    };
  };
  const auto paste = [](const QString& clip, std::function<void(QLineEdit*)> how) {
    return [clip, how](QLineEdit* entry) {
      QApplication::clipboard()->setText(clip);
      how(entry);
    };
  };
  const auto ctrlV = [](QLineEdit* entry) { press(entry, Qt::Key_V, "\x16", Qt::ControlModifier); };
  const auto homeCtrlV = [=](QLineEdit* entry) {
    press(entry, Qt::Key_Home);
    ctrlV(entry);
  };
  const std::vector<Row> rows = {
      {"Backspace", keys({{Qt::Key_Backspace, "\b"}}), "12:3"},
      {"Home, Delete", keys({{Qt::Key_Home, ""}, {Qt::Key_Delete, "\x7f"}}), "2:34"},
      {"Left, Delete", keys({{Qt::Key_Left, ""}, {Qt::Key_Delete, "\x7f"}}), "12:3"},
      {"End, digits, colon", keys({{Qt::Key_End, ""}, {Qt::Key_Colon, ":"}, {Qt::Key_5, "5"}}),
       "12:34:5"},
      {"letters, space, full stop",
       keys({{Qt::Key_A, "a"}, {Qt::Key_Space, " "}, {Qt::Key_Period, "."}, {Qt::Key_Z, "Z"}}),
       "12:34"},
      {"beyond eight characters",
       keys({{Qt::Key_5, "5"}, {Qt::Key_6, "6"}, {Qt::Key_7, "7"}, {Qt::Key_8, "8"}}), "12:34567"},
      {"Ctrl+A does nothing",
       [](QLineEdit* entry) {
         press(entry, Qt::Key_A, "\x01", Qt::ControlModifier);
         press(entry, Qt::Key_9, "9");
       },
       "12:349"},
      {"a dead key", [](QLineEdit* entry) { commit(entry, "^"); }, "12:34"},
      {"compose", [](QLineEdit* entry) { commit(entry, QString::fromUtf8("é")); }, "12:34"},
      {"an input method's digits", [](QLineEdit* entry) { commit(entry, "7"); }, "12:347"},
      {"Ctrl+V, a digit",
       paste("x 4",
             [=](QLineEdit* entry) {
               ctrlV(entry);
               press(entry, Qt::Key_5, "5");
             }),
       "12:3445"},
      {"the context menu's paste", paste("Weckzeit 07:30:00", [](QLineEdit* e) { e->paste(); }),
       "12:3407:"},
      {"Home, Ctrl+V", paste("x9", homeCtrlV), "912:34"},
      {"Home, Ctrl+V, a digit",
       paste("x9",
             [=](QLineEdit* entry) {
               homeCtrlV(entry);
               press(entry, Qt::Key_7, "7");
             }),
       "9712:34"},
  };
  ShownClock clock;
  clock.form.Option2.select();
  auto* entry = clock.widget<QLineEdit>("Text5");
  for (const Row& row : rows) {
    clock.form.Text5.setText("12:34");
    entry->setFocus();
    entry->end(false);
    row.input(entry);
    EXPECT_EQ(entry->text().toStdString(), row.text) << row.what;
    EXPECT_EQ(clock.form.Text5.text(), row.text) << row.what;
    EXPECT_EQ(clock.focused(), "Text5") << row.what;
  }
}

// Tab and Shift+Tab follow the layout's tab indexes, the option group being one stop (arrows move
// inside it); what lies out of view or is disabled is passed over.
TEST(QtWindowHost, TabAndShiftTabGoRoundTheControlsInTheDesignedOrder) {
  ShownClock clock;
  const auto round = [&](Qt::Key key, Qt::KeyboardModifiers modifiers, int steps) {
    clock.widget("Option1(0)")->setFocus();
    std::vector<std::string> seen;
    for (int i = 0; i < steps; ++i) {
      press(QApplication::focusWidget(), key, key == Qt::Key_Tab ? "\t" : "", modifiers);
      seen.push_back(clock.focused());
    }
    return seen;
  };
  using Order = std::vector<std::string>;
  EXPECT_EQ(round(Qt::Key_Tab, Qt::NoModifier, 4),
            (Order{"Command1", "Command7", "Command8", "Option1(0)"}));
  EXPECT_EQ(round(Qt::Key_Backtab, Qt::ShiftModifier, 4),
            (Order{"Command8", "Command7", "Command1", "Option1(0)"}));

  clock.form.Option2.select();
  EXPECT_FALSE(clock.widget("Command5")->isEnabled());
  QTest::mouseClick(clock.widget("Text5"), Qt::LeftButton);
  const Order wide = {"Command1", "Text5",    "Command2", "Command3", "Command4",
                      "Command5", "Command6", "Command7", "Command8", "Option1(0)"};
  EXPECT_EQ(round(Qt::Key_Tab, Qt::NoModifier, 10), wide);
  Order back(wide.rbegin() + 1, wide.rend());
  back.push_back("Option1(0)");
  EXPECT_EQ(round(Qt::Key_Backtab, Qt::ShiftModifier, 10), back);
}

// The icon's menu as the user sees it: its items in order, separators between the groups, the
// chosen interval checked; with an alarm armed, "Alarm aktiv !" shown as the default item and the
// intervals locked.
TEST(QtWindowHost, TheIconsMenuShowsItsItemsInOrderWithTheirMarks) {
  ShownClock clock;
  const auto shown = [&] {
    std::vector<std::string> items;
    for (const QAction* action : clock.clock.window().contextMenu().actions()) {
      if (!action->isVisible()) continue;
      items.push_back(action->isSeparator()
                          ? "-"
                          : action->text().toStdString() + (action->isChecked() ? " [x]" : "") +
                                (action->isEnabled() ? "" : " (locked)"));
    }
    return items;
  };
  EXPECT_EQ(shown(), (std::vector<std::string>{"Ansage jede 1 min", "Ansage jede 5 min",
                                               "Ansage jede 15 min [x]", "Ansage jede 30 min", "-",
                                               "Uhr Anzeigen", "-", "Info", "-", "Exit"}));
  EXPECT_TRUE(clock.widget<QRadioButton>("Option1(2)")->isChecked());
  const auto choose = [&](const QString& text) {
    for (QAction* action : clock.clock.window().contextMenu().actions()) {
      if (action->text() == text) action->trigger();
    }
  };
  choose("Ansage jede 15 min");  // chosen already, so it stays so
  clock.widget("Command1")->setFocus();
  choose("Ansage jede 5 min");
  EXPECT_EQ(clock.focused(), "Command1") << "a choice from the menu leaves the focus";
  EXPECT_EQ(shown(), (std::vector<std::string>{"Ansage jede 1 min", "Ansage jede 5 min [x]",
                                               "Ansage jede 15 min", "Ansage jede 30 min", "-",
                                               "Uhr Anzeigen", "-", "Info", "-", "Exit"}));
  EXPECT_TRUE(clock.widget<QRadioButton>("Option1(1)")->isChecked());
  clock.form.Option2.select();
  EXPECT_TRUE(clock.widget<QRadioButton>("Option2")->isChecked());
  EXPECT_FALSE(clock.widget<QRadioButton>("Option1(1)")->isChecked());
  alarm_actions::arm(clock.form, "23:59:00");
  const std::vector<std::string> armed = shown();
  QString defaultItem = "no menu";
  QTimer::singleShot(0, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return;
    defaultItem = menu->defaultAction() ? menu->defaultAction()->text() : "none";
    menu->close();
  });
  clock.form.trayIconEvent(iconMouse::rightButtonUp);
  EXPECT_EQ(defaultItem.toStdString(), "Alarm aktiv !") << "drawn as the default item";
  clock.clock.window().activateWindow();  // the menu took the focus with it
  EXPECT_TRUE(QTest::qWaitForWindowActive(&clock.clock.window()));
  clock.form.Command6.press();
  EXPECT_EQ(clock.focused(), "Option1(2)") << "after the alarm was cancelled";
  EXPECT_EQ(armed, (std::vector<std::string>{
                       "Ansage jede 1 min (locked)", "Ansage jede 5 min (locked)",
                       "Ansage jede 15 min (locked)", "Ansage jede 30 min (locked)",
                       "Alarm aktiv !", "-", "Uhr Anzeigen", "-", "Info", "-", "Exit"}));
}

// The window widens for the alarm's controls and is compact again once the alarm mode is left;
// its size is fixed, as designed.
TEST(QtWindowHost, TheWindowWidensForTheAlarmAndNarrowsAgain) {
  ShownClock clock;
  QtWindowHost& window = clock.clock.window();
  const auto width = [&] {
    QTest::qWait(20);
    return window.width();
  };
  const int compact = width();
  clock.form.Option2.select();
  EXPECT_GT(width(), compact * 6615 / 4480 - 10);
  EXPECT_EQ(window.minimumWidth(), window.maximumWidth()) << "a fixed size";
  clock.form.Command6.press();
  EXPECT_EQ(width(), compact);
}

// "anzeigen" from outside, or an alarm, brings the window back to the front: restored and active.
TEST(QtWindowHost, AWindowBroughtToTheFrontIsRestoredAndActive) {
  ShownClock clock;
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  clock.clock.window().setWindowState(Qt::WindowMinimized);
  clock.clock.window().bringToFront();
  EXPECT_FALSE(clock.clock.window().isMinimized());
  EXPECT_TRUE(QTest::qWaitForWindowActive(&clock.clock.window()));
}

// The window's close with an alarm armed asks first; "Nein" keeps the clock and its window.
TEST(QtWindowHost, ClosingWithAnAlarmArmedAsksAndNeinKeepsTheWindow) {
  ShownClock clock;
  alarm_actions::arm(clock.form, "23:59:00");
  QString asked = "nothing";
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    asked = box->text();
    QTest::keyClick(box, Qt::Key_N);
  });
  clock.clock.window().close();
  EXPECT_NE(asked, "nothing");
  EXPECT_TRUE(clock.clock.window().isVisible());
}

// Another program's destruction of the window, as X11 reports it: the window is made anew and
// shown again; the report of any other window's end changes nothing. So with an unmapping.
TEST(QtWindowHost, AWindowDestroyedOrUnmappedFromOutsideComesBack) {
  struct Reported : QtWindowHost {
    using QtWindowHost::nativeEvent;
  };
  ShownClock clock;
  QtWindowHost& window = clock.clock.window();
  const auto destroyed = [&](WId id) {
    xcb_destroy_notify_event_t event{};
    event.response_type = XCB_DESTROY_NOTIFY | 0x80;  // as sent by another client
    event.window = static_cast<xcb_window_t>(id);
    (window.*(&Reported::nativeEvent))("xcb_generic_event_t", &event, nullptr);
    QTest::qWait(20);
  };
  const WId before = window.winId();
  destroyed(before + 1000);
  EXPECT_EQ(window.winId(), before);
  destroyed(before);
  EXPECT_NE(window.winId(), before);
  EXPECT_TRUE(window.windowHandle()->isVisible());

  // Unmapped by another program, Qt still taking it for shown: brought to the front, it is shown
  // anew; not so once it was mapped again, or where Qt hid it itself.
  struct ShowCount : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
      shows += event->type() == QEvent::Show;
      return false;
    }
    int shows = 0;
  } counter;
  window.installEventFilter(&counter);
  const auto reported = [&](std::uint8_t kind) {
    xcb_unmap_notify_event_t event{};
    event.response_type = kind;
    event.window = static_cast<xcb_window_t>(window.winId());
    (window.*(&Reported::nativeEvent))("xcb_generic_event_t", &event, nullptr);
  };
  reported(XCB_UNMAP_NOTIFY);
  window.bringToFront();
  window.bringToFront();
  EXPECT_EQ(counter.shows, 1) << "once";
  reported(XCB_UNMAP_NOTIFY);
  reported(XCB_MAP_NOTIFY);
  window.bringToFront();
  window.hide();
  reported(XCB_UNMAP_NOTIFY);
  window.show();
  window.bringToFront();
  EXPECT_EQ(counter.shows, 2) << "only Qt's own show";
}

// Hidden to the notification area, the icon's clicks reach the model.
TEST(QtWindowHost, TheIconsClicksReachTheModel) {
  QSystemTrayIcon* icon = nullptr;
  ShownClock clock([&](const QIcon& shape) {
    auto made = std::make_unique<QSystemTrayIcon>(shape);
    icon = made.get();
    return made;
  });
  clock.form.Command8.press();
  ASSERT_TRUE(icon);
  EXPECT_FALSE(clock.clock.window().isVisible());
  clock.form.trayData.setTip("");
  emit icon->activated(QSystemTrayIcon::Trigger);
  EXPECT_TRUE(QTest::qWaitFor([&] { return clock.form.trayData.tip() == titleTip; }))
      << "refreshed as the model takes the click";
}

// The pointer moving over the window, over a control, one in a frame or the entry (which keeps
// the moves it is given) refreshes the tip the icon will show, as pointing at "Verbergen" must.
TEST(QtWindowHost, PointerMovesAnywhereOverTheWindowReachTheModel) {
  ShownClock clock;
  alarm_actions::arm(clock.form, "23:59:00");
  clock.form.Option2.select();  // the entry in view again, the alarm still armed
  const std::string armed = clock.form.armedAlarmText();
  ASSERT_TRUE(QTest::qWaitFor([&] { return clock.widget("Text5")->isVisible(); }, 1000));
  QWidget& window = clock.clock.window();
  QPoint bare(1, 1);
  while (window.childAt(bare)) bare += QPoint(1, 0);
  for (const auto& [name, at] : {std::pair{"Command8", QPoint(5, 5)},
                                 {"Label4", QPoint(5, 5)},
                                 {"Text5", QPoint(5, 5)},
                                 {"window", bare}}) {
    clock.form.trayData.setTip("");
    QWidget* target = name == std::string("window") ? &window : clock.widget(name);
    QTest::mouseMove(target, at);
    EXPECT_TRUE(QTest::qWaitFor([&] { return clock.form.trayData.tip() == armed; }, 1000)) << name;
  }
}

// The seconds are refreshed when the window itself is painted (shown, exposed, resized), not when
// a button under the pointer repaints: the seconds display must stand still while it is spoken.
TEST(QtWindowHost, ThePaintHandlerRunsForTheWindowNotForAChildsRepaint) {
  ShownClock clock;
  clock.form.Timer1.setEnabled(false);  // no tick may write the seconds meanwhile
  clock.form.Label6.setCaption("xx");
  QWidget* sprich = clock.widget("Command1");
  QTest::mouseMove(sprich, QPoint(5, 5));
  sprich->repaint();
  QTest::qWait(50);
  EXPECT_EQ(clock.form.Label6.caption(), "xx");

  clock.clock.window().hide();
  clock.clock.window().QWidget::show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(&clock.clock.window()));
  QTest::qWait(50);
  EXPECT_NE(clock.form.Label6.caption(), "xx");
}

// The buttons say "Ja", "Nein" and "OK", with the access keys German desktops give: J and N, with
// Alt or without, choose; Esc and the close button answer a question no.
TEST(QtWindowHost, MessageBoxesAnswerInGermanAlsoByKey) {
  struct Row {
    int style;
    std::function<void(QMessageBox*)> act;
    msgbox::Answer answer;
  };
  const auto key = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    return [key, modifiers](QMessageBox* box) { QTest::keyClick(box, key, modifiers); };
  };
  const int question = msgbox::question | msgbox::yesNo;
  using msgbox::Answer;
  const std::vector<Row> rows = {{question, key(Qt::Key_J), Answer::yes},
                                 {question, key(Qt::Key_N), Answer::no},
                                 {question, key(Qt::Key_J, Qt::AltModifier), Answer::yes},
                                 {question, key(Qt::Key_Escape), Answer::no},
                                 {question, [](QMessageBox* box) { box->close(); }, Answer::no},
                                 {msgbox::okOnly, key(Qt::Key_Return), Answer::ok}};
  QtDialogs dialogs(nullptr);
  for (const Row& row : rows) {
    QStringList captions;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      for (QAbstractButton* button : box->buttons()) captions << button->text();
      QTimer::singleShot(2000, box, [box] { box->done(0); });  // a key that chose nothing
      box->activateWindow();  // Alt's access keys go to the active window
      EXPECT_TRUE(QTest::qWaitForWindowActive(box));
      row.act(box);
    });
    EXPECT_EQ(dialogs.messageBox("Frage", row.style, "Titel"), row.answer);
    captions.sort();
    EXPECT_EQ(captions.join(",").toStdString(), row.style == msgbox::okOnly ? "OK" : "&Ja,&Nein");
  }
}

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  const TempFolder runtime("lurvendel-window");
  qputenv("XDG_RUNTIME_DIR", runtime.path().c_str());
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
