// What the program says of itself on a Unix socket, when TOVIK2_STATUS names
// its path, so that tests wait on state rather than on time. A client writes
// one command line and reads until the program closes the connection:
//   status  one line of key=value figures (StatusFigures)
//   stars   one line per star in the list (StarLine), then "end"
// Without the variable there is no socket and no cost.
#pragma once
#include <functional>
#include <vector>

#include <QObject>

#include "linux/plain/status_text.h"

class QLocalServer;
class QLocalSocket;

class StatusAnswer : public QObject {
  Q_OBJECT

 public:
  using FiguresSource = std::function<void(StatusFigures*)>;
  using StarsSource = std::function<void(std::vector<StarLine>*)>;

  StatusAnswer(FiguresSource figures, StarsSource stars);
  ~StatusAnswer() override;

  // Listens at the path TOVIK2_STATUS names; true when there is none to
  // listen at (nothing asked) or listening began.
  bool ListenFromEnvironment();

 private:
  void Answer(QLocalSocket* client);

  FiguresSource figures_;
  StarsSource stars_;
  QLocalServer* server_ = nullptr;
  QString path_;
};
