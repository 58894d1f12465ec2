// Vantaro3DataEditer: the editor program.
#include <QApplication>

#include <cstdio>

#include "app/MainWindow.h"
#include "editors/BuiltInDialogs.h"
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

  // The shell opens the editors and table windows through the dialogs made here.
  const std::unique_ptr<v3::DialogFactory> dialogs = v3::MakeBuiltInDialogs(QCoreApplication::applicationDirPath());
  v3::ShellOptions options;
  options.dialogs = dialogs.get();
  v3::Vantaro3 window(options);
  // A cancelled folder prompt, or a folder without the game's files, ends
  // the program before its window is shown.
  if (!window.startUp()) return 0;
  window.show();
  return app.exec();
}
