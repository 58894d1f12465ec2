// Vantaro3DataEditer: the editor program.
#include <QApplication>

#include <cstdio>
#include <cstring>

#include "app/MainWindow.h"
#include "app/QtTexts.h"
#include "editors/BuiltInDialogs.h"
#include "text/Locale.h"

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("Vantaro3DataEditer %s\n", V3_VERSION);
      return 0;
    }
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::printf(
          "Usage: Vantaro3DataEditer [--locale N] [Qt options]\n"
          "Opens the editor for the game's data folder (remembered in Config.ini).\n"
          "--locale N sets the system locale id (2052 Simplified, 1028 Traditional).\n"
          "--version prints the version. The command-line tool is vantaro3-cli.\n");
      return 0;
    }
  }
  QString error;
  int localeId = v3::SystemLocaleNumber();
  if (!v3::TakeLocaleOption(argc, argv, &localeId, &error)) {
    std::fprintf(stderr, "Vantaro3DataEditer: %s\n", error.toLocal8Bit().constData());
    return 2;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vantaro3DataEditer"));
  QApplication::setApplicationVersion(QStringLiteral(V3_VERSION));
  // The desktop entry that an installed program comes with.
  QGuiApplication::setDesktopFileName(QStringLiteral("vantaro3"));

  // Qt's own buttons and dialogs speak the interface's language.
  v3::InstallQtTranslations(v3::InterfaceScript(localeId));

  // The shell opens the editors and table windows through the dialogs made here.
  const std::unique_ptr<v3::DialogFactory> dialogs = v3::MakeBuiltInDialogs(QCoreApplication::applicationDirPath());
  v3::ShellOptions options;
  options.localeId = localeId;
  options.dialogs = dialogs.get();
  v3::Vantaro3 window(options);
  // A cancelled folder prompt, or a folder without the game's files, ends
  // the program before its window is shown.
  if (!window.startUp()) return 0;
  window.show();
  return app.exec();
}
