// The least a Qt 6 clock can do, to weigh the clock's idle cost against: a label that shows the
// time of day, set by a timer. bare_clock INTERVAL_MS [hidden]
#include <string>

#include <QApplication>
#include <QLabel>
#include <QTime>
#include <QTimer>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int interval = argc > 1 ? std::stoi(argv[1]) : 1000;
  QLabel label;
  label.setWindowTitle("bare clock");
  label.setMinimumSize(200, 60);
  QTimer timer;
  timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer, &QTimer::timeout,
                   [&label] { label.setText(QTime::currentTime().toString("HH:mm:ss")); });
  timer.start(interval);
  if (argc < 3 || std::string(argv[2]) != "hidden") label.show();
  return QApplication::exec();
}
