#pragma once
// What the shell's tests share: a front that answers instead of the user, a
// record of the dialogs the shell opens, and a program folder with a data
// folder beside it.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>
#include <optional>

#include "SampleFolders.h"
#include "TestSupport.h"
#include "editors/BuiltInDialogs.h"
#include "app/MainWindow.h"
#include "app/UiFront.h"
#include "app/Catalogue.h"
#include "model/RecordGrid.h"
#include "tools/Sample.h"
#include "tables/Tables.h"
#include "text/Big5.h"

namespace v3test {

class FakeFront : public v3::UiFront {
 public:
  struct Message {
    QString text;
    Icon icon;
  };
  QList<Message> messages;
  QStringList folderAnswers;  // answered in turn; none left means cancel
  QStringList prompts;
  QStringList folderStarts;  // where each folder picker opened
  QStringList opened;
  QStringList answers;  // button texts, answered in turn; none left means the last button (cancel)
  QStringList questions;
  QList<QStringList> questionButtons;
  std::function<void()> onQuestion;  // runs while the question is shown

  void message(QWidget*, const QString& text, Icon icon) override { messages.append({text, icon}); }
  int ask(QWidget*, const QString& text, const QStringList& buttons) override {
    questions.append(text);
    questionButtons.append(buttons);
    if (onQuestion) onQuestion();
    const int cancel = int(buttons.size()) - 1;
    if (answers.isEmpty()) return cancel;
    const QString answer = answers.takeFirst();
    const int i = int(buttons.indexOf(answer));
    if (i < 0) qWarning() << "no button" << answer << "in" << buttons;
    return i < 0 ? cancel : i;
  }
  QString chooseFolder(QWidget*, const QString& prompt, const QString& start) override {
    prompts.append(v3::FolderPrompt(prompt));
    folderStarts.append(start);
    return folderAnswers.isEmpty() ? QString() : folderAnswers.takeFirst();
  }
  void openDocument(QWidget*, const QString& path) override { opened.append(path); }
  QStringList fileAnswers;  // the file picker's answers in turn; none left means cancel
  QList<bool> askAnswers;   // Yes/No questions' answers in turn; none left means No
  QString chooseFile(QWidget*, const QString&, const QString&, bool) override {
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
  }
  bool ask(QWidget*, const QString& question) override {
    questions.append(question);
    return !askAnswers.isEmpty() && askAnswers.takeFirst();
  }
  QStringList texts() const {
    QStringList t;
    for (const Message& m : messages) t.append(m.text);
    return t;
  }
};

class FakeDialogs : public v3::DialogFactory {
 public:
  bool editors = true;   // every editor exists
  bool windows = false;  // no standalone window exists
  QList<v3::EditorRequest> shownEditors;
  QStringList shownWindows;
  std::function<void(const v3::EditorRequest&, v3::RecordGrid&)> onEditor;  // what the "user" does in it

  bool hasEditor(const QString& e) const override { return editors && !e.isEmpty(); }
  void showEditor(const v3::EditorRequest& r, v3::RecordGrid& g, QWidget*) override {
    shownEditors.append(r);
    if (onEditor) onEditor(r, g);
  }
  bool hasWindow(const QString&) const override { return windows; }
  void showWindow(const QString& w, const v3::DialogContext&, QWidget*) override { shownWindows.append(w); }
};

// A program folder with Config.ini naming a generated data folder.
struct Shell {
  QTemporaryDir root;
  QString programFolder;
  QString dataFolder;
  FakeFront front;
  FakeDialogs dialogs;
  v3::FileStore* store = nullptr;
  bool programDialogs = false;  // the program's own editors instead of the record of them
  int localeId = 1033;          // the system locale id the window is started with
  std::unique_ptr<v3::DialogFactory> builtIn;
  std::unique_ptr<v3::Vantaro3> window;

  explicit Shell(int records = 9, unsigned seed = 7) {
    programFolder = root.filePath(QStringLiteral("program"));
    dataFolder = root.filePath(QStringLiteral("data"));
    QDir().mkpath(programFolder);
    QDir().mkpath(dataFolder);
    QString error;
    if (!CopySampleFolder(dataFolder, seed, records, &error)) qWarning() << "sample folder:" << error;
    WriteFile(programFolder + QStringLiteral("/Config.ini"),
              QByteArray("[Config]\r\nPath=") + dataFolder.toUtf8() + "\r\n");
  }

  // Builds the window and runs its start-up.
  // No script: the system locale's.
  bool start(std::optional<v3::Script> script = v3::Script::Simplified) {
    v3::ShellOptions o;
    o.programFolder = programFolder;
    o.script = script;
    o.localeId = localeId;
    o.front = &front;
    if (programDialogs) builtIn = v3::MakeBuiltInDialogs(programFolder);
    o.dialogs = programDialogs ? builtIn.get() : &dialogs;
    o.store = store;
    window = std::make_unique<v3::Vantaro3>(o);
    return window->startUp();
  }

  QAction* action(const QString& name) const { return window->findChild<QAction*>(name); }
  void trigger(const QString& name) const {
    QAction* a = action(name);
    QVERIFY2(a, qPrintable(name));
    QVERIFY2(a->isEnabled(), qPrintable(name));
    a->trigger();
  }
  // Opens a table through its Select-menu entry.
  void open(const QString& fileName) const {
    for (const v3::CatalogueEntry& e : v3::Catalogue())
      if (e.fileName == fileName) return trigger(e.menuEntry);
    QFAIL(qPrintable(fileName));
  }
  v3::RecordGrid& grid() const { return window->grid(); }
  QString path(const QString& file) const { return dataFolder + QLatin1Char('/') + file; }
};

inline std::vector<int> Rows(std::initializer_list<int> rows) { return std::vector<int>(rows); }

// Selects exactly the given grid rows.
inline void SelectRows(v3::RecordGrid& grid, const std::vector<int>& rows) {
  grid.clearSelection();
  for (int r : rows) grid.setRowSelected(r, true);
}

// A GBK language file with the given INI text.
inline void WriteLanguageFile(const QString& programFolder, const QString& name, const QString& ini) {
  WriteFile(programFolder + QLatin1Char('/') + name,
            v3::EncodeCodePage(ini, name == QLatin1String("CHT.txt") ? 950 : 936));
}

#define V3_REQUIRE_TABLE(file) \
  if (!v3::FindTable(QStringLiteral(file))) QSKIP(file " is not built yet")

}  // namespace v3test
