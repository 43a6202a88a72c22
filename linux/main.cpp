// tovik2: the star field on the X11 desktop.
#include <cstdio>
#include <cstdlib>

#include <QApplication>

#include "linux/linux_app.h"
#include "linux/signal_end.h"

int main(int argc, char** argv) {
  SignalEnd::BlockEndSignals();
  // Global input and override-redirect windows are X11's: in a Wayland
  // session the program runs on XWayland and hears X11 programs alone.
  if (getenv("WAYLAND_DISPLAY") != nullptr && getenv("DISPLAY") != nullptr) {
    fprintf(stderr, "tovik2: Wayland session: only the input of X11 programs makes stars\n");
  }
  qputenv("QT_QPA_PLATFORM", "xcb");
  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);

  SignalEnd endSignals;
  QObject::connect(&endSignals, &SignalEnd::EndAsked, &app, [] { QApplication::quit(); });
  if (!endSignals.Listen()) fprintf(stderr, "tovik2: SIGTERM and SIGINT cannot be heard\n");

  LinuxApp program;
  if (!program.Start()) return 1;
  return app.exec();
}
