// Vantaro3DataEditer: the editor program.
#include <QApplication>

#include <cstdio>

#include "app/MainWindow.h"
#include "text/Locale.h"

int main(int argc, char** argv) {
  QString error;
  if (!v3::TakeLocaleOption(argc, argv, &error)) {
    std::fprintf(stderr, "Vantaro3DataEditer: %s\n", error.toLocal8Bit().constData());
    return 2;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vantaro3DataEditer"));
  QApplication::setApplicationVersion(QStringLiteral("1.3"));

  v3::Vantaro3 window;
  // A cancelled folder prompt, or a folder without the game's files, ends
  // the program before its window is shown.
  if (!window.startUp()) return 0;
  window.show();
  return app.exec();
}
