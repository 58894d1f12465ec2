// The job, role and activity editors (CDW, CF, MV, TV, SH, CFR, MVR, TVR,
// TC, SC, RC, WC) on a generated data folder with the shipped language file.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "EditorTestSupport.h"
#include "TestSupport.h"
#include "editors/Editors.h"
#include "editors/RecordDialog.h"
#include "app/Catalogue.h"
#include "tables/ChoiceLists.h"
#include "model/RecordGrid.h"
#include "tools/Sample.h"
#include "model/TableIo.h"
#include "tables/Tables.h"
#include "text/Ini.h"
#include "app/Texts.h"
#include "text/Language.h"

using namespace v3;

namespace {

const QStringList kMine{"CDW", "CF", "MV", "TV", "SH", "CFR", "MVR", "TVR", "TC", "SC", "RC", "WC"};

QString fileOf(const QString& editor) {
  for (const CatalogueEntry& e : Catalogue())
    if (e.editor == editor) return e.fileName;
  return QString();
}

// Control -> grid column as the editors' tables give them.
QMap<QString, int> columnsOf(const QString& editor) {
  QMap<QString, int> m;
  auto run = [&m](const char* kind, int first, int last, int column) {
    for (int i = first; i <= last; ++i) m[QStringLiteral("%1%2").arg(kind).arg(i)] = column + i - first;
  };
  auto list = [&m](const QStringList& pairs) {
    for (const QString& p : pairs) m[p.section(':', 0, 0)] = p.section(':', 1).toInt();
  };
  if (editor == "CDW")
    list({"Text0:1", "Text1:2", "Combo0:3", "Combo1:4", "Combo2:5", "Combo3:6", "Combo4:7", "Combo5:8", "Combo6:9",
          "Text3:10", "Text4:11", "Text5:12", "Text2:13"});
  if (editor == "CF")
    list({"Text0:1", "Text1:2", "Combo0:3", "Combo1:4", "Combo2:5", "Combo3:6", "Combo4:7", "Check0:8", "Text3:9",
          "Text2:10"});
  if (editor == "MV") list({"Text0:1", "Text1:2", "Combo0:3", "Combo1:4", "Combo4:5", "Combo3:6", "Text2:7"});
  if (editor == "TV")
    list({"Text0:1", "Text1:2", "Combo0:3", "Combo2:4", "Combo1:5", "Combo4:6", "Combo3:7", "Text2:8"});
  if (editor == "SH") {
    list({"Text0:1", "Text1:2", "Text3:17", "Text4:18", "Text5:19", "Text2:20"});
    run("Combo", 0, 6, 3);
    run("Check", 0, 6, 10);
  }
  if (editor.endsWith('R')) {
    list({"Text0:1", "Text1:2", "Combo0:3", "Combo1:4", "Combo6:5", "Text2:25"});
    run("Check", 0, 6, 6);
    run("Text", 3, 14, 13);
  }
  if (editor.endsWith('C')) {
    for (int i = 1; i <= 38; ++i)
      if (i != 6 && i != 36 && i != 37) m[QStringLiteral("Text(%1)").arg(i)] = i;
    list({"Combo6:6", "Check(36):36", "Check(37):37", "Check(39):39"});
  }
  return m;
}

QString shown(QWidget* w) {
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  if (auto* e = qobject_cast<QPlainTextEdit*>(w)) return e->toPlainText();
  if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText();
  if (auto* c = qobject_cast<QCheckBox*>(w)) return c->isChecked() ? "ticked" : "clear";
  return "?";
}

}  // namespace

class JobEditorsTest : public QObject {
  Q_OBJECT
  LanguageFile texts_;  // the interface's language file the dialogs are opened with
  QTemporaryDir program_;
  QString data_;
  RecordGrid grid_;
  EditorEnvironment env_;

  void load(const QString& editor) {
    QVERIFY(LoadTable(*FindTable(fileOf(editor)), data_, Script::Traditional, grid_));
    QVERIFY(grid_.recordCount() >= 8);
  }
  std::unique_ptr<RecordDialog> open(const QString& editor, EditorMode mode = EditorMode::Edit) {
    EditorRequest r;
    r.context.texts = texts_;
    r.editor = editor;
    r.mode = mode;
    if (mode == EditorMode::ModifySeveral)
      for (const CatalogueEntry& e : Catalogue())
        if (e.editor == editor) r.disabledControls = e.disabledForModify;
    auto d = std::make_unique<RecordDialog>(*FindEditorForm(editor), grid_, r, env_, nullptr);
    d->show();  // the lists' pop-ups need a shown dialog
    return d;
  }
  // Opens the list and picks the entry with the keyboard.
  static void pick(QComboBox* box, const QString& entry) {
    const int target = box->findText(entry);
    QVERIFY2(target >= 0, qPrintable(entry));
    QVERIFY(v3test::PickWithKeyboard(box, target));
  }
  // Replaces the text as typing or pasting does.
  static void typeInto(QWidget* w, const QString& text) {
    if (auto* c = qobject_cast<QComboBox*>(w)) w = c->lineEdit();
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
      e->selectAll();
      e->insert(text);
    }
    if (auto* e = qobject_cast<QPlainTextEdit*>(w)) {
      e->selectAll();
      e->insertPlainText(text);
    }
  }

 private slots:
  void initTestCase() {
    data_ = program_.filePath("data");
    QString error;
    QVERIFY2(WriteSampleFolder(data_, 5, 12, &error), qPrintable(error));
    QVERIFY(WriteIniValue(program_.filePath("Config.ini"), "Config", "Path", data_));
    env_.programFolder = program_.path();
    QVERIFY2(QFile::exists(QCoreApplication::applicationDirPath() + "/CHS.txt"), "build the lang target first");
    texts_ = v3test::ShippedLanguage(Script::Simplified);
    for (const QString& e : kMine) QVERIFY2(FindEditorForm(e) && FindTable(fileOf(e)), qPrintable(e));
  }

  // Every control shows its column; the caption names the row; add with no
  // edits appends a copy of it. Values no list holds are shown and kept.
  void columnsCaptionAndCopy_data() {
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QString>("tick");
    QTest::addColumn<QString>("caption");
    for (const QString& e : kMine)
      QTest::newRow(qPrintable(e)) << e << (e.endsWith('C') ? "1" : "√")
                                   << (e.endsWith('C')   ? "v3 v4"
                                       : e.endsWith('R') ? "v2 v3"
                                                         : "v2");
  }
  void columnsCaptionAndCopy() {
    QFETCH(QString, editor);
    QFETCH(QString, tick);
    QFETCH(QString, caption);
    load(editor);
    const QMap<QString, int> columns = columnsOf(editor);
    QCOMPARE(columns.size(), grid_.fieldCount());
    for (auto [name, column] : columns.asKeyValueRange())
      grid_.setCell(2, column, name.startsWith("Check") ? tick : QStringLiteral("v%1").arg(column));
    grid_.setRowSelected(2, true);
    auto d = open(editor);
    QCOMPARE(d->windowTitle(), caption);
    for (const SectionDef& s : FindEditorForm(editor)->sections)
      for (const ControlDef& c : s.controls) QVERIFY2(c.column == 0 || columns.contains(c.name), qPrintable(c.name));
    for (auto [name, column] : columns.asKeyValueRange()) {
      QCOMPARE(shown(d->control(name)),
               name.startsWith("Check") ? QString("ticked") : QStringLiteral("v%1").arg(column));
    }
    const QStringList row = grid_.record(2);
    auto add = open(editor, EditorMode::Add);
    add->findChild<QPushButton*>("Cmd_add")->click();
    QCOMPARE(grid_.record(grid_.recordCount()), row);
    QCOMPARE(grid_.record(2), row);
  }

  void listsAreFilled_data() {
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QString>("combo");
    QTest::addColumn<QStringList>("entries");
    const QStringList producers = ProducerList(env_.programFolder), stars = StarList(env_.programFolder);
    QVERIFY(producers.size() > 12 && stars.size() == 12);
    QTest::newRow("CDW type") << "CDW"
                              << "Combo0" << texts_.list("CDType", 1, 8);
    QTest::newRow("CDW time") << "CDW"
                              << "Combo3" << QStringList{"第一年", "第二年", "第三年", "特殊"};
    QTest::newRow("CDW difficulty") << "CDW"
                                    << "Combo2" << QStringList{"1", "2", "3", "4", "5"};
    QTest::newRow("CDW producer") << "CDW"
                                  << "Combo4" << producers;
    QTest::newRow("CDW teams, stars") << "CDW"
                                      << "Combo6" << TeamList(env_.programFolder) + stars;
    QTest::newRow("CF level") << "CF"
                              << "Combo0" << QStringList{"特级", "甲级", "乙级", "丙级"};
    QTest::newRow("CF grade") << "CF"
                              << "Combo1" << QStringList{"S", "A", "B"};
    QTest::newRow("CF type") << "CF"
                             << "Combo4" << texts_.list("CFType", 1, 19);
    QTest::newRow("MV producer") << "MV"
                                 << "Combo4" << producers;
    QTest::newRow("TV length") << "TV"
                               << "Combo2" << QStringList{"连续剧", "单元剧", "短片"};
    QTest::newRow("SH artist") << "SH"
                               << "Combo6" << QStringList{};
    QTest::newRow("SH type") << "SH"
                             << "Combo0" << texts_.list("SHType", 1, 5);
    QTest::newRow("CFR target") << "CFR"
                                << "Combo0" << QStringList{"男性", "女性"};
    QTest::newRow("MVR target") << "MVR"
                                << "Combo0" << QStringList{"男主角", "女主角", "男配角", "女配角"};
    QTest::newRow("TVR artist") << "TVR"
                                << "Combo6" << stars;
    QTest::newRow("WC duration") << "WC"
                                 << "Combo6" << QStringList{"1", "7"};
  }
  void listsAreFilled() {
    QFETCH(QString, editor);
    QFETCH(QString, combo);
    QFETCH(QStringList, entries);
    load(editor);
    auto d = open(editor, EditorMode::Add);  // nothing selected: lists keep their entries and show no text
    auto* box = qobject_cast<QComboBox*>(d->control(combo));
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    QCOMPARE(items, entries);
    QCOMPARE(box->currentText(), QString());
  }

  // Every label, heading and unit is translated by both shipped files.
  void captionsFromLanguageFile_data() {
    QTest::addColumn<Script>("script");
    QTest::newRow("CHS") << Script::Simplified;
    QTest::newRow("CHT") << Script::Traditional;
  }
  void captionsFromLanguageFile() {
    QFETCH(Script, script);
    texts_ = v3test::ShippedLanguage(script);
    const LanguageFile& texts = texts_;
    for (const QString& editor : kMine) {
      auto d = open(editor, EditorMode::Add);
      const QString section = d->objectName();
      QVERIFY(!texts.text(section, "Caption", "").isEmpty());
      QStringList names;
      for (const SectionDef& s : FindEditorForm(editor)->sections) {
        names << s.headingName;
        for (const ControlDef& c : s.controls) names << c.labelName << c.unitName;
      }
      names.removeAll(QString());
      for (const QString& name : names) {
        const QString text = texts.text(section, name, texts.text(section, name.section('(', 0, 0), ""));
        QVERIFY2(!text.isEmpty(), qPrintable(editor + " " + name));
        auto* label = d->findChild<QLabel*>(name);
        auto* box = d->findChild<QGroupBox*>(name);
        QVERIFY2(label || box, qPrintable(editor + " " + name));
        QCOMPARE(label ? label->text() : box->title(), text);
      }
    }
    texts_ = v3test::ShippedLanguage(Script::Simplified);
  }

  // OK writes exactly what the user touched into every selected row.
  void okWritesTouchedControls_data() {
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QString>("action");  // pick, type, mouse, mouse2, key, cancel
    QTest::addColumn<QString>("control");
    QTest::addColumn<QStringList>("preset");  // the first written column (else the control's) beforehand
    QTest::addColumn<QString>("value");
    QTest::addColumn<QList<int>>("written");
    const QList<int> none;
    QTest::newRow("CDW pick difficulty") << "CDW" << QList{1, 2, 3} << "pick"
                                         << "Combo2" << QStringList{} << "4" << QList{5};
    QTest::newRow("CDW typed list") << "CDW" << QList{1, 2} << "type"
                                    << "Combo5" << QStringList{} << "新公司" << none;
    QTest::newRow("MVR pick target") << "MVR" << QList{2, 4} << "pick"
                                     << "Combo0" << QStringList{} << "女配角" << QList{3};
    QTest::newRow("SH typed artist") << "SH" << QList{1} << "type"
                                     << "Combo6" << QStringList{} << "飛輪海" << none;
    QTest::newRow("SH kiss") << "SH" << QList{1, 2, 3} << "mouse"
                             << "Check6" << QStringList{"", "√", ""} << "√" << QList{16};
    QTest::newRow("CFR nudity") << "CFR" << QList{2, 5} << "mouse"
                                << "Check2" << QStringList{"", ""} << "√" << QList{8};
    QTest::newRow("CFR keyboard") << "CFR" << QList{2, 5} << "key"
                                  << "Check2" << QStringList{"", "√"} << "√" << QList{8};
    QTest::newRow("CF exclusive") << "CF" << QList{1, 2} << "mouse"
                                  << "Check0" << QStringList{"1", ""} << "√" << QList{8};
    QTest::newRow("TC effect fill-in") << "TC" << QList{3, 8} << "type"
                                       << "Text1" << QStringList{"2", "9"} << "2"
                                       << QList{16, 17, 18, 19, 20, 21, 22, 23, 24};
    QTest::newRow("WC requirement fill-in")
        << "WC" << QList{1, 2} << "type"
        << "Text0" << QStringList{} << "3" << QList{7, 8, 9, 10, 11, 12, 13, 14, 15};
    QTest::newRow("TC pick duration") << "TC" << QList{1, 2} << "pick"
                                      << "Combo6" << QStringList{"3", "1"} << "7" << QList{6};
    QTest::newRow("RC clicked twice") << "RC" << QList{1, 2} << "mouse2"
                                      << "Check(37)" << QStringList{"1", "0"} << "1" << QList{37};
    QTest::newRow("CDW cancel") << "CDW" << QList{1} << "cancel"
                                << "Text1" << QStringList{} << "改名" << none;
  }
  void okWritesTouchedControls() {
    QFETCH(QString, editor);
    QFETCH(QList<int>, rows);
    QFETCH(QString, action);
    QFETCH(QString, control);
    QFETCH(QStringList, preset);
    QFETCH(QString, value);
    QFETCH(QList<int>, written);
    load(editor);
    const int column = written.value(0, columnsOf(editor).value(control));
    for (qsizetype i = 0; i < preset.size(); ++i) grid_.setCell(rows[i], column, preset[i]);
    for (int r : rows) grid_.setRowSelected(r, true);
    std::vector<QStringList> expected = grid_.records();
    for (int r : rows)
      for (int c : written) expected[size_t(r - 1)][c - 1] = value;
    auto d = open(editor, EditorMode::ModifySeveral);
    QWidget* w = d->control(control);
    if (action == "pick") pick(qobject_cast<QComboBox*>(w), value);
    if (action == "type" || action == "cancel") typeInto(w, value);
    if (action.startsWith("mouse")) QTest::mouseClick(w, Qt::LeftButton);
    if (action == "mouse2") QTest::mouseClick(w, Qt::LeftButton);
    if (action == "key") {
      // Space toggles the box as a click does, and OK writes it.
      const bool before = qobject_cast<QCheckBox*>(w)->isChecked();
      w->setFocus();
      QTest::keyClick(w, Qt::Key_Space);
      QCOMPARE(qobject_cast<QCheckBox*>(w)->isChecked(), !before);
    }
    d->findChild<QPushButton*>(action == "cancel" ? "Cmd_Cel" : "Cmd_OK")->click();
    QCOMPARE(grid_.records(), expected);
  }

  // Add with no row selected, or with a row and a typed list text.
  void addWritesEveryControl_data() {
    QTest::addColumn<QString>("editor");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("combo");
    QTest::addColumn<QString>("typed");
    for (const QString& e : kMine) QTest::newRow(qPrintable(e + " empty")) << e << 0 << QString() << QString();
    QTest::newRow("CDW typed company") << "CDW" << 2 << "Combo5"
                                       << "新公司";
    QTest::newRow("CFR typed target") << "CFR" << 3 << "Combo0"
                                      << "路人";
  }
  void addWritesEveryControl() {
    QFETCH(QString, editor);
    QFETCH(int, row);
    QFETCH(QString, combo);
    QFETCH(QString, typed);
    load(editor);
    QStringList expected(grid_.fieldCount(), QString());
    if (editor.endsWith('C')) expected[35] = expected[36] = expected[38] = "0";
    if (row > 0) {
      grid_.setRowSelected(row, true);
      expected = grid_.record(row);
      expected[columnsOf(editor).value(combo) - 1] = typed;
    }
    auto d = open(editor, EditorMode::Add);
    if (row == 0) QCOMPARE(d->windowTitle(), FindEditorForm(editor)->designCaption);
    if (!combo.isEmpty()) typeInto(d->control(combo), typed);
    d->findChild<QPushButton*>("Cmd_add")->click();
    QCOMPARE(grid_.record(grid_.recordCount()), expected);
  }

  // Flags open from their cells: only "√" ticks a job's or role's box.
  void checkBoxesOpenFromCells_data() {
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QStringList>("cells");  // columns of the check boxes in order
    QTest::addColumn<QString>("ticked");
    QTest::newRow("CF 1 is no mark") << "CF" << QStringList{"1"} << "0";
    QTest::newRow("CFR 6 and 12") << "CFR" << QStringList{"√", "", "", "", "", "", "√"} << "1000001";
    QTest::newRow("SH marks only") << "SH" << QStringList{"√ ", "√", "0", "1", "", "√", "x"} << "0100010";
    QTest::newRow("TC odd values") << "TC" << QStringList{"1", "7", "abc"} << "100";
  }
  void checkBoxesOpenFromCells() {
    QFETCH(QString, editor);
    QFETCH(QStringList, cells);
    QFETCH(QString, ticked);
    load(editor);
    QStringList boxes;
    for (auto [name, column] : columnsOf(editor).asKeyValueRange())
      if (name.startsWith("Check")) boxes << name;
    QCOMPARE(boxes.size(), cells.size());
    for (qsizetype i = 0; i < cells.size(); ++i) grid_.setCell(4, columnsOf(editor).value(boxes[i]), cells[i]);
    grid_.setRowSelected(4, true);
    const std::vector<QStringList> before = grid_.records();
    auto d = open(editor);
    QString state;
    for (const QString& b : boxes)
      state += qobject_cast<QCheckBox*>(d->control(b))->checkState() == Qt::Checked ? '1' : '0';
    QCOMPARE(state, ticked);
    d->findChild<QPushButton*>("Cmd_OK")->click();
    QCOMPARE(grid_.records(), before);
  }

  // The activity editors hide the controls of the columns the grid hides.
  void hiddenControlsFollowTheGrid_data() {
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QString>("hiddenGroup");
    QTest::newRow("TC") << "TC"
                        << "Lb7";
    QTest::newRow("SC") << "SC"
                        << "";
    QTest::newRow("RC") << "RC"
                        << "Lb7";
    QTest::newRow("WC") << "WC"
                        << "";
  }
  void hiddenControlsFollowTheGrid() {
    QFETCH(QString, editor);
    QFETCH(QString, hiddenGroup);
    load(editor);
    auto d = open(editor);
    QList<int> hidden;
    for (const SectionDef& s : FindEditorForm(editor)->sections)
      for (const ControlDef& c : s.controls) {
        QCOMPARE(d->control(c.name)->isHidden(), c.hidden);
        if (c.hidden && c.column > 0) hidden << c.column;
        for (const QString& label : {c.labelName, c.unitName})
          if (!label.isEmpty()) QCOMPARE(d->findChild<QLabel*>(label)->isHidden(), c.hidden);
      }
    QCOMPARE(hidden, grid_.hiddenColumns());
    for (const char* group : {"Lb7", "Lb17", "Lb29"})
      QCOMPARE(d->findChild<QGroupBox*>(group)->isHidden(), hiddenGroup == group);
  }

  // Limits hold for typing; a longer cell is shown whole.
  void lengthLimits_data() {
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("WC ability") << "WC"
                                << "Text(7)"
                                << "7"
                                << "123456"
                                << "1234";
    QTest::newRow("WC stress") << "WC"
                               << "Text(25)"
                               << "5"
                               << "1234"
                               << "123";
    QTest::newRow("WC fill-in") << "WC"
                                << "Text2"
                                << ""
                                << "99999"
                                << "9999";
    QTest::newRow("TC no limit") << "TC"
                                 << "Text(7)"
                                 << "-1000"
                                 << "123456"
                                 << "123456";
    QTest::newRow("SH synopsis") << "SH"
                                 << "Text2"
                                 << "" << QString(260, u'x') << QString(250, u'x');
    QTest::newRow("SH longer cell") << "SH"
                                    << "Text2" << QString(300, u'長') << "" << QString(300, u'長');
    QTest::newRow("WC longer cell") << "WC"
                                    << "Text(8)"
                                    << "-1000"
                                    << ""
                                    << "-1000";
  }
  void lengthLimits() {
    QFETCH(QString, editor);
    QFETCH(QString, control);
    QFETCH(QString, cell);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    load(editor);
    if (const int column = columnsOf(editor).value(control)) grid_.setCell(1, column, cell);
    grid_.setRowSelected(1, true);
    auto d = open(editor);
    QWidget* w = d->control(control);
    if (columnsOf(editor).contains(control)) QCOMPARE(shown(w), cell);
    if (!typed.isEmpty()) typeInto(w, typed);
    QCOMPARE(shown(w), kept);
  }

  void modifyDisablesTheIdentifyingFields() {
    for (const QString& editor : kMine) {
      load(editor);
      grid_.setRowSelected(1, true);
      auto d = open(editor, EditorMode::ModifySeveral);
      auto edit = open(editor);
      QStringList off;
      for (auto [name, column] : columnsOf(editor).asKeyValueRange()) {
        if (!d->control(name)->isEnabled()) off << name;
        QVERIFY(edit->control(name)->isEnabled());
      }
      const QStringList expected = editor.endsWith('R')   ? QStringList{"Text0", "Text1"}
                                   : editor.endsWith('C') ? QStringList{"Text(1)", "Text(2)"}
                                                          : QStringList{"Text0"};
      QCOMPARE(off, expected);
    }
  }
};

QTEST_MAIN(JobEditorsTest)
#include "test_gui_editors_jobs.moc"
