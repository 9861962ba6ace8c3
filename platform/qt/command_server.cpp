#include "platform/qt/command_server.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QLocalSocket>
#include <QTimer>

#include "platform/posix/clock_commands.h"

namespace {

// Connections at once beyond which new ones are dropped, and how long one may take.
constexpr int maxConnections = 8;
constexpr int connectionMs = 1000;

bool fromThisUser(const QLocalSocket& connection) {
  ucred peer{};
  socklen_t size = sizeof peer;
  return getsockopt(static_cast<int>(connection.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer,
                    &size) == 0 &&
         peer.uid == geteuid();
}

}  // namespace

CommandServer::CommandServer(std::function<void(std::string_view)> obey) : obey_(std::move(obey)) {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  server_.setMaxPendingConnections(maxConnections);
  QObject::connect(&server_, &QLocalServer::newConnection, [this] { accept(); });
}

void CommandServer::listen(const std::string& folder) {
  if (folder.empty()) return;
  const QString path = QString::fromStdString(commandSocketPath(folder));
  QLocalServer::removeServer(path);  // left by a clock that was killed
  server_.listen(path);
}

void CommandServer::accept() {
  while (QLocalSocket* connection = server_.nextPendingConnection()) {
    QObject::connect(connection, &QLocalSocket::disconnected, connection, &QObject::deleteLater);
    const int open = static_cast<int>(server_.findChildren<QLocalSocket*>().size());
    if (open > maxConnections || !fromThisUser(*connection)) {
      connection->abort();
      continue;
    }
    QTimer::singleShot(connectionMs, connection, [connection] { connection->abort(); });
    QObject::connect(connection, &QLocalSocket::readyRead, [this, connection] {
      const QByteArray line = connection->peek(clockCommand::longest + 1);
      const qsizetype end = line.indexOf('\n');
      if (end < 0 && line.size() <= static_cast<qsizetype>(clockCommand::longest)) return;
      connection->abort();
      const std::string_view command(line.constData(), end < 0 ? 0 : static_cast<size_t>(end));
      if (command == clockCommand::speak || command == clockCommand::show) obey_(command);
    });
  }
}
