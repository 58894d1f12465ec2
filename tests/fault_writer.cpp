// The writers that the command-line tool has no command for, as a small
// program, so that the fault-injection test can run each of them as a process:
//   fault_writer standalone FOLDER WINDOW BOX TEXT   load the window's file, set one box, save
//   fault_writer ini FILE SECTION KEY VALUE           write one Config.ini entry
// Exit status 0 when saved, 1 with the message on standard error when not.
#include <QCoreApplication>

#include "text/Translation.h"

#include <cstdio>

#include "tables/StandaloneTables.h"
#include "text/Ini.h"

using namespace v3;

namespace {

int fail(const QString& message) {
  std::fprintf(stderr, "%s\n", message.toUtf8().constData());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  // Messages in the language the environment chooses, as the programs do.
  v3::InstallUiLanguage(v3::ChooseUiLanguage(QString(), v3::EnvironmentLocaleName(), 0));
  const QStringList a = app.arguments().mid(1);
  if (a.size() == 5 && a[0] == QLatin1String("standalone")) {
    const StandaloneInfo* info = FindStandalone(a[2]);
    if (!info) return fail(QStringLiteral("no window %1").arg(a[2]));
    StandaloneTable table(info->kind, Script::Traditional);
    QString error;
    if (!table.load(a[1], &error)) return fail(QStringLiteral("%1 读取失败：%2").arg(info->fileName, error));
    if (!table.setText(a[3], a[4])) return fail(QStringLiteral("no box %1").arg(a[3]));
    const StandaloneSave outcome = table.save(a[1]);
    if (!outcome.ok()) return fail(outcome.message(info->fileName));
    return 0;
  }
  if (a.size() == 5 && a[0] == QLatin1String("ini")) {
    QString error;
    if (!WriteIniValue(a[1], a[2], a[3], a[4], &error)) return fail(error);
    return 0;
  }
  return fail(QStringLiteral("usage: fault_writer standalone FOLDER WINDOW BOX TEXT | ini FILE SECTION KEY VALUE"));
}
