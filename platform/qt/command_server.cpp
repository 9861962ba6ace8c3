#include "platform/qt/command_server.h"

#include <cerrno>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include <QTimer>

#include "platform/posix/command_socket.h"
#include "platform/posix/posix_clock_contact.h"
#include "platform/posix/posix_instance_lock.h"

namespace {

// Connections at once beyond which new ones are turned away busy, and how long one may take.
constexpr int maxConnections = 8;
constexpr int connectionMs = 1000;

// A line this short always fits into a new connection's buffer.
void answer(int fd, std::string_view word) {
  const std::string line = std::string(word) + "\n";
  send(fd, line.data(), line.size(), MSG_NOSIGNAL);
}

}  // namespace

// One caller's connection and what it has sent so far; closed when the object goes.
class CommandServer::Caller : public QObject {
 public:
  Caller(UniqueFd descriptor, QObject* parent)
      : QObject(parent), fd(std::move(descriptor)), readable(fd.get(), QSocketNotifier::Read) {}

  // Also from its own notifier's signal, which must outlive the call.
  void finish() {
    readable.setEnabled(false);
    deleteLater();
  }

  // The notifier goes first: out of the event loop's watch before the number is free again.
  const UniqueFd fd;
  QSocketNotifier readable;
  std::string line;
};

CommandServer::CommandServer(std::function<ClockAnswer(std::string_view)> obey)
    : obey_(std::move(obey)) {
  QObject::connect(&socketFile_, &QFileSystemWatcher::fileChanged,
                   [this](const QString& path) { renewWhenGone(path); });
}

CommandServer::~CommandServer() = default;

void CommandServer::listen(PosixInstanceLock& claim) {
  claim_ = &claim;
  follow(claim.listener());
  watchSocketFile();
}

// An abstract name has no file to go.
void CommandServer::watchSocketFile() {
  const std::string& address = claim_->address();
  if (!address.empty() && !address.starts_with('@')) {
    socketFile_.addPath(QString::fromStdString(address));
  }
}

void CommandServer::follow(int listener) {
  if (listener < 0) return;
  incoming_ = std::make_unique<QSocketNotifier>(listener, QSocketNotifier::Read);
  QObject::connect(incoming_.get(), &QSocketNotifier::activated,
                   [this, listener] { accept(listener); });
}

void CommandServer::accept(int listener) {
  UniqueFd fd(accept4(listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
  if (!fd || !peerIsThisUser(fd.get())) return;
  if (callers_.children().size() >= maxConnections) {
    answer(fd.get(), clockCommand::busy);
    return;
  }
  auto* caller = new Caller(std::move(fd), &callers_);
  QTimer::singleShot(connectionMs, caller, [caller] { caller->finish(); });
  QObject::connect(&caller->readable, &QSocketNotifier::activated, caller,
                   [this, caller] { read(*caller); });
}

void CommandServer::read(Caller& caller) {
  char chunk[clockCommand::longest + 1];
  const ssize_t got = ::read(caller.fd.get(), chunk, sizeof chunk);
  // A read that does not wait is never interrupted; readiness without data is the rare kind.
  if (got < 0 && errno == EAGAIN) return;
  if (got <= 0) return caller.finish();
  caller.line.append(chunk, static_cast<size_t>(got));
  const size_t end = caller.line.find('\n');
  if (end == std::string::npos && caller.line.size() <= clockCommand::longest) return;
  caller.finish();  // first: obeying may run the event loop
  const std::string_view command(caller.line.data(), end == std::string::npos ? 0 : end);
  // A caller that gave up waiting (a clock stopped for a while) has closed its end: its request
  // is not carried out, late and unasked.
  char more = 0;
  if (recv(caller.fd.get(), &more, 1, MSG_PEEK | MSG_DONTWAIT) == 0) return;
  if (command == clockCommand::speak || command == clockCommand::show ||
      clockCommand::isQuit(command)) {
    answer(caller.fd.get(), clockCommand::answerLine(obey_(command)));
  }
}

// The watch also fires when the file only changed; a socket that is still there stays.
void CommandServer::renewWhenGone(const QString& path) {
  struct stat file {};
  if (stat(path.toLocal8Bit().constData(), &file) == 0 && S_ISSOCK(file.st_mode)) return;
  incoming_.reset();
  follow(claim_->renew());
  socketFile_.removePath(path);
  watchSocketFile();
}
