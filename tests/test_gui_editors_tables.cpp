// The editors of the star, firm, schedule, item, office event and small
// balance tables, each opened on rows of a generated data folder.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "TestSupport.h"
#include "editors/Editors.h"
#include "editors/RecordDialog.h"
#include "model/RecordGrid.h"
#include "tools/Sample.h"
#include "model/TableIo.h"
#include "tables/Tables.h"
#include "text/Ini.h"
#include "app/Texts.h"
#include "text/Language.h"

using namespace v3;

namespace {

const char* const kEditors[] = {"Star", "Firm", "Sch", "Item", "OC", "OE", "Active", "PS", "PD", "Rich", "World", "NE"};

QString fileOf(const QString& editor) {
  static const QHash<QString, QString> files{
      {"Star", "StarRole.dat"}, {"Firm", "Firm.dat"},    {"Sch", "ScheduleClass.dat"}, {"Item", "Item.dat"},
      {"OC", "OfficeCom.dat"},  {"OE", "OfficeEmo.dat"}, {"Active", "Active.tab"},     {"PS", "Pression.tab"},
      {"PD", "Producer.tab"},   {"Rich", "RichBa.tab"},  {"World", "World.tab"},       {"NE", "NeedEffect.tab"}};
  return files.value(editor);
}

QString textOf(QWidget* w) {
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  if (auto* e = qobject_cast<QPlainTextEdit*>(w)) return e->toPlainText();
  if (auto* b = qobject_cast<QComboBox*>(w)) return b->currentText();
  return QString();
}

// Every label-like object name of a description: labels, units, headings, the extra button.
QStringList captionNames(const EditorForm& form) {
  QStringList names;
  for (const SectionDef& s : form.sections) {
    if (!s.headingName.isEmpty()) names << s.headingName;
    for (const ControlDef& c : s.controls) {
      if (!c.labelName.isEmpty()) names << c.labelName;
      if (!c.unitName.isEmpty()) names << c.unitName;
    }
  }
  if (!form.extraButtonName.isEmpty()) names << form.extraButtonName;
  return names;
}

QString designText(const EditorForm& form, const QString& name) {
  if (name == form.extraButtonName) return form.extraButton;
  for (const SectionDef& s : form.sections) {
    if (s.headingName == name) return s.heading;
    for (const ControlDef& c : s.controls) {
      if (c.labelName == name) return c.label;
      if (c.unitName == name) return c.unit;
    }
  }
  return QString();
}

// A label's entry, or for an element "Lable(1)" of an array the array's entry.
QString lookupCaption(const LanguageFile& texts, const QString& section, const QString& name) {
  const QString own = texts.text(section, name, QString());
  const qsizetype open = name.indexOf('(');
  return own.isEmpty() && open > 0 ? texts.text(section, name.left(open), QString()) : own;
}

}  // namespace

class TableEditorTest : public QObject {
  Q_OBJECT
  LanguageFile texts_;  // the interface's language file the dialogs are opened with
  QTemporaryDir program_;
  QString data_;
  RecordGrid grid_;
  EditorEnvironment env_;

  std::unique_ptr<RecordDialog> open(const QString& editor, EditorMode mode = EditorMode::Edit,
                                     QStringList disabled = {}) {
    EditorRequest r;
    r.context.texts = texts_;
    r.editor = editor;
    r.mode = mode;
    r.disabledControls = disabled;
    const EditorForm* form = FindEditorForm(editor);
    if (!form) return nullptr;
    auto d = std::make_unique<RecordDialog>(*form, grid_, r, env_, nullptr);
    d->show();  // the lists' pop-ups need a shown dialog
    return d;
  }
  bool load(const QString& editor, QString* error = nullptr) {
    const TableDef* table = FindTable(fileOf(editor));
    return table && LoadTable(*table, data_, Script::Traditional, grid_, error) && grid_.recordCount() > 0;
  }
  void select(std::initializer_list<int> rows) {
    grid_.clearSelection();
    for (int r : rows) grid_.setRowSelected(r, true);
  }
  static void type(QWidget* w, const QString& text) {
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
      e->selectAll();
      e->insert(text);  // as typing or pasting does
    } else if (auto* e = qobject_cast<QPlainTextEdit*>(w)) {
      e->selectAll();
      e->insertPlainText(text);
    }
  }
  // The user opens the list and clicks its entry.
  static void pick(QWidget* w, int index) {
    auto* box = qobject_cast<QComboBox*>(w);
    QVERIFY(box);
    QVERIFY(index < box->count());
    box->showPopup();
    QAbstractItemView* view = box->view();
    QTRY_VERIFY(view->isVisible());
    const QRect r = view->visualRect(view->model()->index(index, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(box->currentIndex(), index);
  }
  static void press(QDialog* d, const char* button) {
    auto* b = d->findChild<QPushButton*>(button);
    QVERIFY(b && b->isVisible() && b->isEnabled());
    b->click();
  }
  static QComboBox* combo(RecordDialog* d, const char* name) { return qobject_cast<QComboBox*>(d->control(name)); }
  static QCheckBox* check(RecordDialog* d, const char* name) { return qobject_cast<QCheckBox*>(d->control(name)); }

 private slots:
  void initTestCase() {
    data_ = program_.filePath("data");
    QString error;
    QVERIFY2(WriteSampleFolder(data_, 7, 12, &error), qPrintable(error));
    QVERIFY(WriteIniValue(program_.filePath("Config.ini"), "Config", "Path", data_));
    env_.programFolder = program_.path();
    texts_ = v3test::ShippedLanguage(Script::Simplified);
    QVERIFY2(QFile::exists(texts_.path()), "the language files are built by the lang target");
  }
  void init() {
    texts_ = v3test::ShippedLanguage(Script::Simplified);
    env_.showDifficulty = nullptr;
  }

  // Every dialog opens on a row of its table, shows its caption and every
  // field, and an OK without changes writes nothing.
  void opensOnASampleRow_data() {
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QList<int>>("captionColumns");
    QTest::newRow("Star") << "Star" << QList<int>{2};
    QTest::newRow("Firm") << "Firm" << QList<int>{2};
    QTest::newRow("Sch") << "Sch" << QList<int>{2};
    QTest::newRow("Item") << "Item" << QList<int>{3};
    QTest::newRow("OC") << "OC" << QList<int>{1};
    QTest::newRow("OE") << "OE" << QList<int>{1};
    QTest::newRow("Active") << "Active" << QList<int>{2, 3};
    QTest::newRow("PS") << "PS" << QList<int>{2, 3};
    QTest::newRow("PD") << "PD" << QList<int>{2};
    QTest::newRow("Rich") << "Rich" << QList<int>{1};
    QTest::newRow("World") << "World" << QList<int>{3};
    QTest::newRow("NE") << "NE" << QList<int>{2, 3};
  }
  void opensOnASampleRow() {
    QFETCH(QString, editor);
    QFETCH(QList<int>, captionColumns);
    QString error;
    QVERIFY2(load(editor, &error), qPrintable(editor + ": " + error));
    const int row = std::min(3, grid_.recordCount());
    select({row});
    const std::vector<QStringList> before = grid_.records();
    auto d = open(editor);
    QVERIFY2(d, qPrintable(editor));
    QStringList caption;
    for (int c : captionColumns) caption << grid_.cell(row, c);
    QCOMPARE(d->windowTitle(), caption.join(' '));
    for (const SectionDef& s : FindEditorForm(editor)->sections)
      for (const ControlDef& c : s.controls) {
        QWidget* w = d->control(c.name);
        QVERIFY2(w && !w->isHidden(), qPrintable(c.name));
        QVERIFY2(!d->isChanged(c.name), qPrintable(c.name));
        if (c.column == 0 || c.kind == ControlKind::Check01) continue;
        const QString cell = grid_.cell(row, c.column);
        if (auto* box = qobject_cast<QComboBox*>(w)) {
          QVERIFY2(box->count() > 0, qPrintable(c.name));  // filled from the language file or StarRole.dat
          if (c.kind == ControlKind::IndexList) {
            const int none = c.unselectedWritesNothing ? 0 : 1;  // a first entry for -1
            const int expected = (!c.storedAs.empty() && cell == "11" ? 5 : cell.toInt()) + none;
            QVERIFY2(expected >= -1 + none && expected < box->count(), qPrintable(c.name + " " + cell));
            QCOMPARE(box->currentIndex(), expected);
            continue;
          }
        }
        QCOMPARE(textOf(w), cell);
      }
    press(d.get(), "Cmd_OK");
    QCOMPARE(grid_.records(), before);
    // With no row selected the caption is the language file's.
    grid_.clearSelection();
    auto empty = open(editor);
    QCOMPARE(empty->windowTitle(), texts_.text(editor, "Caption", "?"));
  }

  // Every label and heading has its caption in both shipped language files,
  // and in the Simplified one it is the label's own design text, so no
  // label reads the caption of another field.
  void labelsHaveTheirCaptions_data() {
    QTest::addColumn<Script>("script");
    QTest::addColumn<QString>("editor");
    for (const auto& [script, file] : {std::pair{Script::Simplified, "CHS"}, std::pair{Script::Traditional, "CHT"}})
      for (const char* editor : kEditors)
        QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(file, editor))) << script << QString(editor);
  }
  void labelsHaveTheirCaptions() {
    QFETCH(Script, script);
    QFETCH(QString, editor);
    texts_ = v3test::ShippedLanguage(script);
    QVERIFY(QFile::exists(texts_.path()));
    const EditorForm* form = FindEditorForm(editor);
    QVERIFY(form);
    QVERIFY(!texts_.text(editor, "Caption", QString()).isEmpty());
    grid_.clear();
    auto d = open(editor);
    for (const QString& name : captionNames(*form)) {
      const QString text = lookupCaption(texts_, editor, name);
      QVERIFY2(!text.isEmpty(), qPrintable(editor + ": " + name));
      if (script == Script::Simplified) QCOMPARE(text, designText(*form, name));
      QObject* shown = d->findChild<QObject*>(name);
      QVERIFY2(shown, qPrintable(name));
      QString onScreen;
      if (auto* l = qobject_cast<QLabel*>(shown)) onScreen = l->text();
      if (auto* g = qobject_cast<QGroupBox*>(shown)) onScreen = g->title();
      if (auto* b = qobject_cast<QPushButton*>(shown)) onScreen = b->text();
      QCOMPARE(onScreen, text);
    }
  }

  void starSex_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("pickEntry");  // -1: no pick
    QTest::addColumn<QString>("typed");  // typed into the list's edit part
    QTest::addColumn<QString>("after");
    QTest::newRow("pick 女 on a man") << "男" << 0 << ""
                                      << "女";
    QTest::newRow("pick 男 on a woman") << "女" << 1 << ""
                                        << "男";
    QTest::newRow("typed, not picked") << "男" << -1 << "女"
                                       << "男";
    QTest::newRow("odd text kept") << "?" << -1 << ""
                                   << "?";
  }
  void starSex() {
    QFETCH(QString, before);
    QFETCH(int, pickEntry);
    QFETCH(QString, typed);
    QFETCH(QString, after);
    QVERIFY(load("Star"));
    grid_.setCell(2, 3, before);
    select({2});
    auto d = open("Star", EditorMode::ModifySeveral, {"Text(1)"});
    QCOMPARE(combo(d.get(), "Combo3")->count(), 2);
    QCOMPARE(combo(d.get(), "Combo3")->currentText(), before);
    if (pickEntry >= 0) pick(d->control("Combo3"), pickEntry);
    if (!typed.isEmpty()) {
      QLineEdit* edit = combo(d.get(), "Combo3")->lineEdit();
      edit->selectAll();
      for (QChar ch : typed) QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
      QCOMPARE(edit->text(), typed);
    }
    press(d.get(), "Cmd_OK");
    QCOMPARE(grid_.cell(2, 3), after);
  }

  void starAddWithNothingSelected() {
    QVERIFY(load("Star"));
    grid_.clearSelection();
    const int rows = grid_.recordCount();
    auto d = open("Star", EditorMode::Add);
    QCOMPARE(combo(d.get(), "Combo3")->currentText(), QString());
    press(d.get(), "Cmd_add");
    QCOMPARE(grid_.recordCount(), rows + 1);
    const QStringList& added = grid_.record(rows + 1);
    QCOMPARE(added[2], QString());  // sex: saved as male
    for (int c = 22; c <= 28; ++c) QCOMPARE(added[c - 1], QStringLiteral("0"));
    for (int c = 35; c <= 42; ++c) QCOMPARE(added[c - 1], QString());  // no control
  }

  void starAddCopiesAllButTheUnnamedColumns() {
    QVERIFY(load("Star"));
    for (int c = 35; c <= 42; ++c) grid_.setCell(1, c, QString::number(c));
    select({1});
    QStringList source = grid_.record(1);
    auto d = open("Star", EditorMode::Add);
    type(d->control("Text(1)"), "900");
    // The fill-in box of the ability ceilings sets all nine.
    QTest::keyClicks(d->control("Text3"), "88");
    press(d.get(), "Cmd_add");
    QStringList expected = source;
    expected[0] = "900";
    for (int c = 35; c <= 42; ++c) expected[c - 1] = QString();
    for (int c = 70; c <= 78; ++c) expected[c - 1] = "88";
    QCOMPARE(grid_.record(grid_.recordCount()), expected);
  }

  void firmArtistOfTwoAgencies() {
    QVERIFY(load("Firm"));
    grid_.setCell(1, 6, "0");
    grid_.setCell(2, 6, "-1");
    select({1, 2});
    const std::vector<QStringList> before = grid_.records();
    auto d = open("Firm", EditorMode::ModifySeveral, {"Text0", "Text1"});
    QVERIFY(!d->control("Text0")->isEnabled() && !d->control("Text1")->isEnabled());
    QCOMPARE(combo(d.get(), "Combo(5)")->count(), 13);  // "none" and the twelve stars
    pick(d->control("Combo(2)"), 8);                    // star 7
    press(d.get(), "Cmd_OK");
    for (int r : {1, 2}) {
      QStringList expected = before[size_t(r - 1)];
      expected[5] = "7";
      QCOMPARE(grid_.record(r), expected);
    }
  }

  void firmAddWithNothingSelected() {
    QVERIFY(load("Firm"));
    grid_.clearSelection();
    auto d = open("Firm", EditorMode::Add);
    type(d->control("Text0"), "50");
    pick(d->control("Combo(0)"), 4);  // star 3
    press(d.get(), "Cmd_add");
    QCOMPARE(grid_.record(grid_.recordCount()),
             (QStringList{"50", "", "", "3", "-1", "-1", "-1", "-1", "-1", "", "", ""}));
  }

  void scheduleTime_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("pickEntry");
    QTest::addColumn<QString>("after");
    QTest::newRow("not in the list, untouched") << "凌晨" << -1 << "凌晨";
    QTest::newRow("not in the list, picked") << "凌晨" << 1 << "夜晚";
    QTest::newRow("in the list, untouched") << "夜晚" << -1 << "夜晚";
    QTest::newRow("empty, picked") << "" << 0 << "白天";
  }
  void scheduleTime() {
    QFETCH(QString, before);
    QFETCH(int, pickEntry);
    QFETCH(QString, after);
    QVERIFY(load("Sch"));
    grid_.setCell(1, 4, before);
    select({1});
    auto d = open("Sch", EditorMode::ModifySeveral, {"Text(1)"});
    QCOMPARE(combo(d.get(), "Combo4")->currentText(), before);
    QVERIFY(d->findChild<QPushButton*>("Cmd_add")->isHidden());
    if (pickEntry >= 0) pick(d->control("Combo4"), pickEntry);
    press(d.get(), "Cmd_OK");
    QCOMPARE(grid_.cell(1, 4), after);
  }

  void scheduleFillInAndFlag() {
    QVERIFY(load("Sch"));
    select({1, 2});
    const std::vector<QStringList> before = grid_.records();
    auto d = open("Sch");
    QTest::keyClicks(d->control("Text0"), "-3");  // the ability effects
    QTest::mouseClick(d->control("Check(25)"), Qt::LeftButton);
    const QString flag = check(d.get(), "Check(25)")->isChecked() ? "1" : "0";
    press(d.get(), "Cmd_OK");
    for (int r : {1, 2}) {
      QStringList expected = before[size_t(r - 1)];
      for (int c = 5; c <= 13; ++c) expected[c - 1] = "-3";
      expected[24] = flag;
      QCOMPARE(grid_.record(r), expected);
    }
  }

  // The shop list: position 5 stands for the stored 11.
  void itemShop_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("shown");      // selected position on opening
    QTest::addColumn<int>("pickEntry");  // -1: untouched
    QTest::addColumn<QString>("afterOk");
    QTest::addColumn<QString>("afterAdd");  // the row added from it, untouched
    QTest::newRow("11 untouched") << "11" << 5 << -1 << "11"
                                  << "11";
    QTest::newRow("11 picked as 2") << "11" << 5 << 2 << "2"
                                    << "11";
    QTest::newRow("3 picked as the sixth") << "3" << 3 << 5 << "11"
                                           << "3";
    QTest::newRow("5 is the sixth too") << "5" << 5 << -1 << "5"
                                        << "5";
    QTest::newRow("5 picked as the sixth") << "5" << 5 << 5 << "11"
                                           << "5";
    QTest::newRow("7 has no position") << "7" << -1 << -1 << "7"
                                       << "7";
    QTest::newRow("-1 has no position") << "-1" << -1 << -1 << "-1"
                                        << "-1";
    QTest::newRow("text has no position") << "x" << -1 << -1 << "x"
                                          << "x";
    QTest::newRow("a wrapped number is none") << "4294967299" << -1 << -1 << "4294967299"
                                              << "4294967299";
  }
  void itemShop() {
    QFETCH(QString, before);
    QFETCH(int, shown);
    QFETCH(int, pickEntry);
    QFETCH(QString, afterOk);
    QFETCH(QString, afterAdd);
    QVERIFY(load("Item"));
    grid_.setCell(1, 4, before);
    select({1});
    auto d = open("Item", EditorMode::ModifySeveral, {"Text(1)"});
    QCOMPARE(combo(d.get(), "Combo(4)")->count(), 6);
    QCOMPARE(combo(d.get(), "Combo(4)")->currentIndex(), shown);
    if (pickEntry >= 0) pick(d->control("Combo(4)"), pickEntry);
    press(d.get(), "Cmd_OK");
    QCOMPARE(grid_.cell(1, 4), afterOk);

    grid_.setCell(1, 4, before);
    select({1});
    auto add = open("Item", EditorMode::Add);
    press(add.get(), "Cmd_add");
    QCOMPARE(grid_.cell(grid_.recordCount(), 4), afterAdd);
  }

  void itemPriceIntoThreeItems() {
    QVERIFY(load("Item"));
    grid_.setCell(1, 2, "0");
    grid_.setCell(2, 2, "2");
    grid_.setCell(3, 2, "9");  // no such type
    select({1, 2, 3});
    const std::vector<QStringList> before = grid_.records();
    auto d = open("Item", EditorMode::ModifySeveral, {"Text(1)"});
    QCOMPARE(combo(d.get(), "Combo(2)")->currentIndex(), 0);
    type(d->control("Text(7)"), "4800");
    press(d.get(), "Cmd_OK");
    for (int r : {1, 2, 3}) {
      QStringList expected = before[size_t(r - 1)];
      expected[6] = "4800";
      QCOMPARE(grid_.record(r), expected);
    }
  }

  void itemFriendlinessFillIn() {
    QVERIFY(load("Item"));
    select({2});
    const QStringList before = grid_.record(2);
    auto d = open("Item");
    QTest::keyClicks(d->control("Text0"), "10");
    for (int i = 11; i <= 30; ++i)
      QCOMPARE(textOf(d->control(QStringLiteral("Text(%1)").arg(i))), QStringLiteral("10"));
    press(d.get(), "Cmd_OK");
    QStringList expected = before;
    for (int c = 11; c <= 30; ++c) expected[c - 1] = "10";
    QCOMPARE(grid_.record(2), expected);
  }

  void itemAddWithNothingSelected() {
    QVERIFY(load("Item"));
    grid_.clearSelection();
    auto d = open("Item", EditorMode::Add);
    QCOMPARE(combo(d.get(), "Combo(10)")->count(), 4);
    pick(d->control("Combo(10)"), 3);
    type(d->control("Text(31)"), QString(300, QChar(u'好')));
    QCOMPARE(textOf(d->control("Text(31)")).size(), 250);
    press(d.get(), "Cmd_add");
    const QStringList& added = grid_.record(grid_.recordCount());
    QCOMPARE(added[1], QString());  // type: nothing selected writes nothing
    QCOMPARE(added[3], QString());  // shop
    QCOMPARE(added[9], QStringLiteral("3"));
    QCOMPARE(added[30], QString(250, QChar(u'好')));
  }

  void officeLines_data() {
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::newRow("OC star 3") << "OC"
                               << "Text(2)" << 4 << "早安，經紀人";
    QTest::newRow("OC emptied") << "OC"
                                << "Text(19)" << 21 << "";
    QTest::newRow("OE star 3") << "OE"
                               << "Text(4)" << 6 << "今天好累";
    QTest::newRow("OE unknown") << "OE"
                                << "Text(0)" << 2 << "3";
    QTest::newRow("OE agent emptied") << "OE"
                                      << "Text(1)" << 3 << "";
  }
  void officeLines() {
    QFETCH(QString, editor);
    QFETCH(QString, box);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QVERIFY(load(editor));
    grid_.setCell(2, 1, "12");
    for (int c = 2; c <= grid_.fieldCount(); ++c) grid_.setCell(2, c, QStringLiteral("line %1").arg(c));
    select({2, 4});
    const std::vector<QStringList> before = grid_.records();
    auto d = open(editor);
    QCOMPARE(d->windowTitle(), QStringLiteral("12"));
    QVERIFY(d->findChild<QPushButton*>("Cmd_add")->isHidden());
    for (int c = 2; c <= grid_.fieldCount(); ++c)
      QCOMPARE(textOf(d->control(QStringLiteral("Text(%1)").arg(c - 2))), QStringLiteral("line %1").arg(c));
    type(d->control(box), typed);
    press(d.get(), "Cmd_OK");
    for (int r = 1; r <= grid_.recordCount(); ++r) {
      QStringList expected = before[size_t(r - 1)];
      if (r == 2 || r == 4) expected[column - 1] = typed;
      QCOMPARE(grid_.record(r), expected);
    }
  }

  void officeStarsStandInTwoColumns() {
    QVERIFY(load("OC"));
    select({1});
    auto d = open("OC");
    QVERIFY(QTest::qWaitForWindowExposed(d.get()));
    QWidget* first = d->control("Text(0)");
    QWidget* tenth = d->control("Text(9)");
    QWidget* eleventh = d->control("Text(10)");
    QCOMPARE(first->geometry().x(), tenth->geometry().x());
    QVERIFY(tenth->geometry().y() > first->geometry().y());
    QVERIFY(eleventh->geometry().x() > first->geometry().x());
    QCOMPARE(eleventh->geometry().y(), first->geometry().y());
  }

  // Active and PS: only the last two fields can be typed into, whichever way they open.
  void fixedTablesEditOnlyTheirValues_data() {
    QTest::addColumn<QString>("editor");
    QTest::addColumn<int>("mode");
    for (const char* e : {"Active", "PS"})
      for (EditorMode m : {EditorMode::Edit, EditorMode::ModifySeveral})
        QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(e).arg(int(m)))) << e << int(m);
  }
  void fixedTablesEditOnlyTheirValues() {
    QFETCH(QString, editor);
    QFETCH(int, mode);
    QVERIFY(load(editor));
    select({2});
    const std::vector<QStringList> before = grid_.records();
    auto d = open(editor, EditorMode(mode));
    QCOMPARE(d->windowTitle(), grid_.cell(2, 2) + ' ' + grid_.cell(2, 3));
    for (int i = 0; i < 5; ++i) {
      QWidget* w = d->control(QStringLiteral("Text%1").arg(i));
      QCOMPARE(textOf(w), grid_.cell(2, i + 1));
      QCOMPARE(w->isEnabled(), i >= 3);
    }
    QTest::keyClicks(d->control("Text1"), "x");  // a disabled box takes no keys
    QVERIFY(!d->isChanged("Text1"));
    press(d.get(), "Cmd_OK");
    QCOMPARE(grid_.records(), before);
  }

  void pressionFatigueOfSeveralRows() {
    QVERIFY(load("PS"));
    select({1, 5, 9});
    const std::vector<QStringList> before = grid_.records();
    auto d = open("PS", EditorMode::ModifySeveral);
    type(d->control("Text4"), "17");
    press(d.get(), "Cmd_OK");
    for (int r = 1; r <= grid_.recordCount(); ++r) {
      QStringList expected = before[size_t(r - 1)];
      if (r == 1 || r == 5 || r == 9) expected[4] = "17";
      QCOMPARE(grid_.record(r), expected);
    }
  }

  void worldOpenFlag_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QString>("after");
    QTest::newRow("untouched 1") << "1" << 0 << "1";
    QTest::newRow("untouched, not a state") << "7" << 0 << "7";
    QTest::newRow("clicked twice 1") << "1" << 2 << "1";
    QTest::newRow("clicked twice 0") << "0" << 2 << "0";
    QTest::newRow("clicked once 0") << "0" << 1 << "1";
  }
  void worldOpenFlag() {
    QFETCH(QString, before);
    QFETCH(int, clicks);
    QFETCH(QString, after);
    QVERIFY(load("World"));
    grid_.setCell(1, 2, before);
    grid_.setCell(2, 2, "5");
    select({1, 2});
    const std::vector<QStringList> rows = grid_.records();
    auto d = open("World", EditorMode::ModifySeveral);
    QCOMPARE(d->windowTitle(), grid_.cell(1, 3));
    QVERIFY(!d->control("Text(1)")->isEnabled());
    for (int i = 0; i < clicks; ++i) QTest::mouseClick(d->control("Check0"), Qt::LeftButton);
    QCOMPARE(d->isChanged("Check0"), clicks > 0);
    press(d.get(), "Cmd_OK");
    QCOMPARE(grid_.cell(1, 2), after);
    QCOMPARE(grid_.cell(2, 2), clicks > 0 ? after : QStringLiteral("5"));
    for (int r : {1, 2}) {
      QStringList expected = rows[size_t(r - 1)];
      expected[1] = grid_.cell(r, 2);
      QCOMPARE(grid_.record(r), expected);
    }
  }

  void quizCaptionIsTheRecordNumber() {
    QVERIFY(load("Rich"));
    grid_.setCell(2, 1, "31");
    grid_.setCell(2, 2, "4");
    select({2});
    QCOMPARE(open("Rich")->windowTitle(), QStringLiteral("31"));
  }

  void addInProducerAndQuiz_data() {
    QTest::addColumn<QString>("editor");
    QTest::addColumn<int>("fields");
    QTest::newRow("PD") << "PD" << 4;
    QTest::newRow("Rich") << "Rich" << 9;
  }
  void addInProducerAndQuiz() {
    QFETCH(QString, editor);
    QFETCH(int, fields);
    QVERIFY(load(editor));
    // With nothing selected: a row of empty cells.
    grid_.clearSelection();
    const int rows = grid_.recordCount();
    auto d = open(editor, EditorMode::Add);
    QVERIFY(d->findChild<QPushButton*>("Cmd_OK")->isHidden());
    press(d.get(), "Cmd_add");
    QCOMPARE(grid_.recordCount(), rows + 1);
    QCOMPARE(grid_.record(rows + 1), QStringList(fields, QString()));
    // From a selected row: a copy with the number typed in.
    select({1});
    QStringList expected = grid_.record(1);
    auto copy = open(editor, EditorMode::Add);
    QVERIFY(copy->control("Text0")->isEnabled());
    type(copy->control("Text0"), "77");
    press(copy.get(), "Cmd_add");
    expected[0] = "77";
    QCOMPARE(grid_.record(rows + 2), expected);
  }

  void needEffectDemands_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("column");
    QTest::newRow("吻戏 once") << "Check6" << 1 << 19;
    QTest::newRow("吻戏 twice") << "Check6" << 2 << 19;
    QTest::newRow("暴力 twice") << "Check0" << 2 << 13;
  }
  void needEffectDemands() {
    QFETCH(QString, box);
    QFETCH(int, clicks);
    QFETCH(int, column);
    QVERIFY(load("NE"));
    grid_.setCell(1, column, "1");
    grid_.setCell(2, column, "0");
    grid_.setCell(3, column, "0");
    select({1, 2, 3});
    const std::vector<QStringList> before = grid_.records();
    auto d = open("NE", EditorMode::ModifySeveral);
    QCOMPARE(d->windowTitle(), grid_.cell(1, 2) + ' ' + grid_.cell(1, 3));
    for (const char* fixed : {"Text0", "Text1", "Text2"}) QVERIFY(!d->control(fixed)->isEnabled());
    QVERIFY(check(d.get(), qPrintable(box))->isChecked());
    for (int i = 0; i < clicks; ++i) QTest::mouseClick(d->control(box), Qt::LeftButton);
    const QString state = clicks % 2 ? "0" : "1";
    press(d.get(), "Cmd_OK");
    for (int r = 1; r <= grid_.recordCount(); ++r) {
      QStringList expected = before[size_t(r - 1)];
      if (r <= 3) expected[column - 1] = state;
      QCOMPARE(grid_.record(r), expected);
    }
  }

  void needEffectDifficultyButton() {
    QVERIFY(load("NE"));
    select({1});
    {
      auto d = open("NE");
      auto* cmd = d->findChild<QPushButton*>("Cmd");
      QVERIFY(cmd);
      QVERIFY(!cmd->isEnabled());  // no Difficulty window given
    }
    QWidget* owner = nullptr;
    int shown = 0;
    env_.showDifficulty = [&](QWidget* o) {
      owner = o;
      ++shown;
    };
    auto d = open("NE");
    type(d->control("Text5"), "4");
    press(d.get(), "Cmd");
    QCOMPARE(shown, 1);
    QCOMPARE(owner, d.get());
    QVERIFY(d->isVisible());
    QCOMPARE(textOf(d->control("Text5")), QStringLiteral("4"));
    QCOMPARE(textOf(d->control("Text12")), grid_.cell(1, 20));
    press(d.get(), "Cmd_OK");
    QCOMPARE(grid_.cell(1, 6), QStringLiteral("4"));
  }
};

QTEST_MAIN(TableEditorTest)
#include "test_gui_editors_tables.moc"
