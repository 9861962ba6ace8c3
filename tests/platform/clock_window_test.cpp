#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QRadioButton>

#include "platform/qt/clock_program.h"

namespace {

QAccessibleInterface* accessibleChild(ClockProgram& clock, const char* objectName) {
  auto* widget = clock.window().findChild<QWidget*>(objectName);
  return widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
}

}  // namespace

// Screen readers learn which display they read from its name, and what it shows from its text.
TEST(ClockWindow, DisplaysAreNamedAndReadableByScreenReaders) {
  ClockProgram clock;
  clock.start();
  for (const auto& [objectName, name] :
       {std::pair{"Label4", "Stunden"}, {"Label5", "Minuten"}, {"Label6", "Sekunden"}}) {
    QAccessibleInterface* display = accessibleChild(clock, objectName);
    ASSERT_TRUE(display) << objectName;
    EXPECT_EQ(display->text(QAccessible::Name).toStdString(), name);
    ASSERT_TRUE(display->textInterface()) << objectName;
    const QString shown = clock.window().findChild<QLabel*>(objectName)->text();
    EXPECT_EQ(display->textInterface()->text(0, 2), shown);
    EXPECT_EQ(shown.size(), 2);
  }
  EXPECT_EQ(accessibleChild(clock, "Option1(2)")->role(), QAccessible::RadioButton);
  EXPECT_EQ(accessibleChild(clock, "Text5")->text(QAccessible::Name).toStdString(), "Alarmzeit");
}

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  char dir[] = "/tmp/lurvendel-window-XXXXXX";
  qputenv("XDG_RUNTIME_DIR", mkdtemp(dir));
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
