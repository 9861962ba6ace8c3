// Runs the clock window on the current display for a while and prints how long after the true
// second boundary each new seconds value was painted: display_lag [SECONDS]
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTimer>

#include "platform/posix/posix_instance_lock.h"
#include "platform/qt/qt_clock_program.h"

namespace {

// Milliseconds since the local wall clock passed the second that `shown` names; negative when
// the display runs ahead of the clock.
double lagMs(int shown) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  localtime_r(&now.tv_sec, &local);
  int behind = (local.tm_sec - shown + 60) % 60;
  if (behind > 30) behind -= 60;
  return behind * 1000.0 + now.tv_nsec / 1e6;
}

// Takes the time whenever the label paints a text it has not painted before.
class PaintWatch : public QObject {
 public:
  explicit PaintWatch(QLabel& label) : label_(label) { label_.installEventFilter(this); }
  std::vector<double> lags() const { return lags_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &label_ && event->type() == QEvent::Paint && label_.text() != lastPainted_) {
      // The first paint shows the window, not a change of the second.
      if (!lastPainted_.isNull()) lags_.push_back(lagMs(label_.text().toInt()));
      lastPainted_ = label_.text();
    }
    return false;
  }

 private:
  QLabel& label_;
  QString lastPainted_;
  std::vector<double> lags_;
};

// Nearest-rank percentile of sorted values.
double percentile(const std::vector<double>& sorted, double p) {
  const auto rank = static_cast<size_t>(std::ceil(p / 100 * static_cast<double>(sorted.size())));
  return sorted[std::max<size_t>(rank, 1) - 1];
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::stoi(argv[1]) : 60;
  QApplication app(argc, argv);
  PosixInstanceLock claim;
  QtClockProgram clock(claim);
  auto* label = clock.window().findChild<QLabel*>("Label6");
  if (!label) {
    std::fprintf(stderr, "display_lag: the window has no label Label6\n");
    return 1;
  }
  PaintWatch watch(*label);
  clock.start();  // ends the process when another instance holds the lock
  // exit(), not quit(): quitting closes the window first, and closing the clock ends it at once.
  QTimer::singleShot(seconds * 1000, &app, [] { QCoreApplication::exit(0); });
  QApplication::exec();

  std::vector<double> lags = watch.lags();
  if (lags.empty()) {
    std::fprintf(stderr, "display_lag: the seconds display never changed\n");
    return 1;
  }
  std::sort(lags.begin(), lags.end());
  std::printf("samples %zu median_ms %.1f p95_ms %.1f max_ms %.1f\n", lags.size(),
              percentile(lags, 50), percentile(lags, 95), lags.back());
  return 0;
}
