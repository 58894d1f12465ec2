#pragma once
// The command-line tool's frame: one declaration per command (its arguments,
// its options, its help), parsed with QCommandLineParser, the exit status of
// every command, and standard output whose write errors are not lost.
#include <QByteArray>
#include <QByteArrayView>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace v3cli {

// The tool's own messages, translated (text/Translation.h) under one context.
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Cli)
};

// The exit status of every command.
enum Status : int {
  kSuccess = 0,  // done; diff: no differences; check, lint: nothing found
  kFound = 1,    // diff, check or lint found a difference or a problem
  kUsage = 2,    // the command line is wrong
  kTrouble = 3,  // a file or folder cannot be read or written, or a save is refused or fails
};

// The worse of two outcomes: trouble over findings over success.
inline int Worse(int a, int b) { return a > b ? a : b; }

struct OptionDef {
  QString name;       // the long name, without "--"
  QString valueName;  // empty: a switch without a value
  QString help;
};

struct ArgumentDef {
  enum Count { One, Optional, Many };
  QString name;
  Count count = One;
};

class Invocation;

struct CommandDef {
  QString name;
  std::vector<ArgumentDef> arguments;
  std::vector<OptionDef> options;
  QString summary;      // one line, in the list of commands
  QString description;  // what its own help says beyond the summary
  std::function<int(const Invocation&)> run;
};

// A command as given: its positional arguments and options, parsed.
class Invocation {
 public:
  Invocation(const CommandDef& command, const QCommandLineParser& parser)
      : command_(command), parser_(parser), positional_(parser.positionalArguments()) {}
  const QStringList& positional() const { return positional_; }
  QString arg(qsizetype i) const { return positional_.value(i); }
  bool isSet(const QString& option) const { return parser_.optionNames().contains(option); }
  QString value(const QString& option) const { return parser_.value(option); }
  // The message and how to get the command's help on standard error; kUsage.
  int usageError(const QString& message) const;

 private:
  const CommandDef& command_;
  const QCommandLineParser& parser_;
  QStringList positional_;
};

// Installs the language of messages (text/Translation.h) that the arguments'
// --lang and --locale and the environment choose, before any text is made.
void ChooseMessageLanguage(const QStringList& arguments);

// Parses the arguments (without the program's name), prints help, the
// version or a usage error, or calls prepare() with the system locale id
// (--locale, else the environment's) and runs the command. Returns the exit
// status; a write error on standard output makes it kTrouble.
int RunCommandLine(const std::vector<CommandDef>& commands, const QStringList& arguments,
                   const std::function<void(int localeId)>& prepare);

// Standard output. The first error is kept; FinishOutput() flushes and
// reports it (once, naming what was being written): kTrouble, or kSuccess.
void Out(QByteArrayView bytes);
int FinishOutput(const QString& what = QString());
void Err(const QString& line);  // one line on standard error
// "vantaro3-cli: message" on standard error; kTrouble.
int Trouble(const QString& message);

// Reads a whole file, or standard input for "-". False with *error (the
// reason, naming the file) when it cannot be read or is not there.
bool ReadInputFile(const QString& path, QByteArray* bytes, QString* error);
QString InputName(const QString& path);  // "standard input" for "-"

}  // namespace v3cli
