#include "linux/status_answer.h"

#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

std::string StatusText(int64_t pid, const StatusFigures& f) {
  char line[512];
  snprintf(line, sizeof line,
           "pid=%" PRId64 " reacting=%d stars=%d shown=%d flying=%d grabbed=%d timer=%d ticks=%" PRIu64
           " queued=%d loading=%d pictures=%d compositor=%d scale=%d clicks=%" PRIu64 " moves=%" PRIu64
           " keys=%" PRIu64 " ini=",
           pid, f.reacting ? 1 : 0, f.stars, f.shown, f.flying, f.grabbed, f.timer ? 1 : 0, f.ticks, f.queued,
           f.loading ? 1 : 0, f.pictures, f.compositor ? 1 : 0, f.scale, f.clicks, f.moves, f.keys);
  return line + f.ini + "\n";
}

std::string StarsText(const std::vector<StarLine>& stars) {
  std::string text;
  char line[256];
  for (const StarLine& s : stars) {
    snprintf(line, sizeof line, "window=0x%" PRIxPTR " x=%d y=%d w=%d h=%d shown=%d grabbed=%d flying=%d number=%d image=%d\n",
             s.window, s.x, s.y, s.w, s.h, s.shown ? 1 : 0, s.grabbed ? 1 : 0, s.flying ? 1 : 0, s.number, s.image);
    text += line;
  }
  return text + "end\n";
}

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
