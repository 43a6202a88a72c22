// The idle floor: a plain Qt program with one window, doing nothing.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.resize(200, 100);
  window.show();
  return app.exec();
}
