#pragma once

#include <functional>
#include <string>
#include <string_view>

#include <QLocalServer>

// Listens for commands of this user's other processes (clockCommand) on a local socket in the
// folder that holds the clock's lock. A connection of another user, a line that is no command,
// one that is too long or comes too slowly, is dropped without a word.
class CommandServer {
 public:
  explicit CommandServer(std::function<void(std::string_view command)> obey);

  // In the folder where this clock holds its lock: no other clock listens there.
  void listen(const std::string& folder);

 private:
  void accept();

  std::function<void(std::string_view)> obey_;
  QLocalServer server_;
};
