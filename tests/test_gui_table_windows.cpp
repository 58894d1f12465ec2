// The four standalone table windows: their controls and texts, reading on
// opening and on Cmd_Load, the boxes that follow or fill others, saves that
// go through silently and saves that are refused or fail with one message.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QUndoStack>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QtTest>

#include "EditorTestSupport.h"
#include "TestSupport.h"
#include "editors/BuiltInDialogs.h"
#include "app/UiFront.h"
#include "editors/TableWindows.h"
#include "tools/Sample.h"
#include "text/Big5.h"
#include "app/Texts.h"
#include "text/Language.h"
#include "text/Locale.h"

using namespace v3;
using namespace v3test;

namespace {

class RecordingFront : public UiFront {
 public:
  QStringList messages;
  QStringList questions;
  QStringList answers;  // button texts in turn; none left: the last button
  void message(QWidget*, const QString& text, Icon) override { messages.append(text); }
  int ask(QWidget*, const QString& text, const QStringList& buttons) override {
    questions.append(text);
    const int i = answers.isEmpty() ? -1 : int(buttons.indexOf(answers.takeFirst()));
    return i < 0 ? int(buttons.size()) - 1 : i;
  }
  QString chooseFolder(QWidget*, const QString&, const QString&) override { return QString(); }
  void openDocument(QWidget*, const QString&) override {}
};

class FailingStore : public FileStore {
 public:
  bool failRead = false, failReplace = false;
  QByteArray read(const QString& path, bool* exists, QString* error) override {
    if (failRead && QFileInfo::exists(path)) {
      *exists = true;
      if (error) *error = QStringLiteral("拒绝访问");
      return QByteArray();
    }
    return FileStore::read(path, exists, error);
  }
  bool readSame(const QString& path, const QByteArray& expected, bool* exists, bool* same, QString* error) override {
    if (failRead && QFileInfo::exists(path)) {
      *exists = true;
      if (error) *error = QStringLiteral("拒绝访问");
      return false;
    }
    return FileStore::readSame(path, expected, exists, same, error);
  }
  bool replace(const QString& path, const QByteArray& bytes, QString* error) override {
    if (failReplace) {
      if (error) *error = QStringLiteral("磁盘已满");
      return false;
    }
    return FileStore::replace(path, bytes, error);
  }
};

qint32 S32At(const QByteArray& b, int at) {
  return qint32(quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8 | quint32(quint8(b[at + 2])) << 16 |
                quint32(quint8(b[at + 3])) << 24);
}

void Click(TableWindow& w, const char* button) {
  QPushButton* b = w.button(QLatin1String(button));
  QVERIFY2(b, button);
  QTest::mouseClick(b, Qt::LeftButton);
}

}  // namespace

class TableWindowsTest : public QObject {
  Q_OBJECT
  LanguageFile texts_;  // the interface's language file the dialogs are opened with
  QTemporaryDir root_;
  QString program_, data_;
  RecordingFront front_;

  QString path(const QString& file) const { return data_ + QLatin1Char('/') + file; }
  std::unique_ptr<TableWindow> open(const QString& name, FileStore* store = nullptr) {
    TableWindowOptions o;
    o.texts = texts_;
    o.programFolder = program_;
    o.front = &front_;
    o.store = store;
    return MakeTableWindow(name, o);
  }

 private slots:
  void initTestCase() {
    program_ = root_.filePath("program");
    QDir().mkpath(program_);
    WriteFile(program_ + "/Config.ini", "[Config]\r\nPath=" + root_.filePath("data").toUtf8() + "\r\n");
    // A language file with some of the windows' texts, in GBK.
    WriteFile(program_ + "/CHS.txt",
              EncodeCodePage(QStringLiteral("[Cons]\r\nCaption=星座表\r\nLb2=月份\r\nCmd_Save=存盘\r\n"
                                            "[Length]\r\nFrame(3)=电影类\r\nLb2=日\r\n"),
                             936));
    texts_ = LanguageFile(Script::Simplified, program_);
  }

  void init() {
    front_.messages.clear();
    data_ = root_.filePath("data");
    QDir(data_).removeRecursively();
    QString error;
    QVERIFY2(WriteSampleFolder(data_, 11, 6, &error), qPrintable(error));
  }

  void windowsHaveTheirControls_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<int>("boxCount");
    QTest::newRow("Cons") << "Cons"
                          << "星座表" << QStringList{"Text1(0)", "Text2(11)", "Text3(11)"} << 36;
    QTest::newRow("Dif") << "Dif"
                         << "Difficulty.tab" << QStringList{"Text(0)", "Text(39)"} << 40;
    QTest::newRow("Level") << "Level"
                           << "Level.tab" << QStringList{"Text1(0)", "Text1(8)"} << 9;
    QTest::newRow("Length") << "Length"
                            << "Length.tab" << QStringList{"Texta(0)", "Textc(35)", "Text1", "Text3"} << 111;
  }
  void windowsHaveTheirControls() {
    QFETCH(QString, window);
    QFETCH(QString, title);
    QFETCH(QStringList, boxes);
    QFETCH(int, boxCount);
    auto w = open(window);
    QVERIFY(w);
    QCOMPARE(w->objectName(), window);
    QCOMPARE(w->windowTitle(), title + "[*]");
    QCOMPARE(w->dataFolder(), data_);
    QCOMPARE(int(w->findChildren<QLineEdit*>().size()), boxCount);
    for (const QString& b : boxes) QVERIFY2(w->box(b), qPrintable(b));
    QCOMPARE(w->button("Cmd_Load")->text(), QString("读取"));
    QCOMPARE(w->button("Cmd_Save")->text(), window == "Cons" ? QString("存盘") : QString("保存"));
    QCOMPARE(w->button("Cmd_Exit")->text(), QString("退出"));
    for (const char* b : {"Cmd_Load", "Cmd_Save", "Cmd_Exit"}) QVERIFY(!w->button(b)->autoDefault());
    QVERIFY(front_.messages.isEmpty());
    QVERIFY(!MakeTableWindow("Team", {}));
  }

  void labelsFollowTheLanguageFile() {
    auto cons = open("Cons");
    QCOMPARE(cons->label("Lb2(5)")->text(), QString("月份"));
    QCOMPARE(cons->label("Lb3(5)")->text(), QString("日"));
    QCOMPARE(cons->box("Text1(0)")->text(), QString("牡羊座"));
    QCOMPARE(cons->box("Text2(0)")->text(), QString("3"));
    auto length = open("Length");
    QCOMPARE(length->findChild<QGroupBox*>("Frame(3)")->title(), QString("电影类"));
    QCOMPARE(length->findChild<QGroupBox*>("Frame(4)")->title(), QString("唱片"));
    QCOMPARE(length->label("Lb6(16)")->text(), QString("个人"));
    QCOMPARE(length->label("Lb7")->text(), QString("通告期限全"));
  }

  void levelBandsFollowTheBoxes() {
    WriteFile(path("Level.tab"), Le(10, 4) + Le(20, 4) + Le(30, 4) + QByteArray(24, '\0'));
    auto w = open("Level");
    QCOMPARE(w->label("Lb4(1)")->text(), QString("10"));
    QCOMPARE(w->label("Lb4(3)")->text(), QString("30"));
    QCOMPARE(w->label("Lb4(9)")->text(), QString("0"));
    QCOMPARE(w->label("Lb3(9)")->text(), QString("0"));
    QCOMPARE(w->label("Lb3(1)")->text(), QString("0.9"));
    QLineEdit* third = w->box("Text1(2)");
    third->selectAll();
    QTest::keyClicks(third, "450");
    QCOMPARE(w->label("Lb4(3)")->text(), QString("450"));
    QTest::keyClicks(third, "1");  // the box takes three characters
    QCOMPARE(third->text(), QString("450"));
    Click(*w, "Cmd_Save");
    QVERIFY(front_.messages.isEmpty());
    const QByteArray saved = ReadFile(path("Level.tab"));
    QCOMPARE(saved.size(), 36);
    QCOMPARE(S32At(saved, 8), 450);
    QCOMPARE(S32At(saved, 4), 20);
  }

  void levelShowsLongValuesWhole() {
    const QByteArray file = Le(1000, 4) + Le(-50, 4) + QByteArray(28, '\0');
    WriteFile(path("Level.tab"), file);
    auto w = open("Level");
    QCOMPARE(w->box("Text1(0)")->text(), QString("1000"));
    QCOMPARE(w->box("Text1(1)")->text(), QString("-50"));
    Click(*w, "Cmd_Save");
    QVERIFY(front_.messages.isEmpty());
    QCOMPARE(ReadFile(path("Level.tab")), file);
  }

  void lengthAllBoxesFillEveryRecord_data() {
    QTest::addColumn<QString>("all");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("offset");
    QTest::newRow("通告期限全") << "Text1"
                                << "Texta" << 24;
    QTest::newRow("一周工作全") << "Text2"
                                << "Textb" << 28;
    QTest::newRow("完成需要全") << "Text3"
                                << "Textc" << 32;
  }
  void lengthAllBoxesFillEveryRecord() {
    QFETCH(QString, all);
    QFETCH(QString, target);
    QFETCH(int, offset);
    const QByteArray before = ReadFile(path("Length.tab"));
    auto w = open("Length");
    const int size = w->table().recordSize();
    QTest::keyClicks(w->box(all), "4");
    for (int j = 0; j < 36; ++j) QCOMPARE(w->box(QString("%1(%2)").arg(target).arg(j))->text(), QString("4"));
    Click(*w, "Cmd_Save");
    QVERIFY(front_.messages.isEmpty());
    const QByteArray after = ReadFile(path("Length.tab"));
    QCOMPARE(after.size(), before.size());
    QByteArray expected = before;
    for (int j = 0; j < 36; ++j) Put(expected, 12 + j * size + offset, Le(4, 2));
    QCOMPARE(after, expected);
    QCOMPARE(ReadFile(path("Length.tab.bak")), before);
  }

  // The window's own undo, driven by keys in the shown window: each box left
  // is one step, a set-all box and the records it fills are one step, and
  // undoing back to the read clears the unsaved mark.
  void undoAndRedoInTheWindow() {
    front_.questions.clear();
    auto w = open("Length");
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    QStringList records;
    for (int j = 0; j < 36; ++j) records << w->box(QString("Texta(%1)").arg(j))->text();
    const QString first = w->box("Texta(0)")->text();
    QLineEdit* one = w->box("Texta(0)");
    one->setFocus();
    one->selectAll();
    QTest::keyClicks(one, "77");
    QTest::keyClick(one, Qt::Key_Tab);
    QLineEdit* all = w->box("Text1");
    all->setFocus();
    all->selectAll();
    QTest::keyClicks(all, "5");
    QTest::keyClick(all, Qt::Key_Tab);
    QCOMPARE(w->undoStack().count(), 2);
    for (int j = 0; j < 36; ++j) QCOMPARE(w->box(QString("Texta(%1)").arg(j))->text(), QString("5"));
    QVERIFY(w->hasUnsavedChanges());
    // Ctrl+Z in a box undoes the window's last step, not the box's typing.
    QTest::keyClick(one, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w->box("Texta(0)")->text(), QString("77"));
    for (int j = 1; j < 36; ++j) QCOMPARE(w->box(QString("Texta(%1)").arg(j))->text(), records[j]);
    QCOMPARE(all->text(), QString());
    QTest::keyClick(one, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w->box("Texta(0)")->text(), first);
    QVERIFY(!w->hasUnsavedChanges());
    QTest::keyClick(w->button("Cmd_Save"), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(w->box("Texta(0)")->text(), QString("77"));
    QVERIFY(w->hasUnsavedChanges());
    QTest::keyClick(one, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    for (int j = 0; j < 36; ++j) QCOMPARE(w->box(QString("Texta(%1)").arg(j))->text(), QString("5"));
    // Typing not yet left is a step of its own before an undo.
    one->setFocus();
    one->selectAll();
    QTest::keyClicks(one, "9");
    QTest::keyClick(one, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(one->text(), QString("5"));
    // Reading the file forgets the steps.
    Click(*w, "Cmd_Load");
    QCOMPARE(w->undoStack().count(), 0);
    QVERIFY(!w->hasUnsavedChanges());
  }

  void refusedSaveShowsOneMessage_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::newRow("month") << "Cons"
                           << "Text2(4)"
                           << "300";
    QTest::newRow("name") << "Cons"
                          << "Text1(4)"
                          << "一二三四五六七";
    QTest::newRow("difficulty") << "Dif"
                                << "Text(12)"
                                << "x";
    QTest::newRow("level") << "Level"
                           << "Text1(0)"
                           << "";
    QTest::newRow("length") << "Length"
                            << "Textb(30)"
                            << "99999";
  }
  void refusedSaveShowsOneMessage() {
    QFETCH(QString, window);
    QFETCH(QString, box);
    QFETCH(QString, text);
    const QString file = StandaloneFor(FindStandalone(window)->kind).fileName;
    const QByteArray before = ReadFile(path(file));
    auto w = open(window);
    w->box(box)->setText(text);
    const StandaloneSave out = w->saveFile();
    QCOMPARE(out.status, StandaloneSave::Refused);
    QCOMPARE(front_.messages.size(), 1);
    // Named by its label, never by the box's inner name.
    QVERIFY2(front_.messages[0].contains(out.label), qPrintable(front_.messages[0]));
    QVERIFY2(!front_.messages[0].contains(box), qPrintable(front_.messages[0]));
    QVERIFY(front_.messages[0].contains(file));
    QCOMPARE(ReadFile(path(file)), before);
    QVERIFY(!QFileInfo::exists(path(file + ".bak")));
    QCOMPARE(w->box(box)->text(), text);
  }

  void closingWithChangesAsks_data() {
    QTest::addColumn<QString>("answer");
    QTest::newRow("保存") << "保存";
    QTest::newRow("不保存") << "不保存";
    QTest::newRow("取消") << "取消";
  }
  void closingWithChangesAsks() {
    QFETCH(QString, answer);
    front_.questions.clear();
    front_.messages.clear();
    const QByteArray before = ReadFile(path("Level.tab"));
    auto w = open("Level");
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    // Closing unchanged asks nothing.
    QTest::keyClick(w.get(), Qt::Key_Escape);
    QVERIFY(!w->isVisible());
    QVERIFY(front_.questions.isEmpty());
    w->show();
    QLineEdit* box = w->box("Text1(2)");
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, "450");
    QVERIFY(w->hasUnsavedChanges());
    front_.answers = QStringList{answer};
    QTest::mouseClick(w->button("Cmd_Exit"), Qt::LeftButton);
    QCOMPARE(front_.questions.size(), 1);
    QCOMPARE(w->isVisible(), answer == QStringLiteral("取消"));
    QCOMPARE(ReadFile(path("Level.tab")) != before, answer == QStringLiteral("保存"));
    if (answer == QStringLiteral("保存")) {
      QCOMPARE(ReadFile(path("Level.tab")).mid(8, 4), Le(450, 4));
      // Where it went.
      QVERIFY2(w->statusLine().endsWith(QDir::toNativeSeparators(path("Level.tab"))), qPrintable(w->statusLine()));
    }
  }

  void refusedSaveKeepsTheWindowOpen() {
    front_.questions.clear();
    front_.messages.clear();
    auto w = open("Level");
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QLineEdit* box = w->box("Text1(0)");
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    front_.answers = QStringList{QStringLiteral("保存")};
    QTest::mouseClick(w->button("Cmd_Exit"), Qt::LeftButton);
    QVERIFY(w->isVisible());
    QCOMPARE(front_.messages.size(), 1);
    QVERIFY(w->hasUnsavedChanges());
    QVERIFY(w->statusLine().contains(QStringLiteral("未保存")));
  }

  void failedSaveShowsOneMessage() {
    FailingStore store;
    store.failReplace = true;
    const QByteArray before = ReadFile(path("Difficulty.tab"));
    auto w = open("Dif", &store);
    w->box("Text(0)")->setText("7");
    Click(*w, "Cmd_Save");
    QCOMPARE(front_.messages.size(), 1);
    QVERIFY(front_.messages[0].contains("保存失败"));
    QCOMPARE(ReadFile(path("Difficulty.tab")), before);
  }

  void unreadableFileShowsAMessageAndCannotBeSaved() {
    FailingStore store;
    store.failRead = true;
    const QByteArray before = ReadFile(path("Constellation.tab"));
    auto w = open("Cons", &store);
    QCOMPARE(front_.messages.size(), 1);
    QVERIFY(front_.messages[0].contains("读取失败"));
    QVERIFY(w->box("Text1(0)")->text().isEmpty());
    w->box("Text2(0)")->setText("1");
    Click(*w, "Cmd_Save");
    QCOMPARE(front_.messages.size(), 2);
    QCOMPARE(ReadFile(path("Constellation.tab")), before);
    // Once the file can be read, Cmd_Load brings its values back.
    store.failRead = false;
    Click(*w, "Cmd_Load");
    QCOMPARE(w->box("Text1(0)")->text(), QString("牡羊座"));
  }

  void loadReplacesTheBoxes() {
    auto w = open("Dif");
    const QString first = w->box("Text(0)")->text();
    w->box("Text(0)")->setText("12345");
    Click(*w, "Cmd_Load");
    QCOMPARE(w->box("Text(0)")->text(), first);
    QByteArray file = ReadFile(path("Difficulty.tab"));
    Put(file, 12, Le(-9, 2));
    WriteFile(path("Difficulty.tab"), file);
    Click(*w, "Cmd_Load");
    QCOMPARE(w->box("Text(0)")->text(), QString("-9"));
    QVERIFY(front_.messages.isEmpty());
  }

  void exitClosesWithoutSaving() {
    const QByteArray before = ReadFile(path("Level.tab"));
    auto w = open("Level");
    w->show();
    w->box("Text1(0)")->setText("5");
    Click(*w, "Cmd_Exit");
    QVERIFY(!w->isVisible());
    QCOMPARE(w->result(), int(QDialog::Rejected));
    QCOMPARE(ReadFile(path("Level.tab")), before);
    QVERIFY(!QFileInfo::exists(path("Level.tab.bak")));
  }

  void missingFileShowsZerosAndIsNotCreated() {
    QFile::remove(path("Constellation.tab"));
    auto w = open("Cons");
    QVERIFY(front_.messages.isEmpty());
    QVERIFY(w->box("Text1(0)")->text().isEmpty());
    QCOMPARE(w->box("Text2(0)")->text(), QString("0"));
    Click(*w, "Cmd_Save");
    QVERIFY(front_.messages.isEmpty());
    QVERIFY(!QFileInfo::exists(path("Constellation.tab")));
  }

  // The Select menu's entries open the windows through the dialogs the program has.
  // A refusal quotes the text as the user typed it: in a Traditional
  // interface only the message's own words are Traditional.
  void refusalQuotesTheTypedText_data() {
    QTest::addColumn<Script>("language");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("quoted");
    QTest::addColumn<QString>("words");  // the rest of the message, in the interface's script
    QTest::newRow("1028, Simplified character") << Script::Traditional << "团"
                                                << "“团”"
                                                << "無法以 Big5 儲存";
    QTest::newRow("1028, Simplified after Latin") << Script::Traditional << "A发"
                                                  << "“发”"
                                                  << "無法以 Big5 儲存";
    QTest::newRow("2052 interface") << Script::Simplified << "团"
                                    << "“团”"
                                    << "无法以 Big5 保存";
  }
  void refusalQuotesTheTypedText() {
    QFETCH(Script, language);
    QFETCH(QString, typed);
    QFETCH(QString, quoted);
    QFETCH(QString, words);
    texts_ = ShippedLanguage(language);
    const auto back = qScopeGuard([this] { texts_ = LanguageFile(Script::Simplified, program_); });
    auto w = open("Cons");
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    QLineEdit* name = w->box("Text1(4)");
    QTest::mouseClick(name, Qt::LeftButton);
    QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
    TypeInto(name, typed);
    Click(*w, "Cmd_Save");
    QCOMPARE(front_.messages.size(), 1);
    const QString& m = front_.messages[0];
    QVERIFY2(m.contains(quoted) && m.contains(words), qPrintable(m));
    QVERIFY2(!m.contains(ToTraditional(quoted)) || ToTraditional(quoted) == quoted, qPrintable(m));
  }

  // Typing marks the title [*] until the save; the save's status line (here
  // a long path) neither widens the window nor moves its buttons.
  void layoutStaysAcrossASave_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("box");
    QTest::addColumn<Script>("language");
    const struct {
      const char* window;
      const char* box;
    } boxes[] = {{"Cons", "Text3(0)"}, {"Dif", "Text(1)"}, {"Level", "Text1(0)"}, {"Length", "Texta(0)"}};
    for (Script language : {Script::Simplified, Script::Traditional})
      for (const auto& b : boxes)
        QTest::newRow(
            qPrintable(QStringLiteral("%1 %2").arg(b.window, language == Script::Traditional ? "1028" : "2052")))
            << b.window << b.box << language;
  }
  void layoutStaysAcrossASave() {
    QFETCH(QString, window);
    QFETCH(QString, box);
    QFETCH(Script, language);
    texts_ = ShippedLanguage(language);
    const auto back = qScopeGuard([this] { texts_ = LanguageFile(Script::Simplified, program_); });
    // A data folder deep down (Config.ini holds at most 254 bytes of it), so
    // that where the save went is a long line.
    QTemporaryDir deepRoot;
    const QString deep =
        deepRoot.filePath(QStringLiteral("data") + QStringLiteral("/一个很长很长的文件夹名字").repeated(3));
    QString error;
    QVERIFY2(WriteSampleFolder(deep, 11, 6, &error), qPrintable(error));
    const QString program = deepRoot.filePath("program");
    QDir().mkpath(program);
    WriteFile(program + "/Config.ini", "[Config]\r\nPath=" + deep.toUtf8() + "\r\n");
    TableWindowOptions o;
    o.texts = texts_;
    o.programFolder = program;
    o.front = &front_;
    auto w = MakeTableWindow(window, o);
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    const QRect exit = w->button("Cmd_Exit")->geometry();
    const QSize size = w->size();
    QVERIFY(!w->isWindowModified());
    QVERIFY(w->windowTitle().endsWith("[*]"));
    QLineEdit* b = w->box(box);
    const int value = b->text().toInt();
    QTest::mouseClick(b, Qt::LeftButton);
    QTest::keyClick(b, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(b, QString::number(value > 1 ? value - 1 : value + 1));
    QVERIFY(w->isWindowModified());
    Click(*w, "Cmd_Save");
    QVERIFY2(front_.messages.isEmpty(), qPrintable(front_.messages.join('\n')));
    QVERIFY(!w->isWindowModified());
    QVERIFY(w->statusLine().endsWith(QDir::toNativeSeparators(deep + '/' + StandaloneFor(w->kind()).fileName)));
    QCoreApplication::processEvents();
    QCOMPARE(w->size(), size);
    QCOMPARE(w->button("Cmd_Exit")->geometry(), exit);
    // The line shows what fits, the whole of it in its tool tip.
    QCOMPARE(w->label("StatusLine")->toolTip(), w->statusLine());
    QVERIFY(w->label("StatusLine")->width() <= w->width());
  }

  void builtInDialogsOpenTheWindows_data() {
    QTest::addColumn<QString>("window");
    for (const char* w : {"Cons", "Dif", "Level", "Length"}) QTest::newRow(w) << w;
  }
  void builtInDialogsOpenTheWindows() {
    QFETCH(QString, window);
    auto dialogs = MakeBuiltInDialogs(program_);
    QVERIFY(dialogs->hasWindow(window));
    QVERIFY(!dialogs->hasWindow("Team.dat"));
    QWidget owner;
    owner.setWindowIcon(QApplication::style()->standardIcon(QStyle::SP_ComputerIcon));
    QString shown;
    QString firstBox;
    bool modal = false;
    QTimer::singleShot(0, [&] {
      auto* w = qobject_cast<TableWindow*>(QApplication::activeModalWidget());
      if (!w) return;
      shown = w->objectName();
      modal = w->isModal() && w->parentWidget() == &owner && !w->windowIcon().isNull();
      firstBox = w->table().values().front().text;
      Click(*w, "Cmd_Exit");
    });
    dialogs->showWindow(window, {texts_, Script::Traditional}, &owner);
    QCOMPARE(shown, window);
    QVERIFY(modal);
    QVERIFY(!firstBox.isEmpty());
  }
};

QTEST_MAIN(TableWindowsTest)
#include "test_gui_table_windows.moc"
