#include "CommandLine.h"

#include <QCommandLineOption>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

#include "text/DiskFile.h"
#include "text/Locale.h"
#include "text/Translation.h"

namespace v3cli {
namespace {

const QString kProgram = QStringLiteral("vantaro3-cli");

// The locale ids the program knows (those a POSIX locale name maps to).
struct KnownLocale {
  int id;
  const char* name;
};
const KnownLocale kLocales[] = {
    {2052, "Simplified Chinese"},
    {1028, "Traditional Chinese"},
    {3076, "Chinese, Hong Kong"},
    {5124, "Chinese, Macao"},
    {1033, "English, US"},
    {2057, "English, UK"},
    {3081, "English, Australia"},
    {4105, "English, Canada"},
    {1041, "Japanese"},
    {1042, "Korean"},
    {1031, "German"},
    {1036, "French"},
    {3082, "Spanish"},
    {1040, "Italian"},
    {1046, "Portuguese, Brazil"},
    {1049, "Russian"},
    {1043, "Dutch"},
    {1053, "Swedish"},
};

const char kTexts[] = QT_TRANSLATE_NOOP("Cli",
                                        "TABLE is a file name such as Team.dat, matched without regard to case\n"
                                        "('vantaro3-cli tables' lists them). E is utf-8 (the default), gbk or big5.\n"
                                        "A FILE given as - is standard input.\n"
                                        "--locale N sets the system locale id (2052 Simplified, 1028 Traditional); it\n"
                                        "chooses the language file (CHS.txt or CHT.txt) for headers and column names\n"
                                        "and how text is written (on 2052 Simplified characters become Traditional).\n"
                                        "It may be given before the command or among its options.\n"
                                        "--lang L chooses the language of messages: zh_CN (Simplified), zh_TW\n"
                                        "(Traditional) or en; without it LC_ALL, LC_MESSAGES or LANG does, else the\n"
                                        "locale id of --locale, else English.\n");

const char kExitStatus[] =
    QT_TRANSLATE_NOOP("Cli",
                      "Exit status:\n"
                      "  0  success; diff found no difference, check and lint found nothing\n"
                      "  1  differences or findings: diff found a difference; check found a table\n"
                      "     whose bytes would change, one a save would refuse, or a file left by an\n"
                      "     interrupted save; lint found a problem; apply found a conflict\n"
                      "  2  usage error: an unknown command, option or table, a missing or extra\n"
                      "     argument, a bad option value\n"
                      "  3  a file or folder that cannot be read or written (standard output too:\n"
                      "     a full device, a closed pipe), a folder that holds none of the game's\n"
                      "     data files, a table that is not there, a CSV or export that is\n"
                      "     refused, or a save that is refused or fails\n");

int g_writeErrno = 0;
bool g_writeReported = false;

QString optionUsage(const OptionDef& o) {
  return o.valueName.isEmpty() ? QStringLiteral("--%1").arg(o.name)
                               : QStringLiteral("--%1 %2").arg(o.name, o.valueName);
}

QString usageLine(const CommandDef& c) {
  QStringList parts{c.name};
  for (const ArgumentDef& a : c.arguments) {
    if (a.count == ArgumentDef::One)
      parts << a.name;
    else if (a.count == ArgumentDef::Optional)
      parts << QStringLiteral("[%1]").arg(a.name);
    else
      parts << QStringLiteral("[%1 ...]").arg(a.name);
  }
  for (const OptionDef& o : c.options) parts << QStringLiteral("[%1]").arg(optionUsage(o));
  return parts.join(u' ');
}

QString indented(const QString& text, int by) {
  QString out;
  const QString pad(by, u' ');
  for (const QString& line : text.split(u'\n')) out += (line.isEmpty() ? QString() : pad + line) + u'\n';
  return out;
}

QString mainHelp(const std::vector<CommandDef>& commands) {
  QString text = Texts::tr(
      "Usage: vantaro3-cli [--locale N] [--lang L] COMMAND [ARGUMENT ...] [OPTION ...]\n"
      "       vantaro3-cli help COMMAND     (or: COMMAND --help, COMMAND -h)\n"
      "       vantaro3-cli --help | --version\n"
      "\n"
      "Loads and saves the game's data tables with the same routines as the editor.\n"
      "Options take their value as --option VALUE or --option=VALUE.\n"
      "\n"
      "Commands:\n");
  for (const CommandDef& c : commands) text += QStringLiteral("  %1\n").arg(usageLine(c)) + indented(c.summary, 6);
  return text + u'\n' + Texts::tr(kTexts) + u'\n' + Texts::tr(kExitStatus);
}

QString commandHelp(const CommandDef& c) {
  QString text = Texts::tr("Usage: vantaro3-cli [--locale N] [--lang L] %1\n\n").arg(usageLine(c)) + c.summary + u'\n';
  if (!c.description.isEmpty()) text += c.description + u'\n';
  std::vector<std::pair<QString, QString>> rows;
  for (const OptionDef& o : c.options) rows.emplace_back(optionUsage(o), o.help);
  rows.emplace_back(QStringLiteral("--locale N"), Texts::tr("the system locale id (see 'vantaro3-cli --help')"));
  rows.emplace_back(QStringLiteral("--lang L"), Texts::tr("the language of messages: zh_CN, zh_TW or en"));
  rows.emplace_back(QStringLiteral("-h, --help"), Texts::tr("show this help"));
  text += u'\n' + Texts::tr("Options:\n");
  for (const auto& [name, help] : rows) text += QStringLiteral("  %1  %2\n").arg(name.leftJustified(16), help);
  return text + u'\n' + Texts::tr(kExitStatus);
}

int usageErrorFor(const QString& command, const QString& message) {
  Err(QStringLiteral("%1: %2").arg(command.isEmpty() ? kProgram : kProgram + u' ' + command, message));
  Err(command.isEmpty() ? Texts::tr("Try '%1 --help'.").arg(kProgram)
                        : Texts::tr("Try '%1 help %2'.").arg(kProgram, command));
  return kUsage;
}

// The system locale id of --locale N into *localeId; false (a usage error) for an id the program does not know.
bool applyLocale(const QString& value, int* localeId, QString* error) {
  bool ok = false;
  const int id = value.toInt(&ok);
  for (const KnownLocale& l : kLocales)
    if (ok && l.id == id) {
      *localeId = id;
      return true;
    }
  QStringList known;
  for (const KnownLocale& l : kLocales) known << QStringLiteral("%1 (%2)").arg(l.id).arg(QLatin1String(l.name));
  *error = Texts::tr("unknown locale id \"%1\" (known: %2)").arg(value, known.join(QStringLiteral(", ")));
  return false;
}

// --lang L: a usage error for a language the program has no messages in.
bool checkLanguage(const QCommandLineParser& parser, QString* error) {
  v3::UiLanguage language;
  const QString value = parser.value(QStringLiteral("lang"));
  if (!parser.isSet(QStringLiteral("lang")) || v3::UiLanguageFromOption(value, &language)) return true;
  *error = Texts::tr("unknown language \"%1\" (zh_CN, zh_TW or en)").arg(value);
  return false;
}

QCommandLineOption languageOption() {
  return QCommandLineOption(QStringLiteral("lang"), Texts::tr("the language of messages"), QStringLiteral("L"));
}
QCommandLineOption localeOption() {
  return QCommandLineOption(QStringLiteral("locale"), Texts::tr("system locale id"), QStringLiteral("N"));
}
QCommandLineOption helpOption() {
  return QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")}, Texts::tr("show the help"));
}

const CommandDef* findCommand(const std::vector<CommandDef>& commands, const QString& name) {
  for (const CommandDef& c : commands)
    if (c.name == name) return &c;
  return nullptr;
}

int runCommand(const CommandDef& c, const QStringList& rest, int localeId, const std::function<void(int)>& prepare) {
  QCommandLineParser parser;
  for (const OptionDef& o : c.options)
    parser.addOption(o.valueName.isEmpty() ? QCommandLineOption(o.name, o.help)
                                           : QCommandLineOption(o.name, o.help, o.valueName));
  parser.addOption(localeOption());
  parser.addOption(languageOption());
  parser.addOption(helpOption());
  if (!parser.parse(QStringList{kProgram + u' ' + c.name} + rest)) return usageErrorFor(c.name, parser.errorText());
  if (parser.isSet(QStringLiteral("help"))) {
    Out(commandHelp(c).toUtf8());
    return kSuccess;
  }
  const QStringList given = parser.positionalArguments();
  qsizetype at = 0;
  bool many = false;
  for (const ArgumentDef& a : c.arguments) {
    if (a.count == ArgumentDef::One && at >= given.size())
      return usageErrorFor(c.name, Texts::tr("missing %1").arg(a.name));
    if (a.count == ArgumentDef::Many)
      many = true;
    else if (at < given.size())
      ++at;
  }
  if (!many && at < given.size()) return usageErrorFor(c.name, Texts::tr("unexpected argument \"%1\"").arg(given[at]));
  QString error;
  if ((parser.isSet(QStringLiteral("locale")) &&
       !applyLocale(parser.value(QStringLiteral("locale")), &localeId, &error)) ||
      !checkLanguage(parser, &error))
    return usageErrorFor(c.name, error);
  if (prepare) prepare(localeId ? localeId : v3::SystemLocaleNumber());
  return c.run(Invocation(c, parser));
}

}  // namespace

int Invocation::usageError(const QString& message) const { return usageErrorFor(command_.name, message); }

namespace {

// Standard output that is a pipe holds 64 KB: a large output, written
// faster than the reader takes it, waits for the reader every 64 KB. With
// room for a few of the pieces written at once, the writer and the reader
// wait for each other far less often. The most an unprivileged process may
// ask for is taken, up to 1 MB; a pipe that stays as it was is fine too.
void widenPipe() {
  static bool tried = false;
  if (std::exchange(tried, true)) return;
  struct stat st {};
  if (fstat(STDOUT_FILENO, &st) != 0 || !S_ISFIFO(st.st_mode)) return;
  if (fcntl(STDOUT_FILENO, F_GETPIPE_SZ) >= (1 << 20)) return;
  fcntl(STDOUT_FILENO, F_SETPIPE_SZ, 1 << 20);
}

}  // namespace

void Out(QByteArrayView bytes) {
  if (bytes.isEmpty()) return;
  errno = 0;
  // A large piece goes out in one write of its own, after what the stream
  // holds, rather than cut at the stream's buffer.
  constexpr qsizetype kLarge = 64 * 1024;
  if (bytes.size() >= kLarge && g_writeErrno == 0) {
    widenPipe();
    if (std::fflush(stdout) != 0) {
      g_writeErrno = errno != 0 ? errno : EIO;
      return;
    }
    for (qsizetype done = 0; done < bytes.size();) {
      const ssize_t n = ::write(STDOUT_FILENO, bytes.data() + done, size_t(bytes.size() - done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        g_writeErrno = n < 0 ? errno : EIO;
        return;
      }
      done += n;
    }
    return;
  }
  if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()) && g_writeErrno == 0)
    g_writeErrno = errno != 0 ? errno : EIO;
}

int FinishOutput(const QString& what) {
  errno = 0;
  if (std::fflush(stdout) != 0 && g_writeErrno == 0) g_writeErrno = errno != 0 ? errno : EIO;
  if (std::ferror(stdout) && g_writeErrno == 0) g_writeErrno = EIO;
  if (g_writeErrno == 0) return kSuccess;
  if (!g_writeReported) {
    g_writeReported = true;
    Err(Texts::tr("%1: cannot write %2: %3")
            .arg(kProgram, what.isEmpty() ? Texts::tr("to standard output") : what,
                 v3::disk::SystemReason(g_writeErrno)));
  }
  return kTrouble;
}

void Err(const QString& line) {
  const QByteArray b = line.toUtf8() + '\n';
  std::fwrite(b.constData(), 1, size_t(b.size()), stderr);
}

int Trouble(const QString& message) {
  Err(QStringLiteral("%1: %2").arg(kProgram, message));
  return kTrouble;
}

QString InputName(const QString& path) { return path == u'-' ? Texts::tr("standard input") : path; }

bool ReadInputFile(const QString& path, QByteArray* bytes, QString* error) {
  bytes->clear();
  if (path == u'-') {
    char buffer[65536];
    for (;;) {
      const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
      if (n == 0) return true;
      if (n < 0) {
        if (errno == EINTR) continue;
        *error = Texts::tr("cannot read standard input: %1").arg(v3::disk::SystemReason(errno));
        bytes->clear();
        return false;
      }
      bytes->append(buffer, n);
    }
  }
  bool exists = false;
  QString reason;
  if (!v3::disk::Read(path, bytes, &exists, &reason)) {
    *error = Texts::tr("cannot read %1: %2").arg(path, reason);
    return false;
  }
  if (!exists) {
    *error = Texts::tr("cannot read %1: %2").arg(path, v3::disk::SystemReason(ENOENT));
    return false;
  }
  return true;
}

void ChooseMessageLanguage(const QStringList& arguments) {
  QString language;
  int localeId = 0;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& a = arguments[i];
    if (a == QLatin1String("--")) break;
    for (const char* option : {"--lang", "--locale"}) {
      QString value;
      const QLatin1String name(option);
      if (a == name && i + 1 < arguments.size())
        value = arguments[i + 1];
      else if (a.startsWith(name + u'='))
        value = a.mid(name.size() + 1);
      else
        continue;
      if (name == QLatin1String("--lang"))
        language = value;
      else
        localeId = value.toInt();
    }
  }
  v3::InstallUiLanguage(v3::ChooseUiLanguage(language, v3::EnvironmentLocaleName(), localeId));
}

int RunCommandLine(const std::vector<CommandDef>& commands, const QStringList& arguments,
                   const std::function<void(int localeId)>& prepare) {
  // Options before the command; everything from the command on is its own.
  QCommandLineParser top;
  top.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
  const QCommandLineOption version(QStringLiteral("version"), Texts::tr("show the version"));
  top.addOption(localeOption());
  top.addOption(languageOption());
  top.addOption(helpOption());
  top.addOption(version);
  int status = kSuccess;
  int localeId = 0;  // --locale, before the command or among its options; 0: the environment's
  QString error;
  QStringList rest;
  if (!top.parse(QStringList{kProgram} + arguments)) {
    status = usageErrorFor(QString(), top.errorText());
  } else if ((top.isSet(QStringLiteral("locale")) &&
              !applyLocale(top.value(QStringLiteral("locale")), &localeId, &error)) ||
             !checkLanguage(top, &error)) {
    status = usageErrorFor(QString(), error);
  } else if (rest = top.positionalArguments(); top.isSet(QStringLiteral("help")) && rest.isEmpty()) {
    Out(mainHelp(commands).toUtf8());
  } else if (top.isSet(version)) {
    Out("vantaro3-cli " V3_VERSION "\n");
  } else if (rest.isEmpty()) {
    status = usageErrorFor(QString(), Texts::tr("no command"));
  } else {
    const QString name = rest.takeFirst();
    if (top.isSet(QStringLiteral("help"))) rest.prepend(QStringLiteral("--help"));  // --help export
    if (name == QLatin1String("help")) {
      const CommandDef* c = rest.isEmpty() ? nullptr : findCommand(commands, rest[0]);
      if (rest.isEmpty())
        Out(mainHelp(commands).toUtf8());
      else if (rest.size() > 1)
        status = usageErrorFor(QString(), Texts::tr("help takes one COMMAND"));
      else if (!c)
        status = usageErrorFor(QString(), Texts::tr("unknown command: %1").arg(rest[0]));
      else
        Out(commandHelp(*c).toUtf8());
    } else if (const CommandDef* c = findCommand(commands, name)) {
      status = runCommand(*c, rest, localeId, prepare);
    } else {
      status = usageErrorFor(QString(), Texts::tr("unknown command: %1").arg(name));
    }
  }
  // Whatever the command did, output that did not reach its place is trouble.
  return FinishOutput() != kSuccess ? kTrouble : status;
}

}  // namespace v3cli
