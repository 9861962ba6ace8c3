#include "platform/qt/command_server.h"

#include <sys/socket.h>
#include <sys/stat.h>

#include <QLocalSocket>
#include <QTimer>

#include "platform/posix/clock_claim.h"
#include "platform/posix/clock_commands.h"
#include "platform/posix/command_socket.h"

namespace {

// Connections at once beyond which new ones are turned away busy, and how long one may take.
constexpr int maxConnections = 8;
constexpr int connectionMs = 1000;

// Sent at once: the request may start speech before the event loop would write it.
void answer(QLocalSocket& connection, std::string_view word) {
  connection.write(word.data(), static_cast<qint64>(word.size()));
  connection.write("\n");
  connection.flush();
  connection.disconnectFromServer();
}

}  // namespace

CommandServer::CommandServer(std::function<bool(std::string_view)> obey) : obey_(std::move(obey)) {
  QObject::connect(&socketFile_, &QFileSystemWatcher::fileChanged,
                   [this](const QString& path) { renewWhenGone(path); });
}

CommandServer::~CommandServer() = default;

void CommandServer::listen(ClockClaim& claim) {
  claim_ = &claim;
  follow(claim.listener());
  if (!claim.address().starts_with('@'))
    socketFile_.addPath(QString::fromStdString(claim.address()));
}

void CommandServer::follow(int listener) {
  incoming_.reset();
  if (listener < 0) return;
  incoming_ = std::make_unique<QSocketNotifier>(listener, QSocketNotifier::Read);
  QObject::connect(incoming_.get(), &QSocketNotifier::activated,
                   [this, listener] { accept(listener); });
}

void CommandServer::accept(int listener) {
  const int fd = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
  if (fd < 0) return;
  auto* connection = new QLocalSocket(&connections_);
  connection->setSocketDescriptor(fd);
  QObject::connect(connection, &QLocalSocket::disconnected, connection, &QObject::deleteLater);
  if (!peerIsThisUser(fd)) {
    connection->abort();
    return;
  }
  if (connections_.children().size() > maxConnections) {
    answer(*connection, clockCommand::busy);
    return;
  }
  QTimer::singleShot(connectionMs, connection, [connection] { connection->abort(); });
  QObject::connect(connection, &QLocalSocket::readyRead, [this, connection] { read(*connection); });
}

void CommandServer::read(QLocalSocket& connection) {
  const QByteArray line = connection.peek(clockCommand::longest + 1);
  const qsizetype end = line.indexOf('\n');
  if (end < 0 && line.size() <= static_cast<qsizetype>(clockCommand::longest)) return;
  const std::string_view command(line.constData(), end < 0 ? 0 : static_cast<size_t>(end));
  if (command != clockCommand::speak && command != clockCommand::show) {
    connection.abort();
    return;
  }
  connection.readAll();
  answer(connection, obey_(command) ? clockCommand::taken : clockCommand::busy);
}

// The watch also fires when the file only changed; a socket that is still there stays.
void CommandServer::renewWhenGone(const QString& path) {
  struct stat file {};
  if (stat(path.toLocal8Bit().constData(), &file) == 0 && S_ISSOCK(file.st_mode)) return;
  incoming_.reset();
  follow(claim_->renew());
  socketFile_.removePath(path);
  socketFile_.addPath(path);
}
