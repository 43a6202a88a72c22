#include "linux/status_answer.h"

#include <unistd.h>

#include <cstdlib>

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

StatusAnswer::StatusAnswer(FiguresSource figures, StarsSource stars)
    : figures_(static_cast<FiguresSource&&>(figures)), stars_(static_cast<StarsSource&&>(stars)) {}

StatusAnswer::~StatusAnswer() {
  if (server_ != nullptr) {
    server_->close();
    QFile::remove(path_);
  }
}

bool StatusAnswer::ListenFromEnvironment() {
  const char* path = getenv("TOVIK2_STATUS");
  if (path == nullptr || *path == '\0') return true;
  path_ = QString::fromLocal8Bit(path);
  server_ = new QLocalServer(this);
  // Only this user may ask.
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  QLocalServer::removeServer(path_);  // a socket file an ended run left behind
  if (!server_->listen(path_)) return false;
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* client = server_->nextPendingConnection()) {
      connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
      connect(client, &QLocalSocket::readyRead, this, [this, client] { Answer(client); });
      if (client->canReadLine()) Answer(client);
    }
  });
  return true;
}

void StatusAnswer::Answer(QLocalSocket* client) {
  if (!client->canReadLine()) return;
  QByteArray command = client->readLine().trimmed();
  std::string text;
  if (command == "status") {
    StatusFigures figures;
    figures_(&figures);
    text = StatusText(getpid(), figures);
  } else if (command == "stars") {
    std::vector<StarLine> stars;
    stars_(&stars);
    text = StarsText(stars);
  } else {
    text = "unknown command\n";
  }
  client->write(text.data(), static_cast<qint64>(text.size()));
  client->disconnectFromServer();
}
