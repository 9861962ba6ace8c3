#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include <QFileSystemWatcher>
#include <QObject>
#include <QSocketNotifier>

#include "platform/common/clock_requests.h"

class PosixInstanceLock;

// Takes commands of this user's other processes (clockCommand) on the claimed command socket and
// answers each: taken, or busy. A connection of another user, a line that is no command, one that
// is too long or comes too slowly, is dropped without a word. A socket whose file goes (deleted,
// with its folder or alone) is made again at once.
class CommandServer {
 public:
  // obey carries a command out, or says why not.
  explicit CommandServer(std::function<ClockAnswer(std::string_view command)> obey);
  ~CommandServer();
  CommandServer(const CommandServer&) = delete;
  CommandServer& operator=(const CommandServer&) = delete;

  void listen(PosixInstanceLock& claim);

 private:
  class Caller;

  void follow(int listener);
  void accept(int listener);
  void read(Caller& caller);
  void renewWhenGone(const QString& path);
  void watchSocketFile();

  std::function<ClockAnswer(std::string_view)> obey_;
  PosixInstanceLock* claim_ = nullptr;
  std::unique_ptr<QSocketNotifier> incoming_;
  QObject callers_;  // the open connections, as its children
  QFileSystemWatcher socketFile_;
};
