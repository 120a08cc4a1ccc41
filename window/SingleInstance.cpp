#include "window/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace window {

namespace {

// How long a later start waits for the first to answer.
constexpr int kAnswerMs = 3000;
constexpr char kShowRequest[] = "show\n";

// A socket name short enough for any folder (Unix sockets take about 100
// bytes), the same for every start that keeps this folder's log.
QString SocketNameOf(const QString& folder) {
  const QByteArray hash =
      QCryptographicHash::hash(QDir(folder).absolutePath().toUtf8(), QCryptographicHash::Sha256);
  return QStringLiteral("probex-") + QString::fromLatin1(hash.toHex().left(24));
}

}  // namespace

TSingleInstance::TSingleInstance(const QString& folder)
    : socketName_(SocketNameOf(folder)), lock_(folder + QStringLiteral("/probex.lock")) {
  QDir().mkpath(folder);
  lock_.setStaleLockTime(0);  // only a dead owner's lock is stale
}

TSingleInstance::~TSingleInstance() = default;

TSingleInstance::Start TSingleInstance::Claim() {
  if (lock_.tryLock(0)) {
    Listen();
    return Start::First;
  }
  QLocalSocket socket;
  socket.connectToServer(socketName_);
  if (!socket.waitForConnected(kAnswerMs)) return Start::Unanswered;
  socket.write(kShowRequest);
  if (!socket.waitForBytesWritten(kAnswerMs)) return Start::Unanswered;
  // The first start answers by closing the connection once it has shown its window.
  socket.waitForDisconnected(kAnswerMs);
  return Start::HandedOver;
}

void TSingleInstance::Listen() {
  // A socket file left by a crashed first start is in the way.
  QLocalServer::removeServer(socketName_);
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  server_->listen(socketName_);
  connect(server_.get(), &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        if (!socket->canReadLine()) return;
        if (socket->readLine() == kShowRequest) emit shown();
        socket->disconnectFromServer();
      });
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }
  });
}

}  // namespace window
