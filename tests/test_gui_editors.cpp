// The generic record editor: filling from the first selected row, change
// tracking, OK into every selected row, add, cancel, fill-in boxes.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "TestSupport.h"
#include "editors/Editors.h"
#include "editors/RecordDialog.h"
#include "model/RecordGrid.h"
#include "tools/Sample.h"
#include "text/Ini.h"

using namespace v3;

namespace {

std::vector<QStringList> teams() {
  return {{"1", "飛輪海", "0", "1", "2", "3", "100", "7", "8", "9", "10"},
          {"2", "五月天團", "4", "5", "-1", "-1", "200", "17", "18", "19", "20"},
          {"3", "東方神話", "6", "7", "8", "9", "300", "27", "28", "29", "30"},
          {"4", "星光少女", "99", "x", "1", "1", "400", "37", "38", "39", "40"}};
}

EditorForm markAndFillForm() {
  // A small editor using every other kind of control.
  EditorForm e;
  e.name = QStringLiteral("Probe");
  e.captionColumns = {1, 2};
  SectionDef s;
  s.controls = {TextBox("Text0", 1, "Lb0", "编号"),
                TextList("Combo1", 2, "Lb1", "类型", ListSource::Fixed, {"1", "7"}),
                CheckBox(ControlKind::CheckMark, "Check0", 3, "Lb2", "暴力"),
                CheckBox(ControlKind::Check01, "Check(4)", 4, "Lb3", "lpAC"),
                FillIn("Text1", "Lable(0)", {"Text(5)", "Text(6)"}),
                TextBox("Text(5)", 5, "Lb4", "演技"),
                TextBox("Text(6)", 6, "Lb5", "口才")};
  ControlDef shop = IndexList("Combo(7)", 7, "Lb6", "商店", ListSource::Fixed);
  shop.entries = {"a", "b", "c", "d", "e", "f"};
  shop.storedAs = {{5, 11}};
  s.controls.push_back(shop);
  e.sections = {s};
  return e;
}

}  // namespace

class EditorTest : public QObject {
  Q_OBJECT
  QTemporaryDir program_;
  RecordGrid grid_;
  EditorEnvironment env_;

  RecordDialog* open(const QString& editor, EditorMode mode, QStringList disabled = {}) {
    EditorRequest r;
    r.editor = editor;
    r.mode = mode;
    r.disabledControls = disabled;
    return new RecordDialog(*FindEditorForm(editor), grid_, r, env_, nullptr);
  }
  static void type(QWidget* w, const QString& text) {
    auto* e = qobject_cast<QLineEdit*>(w);
    QVERIFY(e);
    e->selectAll();
    e->insert(text);  // as typing or pasting does
  }

 private slots:
  void initTestCase() {
    const QString data = program_.filePath("data");
    QString error;
    QVERIFY(WriteSampleFolder(data, 1, 12, &error));
    QVERIFY(WriteIniValue(program_.filePath("Config.ini"), "Config", "Path", data));
    env_.programFolder = program_.path();
  }
  void init() { grid_.reset(11, teams()); }

  void opensOnFirstSelectedRow() {
    grid_.setRowSelected(3, true);
    grid_.setRowSelected(2, true);
    std::unique_ptr<RecordDialog> d(open("Team", EditorMode::Edit));
    QCOMPARE(d->windowTitle(), QStringLiteral("五月天團"));
    QCOMPARE(qobject_cast<QLineEdit*>(d->control("Text1"))->text(), QStringLiteral("五月天團"));
    auto* member1 = qobject_cast<QComboBox*>(d->control("Combo(0)"));
    QCOMPARE(member1->count(), 13);  // "no member", then every star of StarRole.dat
    QCOMPARE(member1->itemText(0), QStringLiteral("（无）"));
    QVERIFY(member1->itemText(5).startsWith(QStringLiteral("4 ")));
    QCOMPARE(member1->currentIndex(), 5);                                           // star 4
    QCOMPARE(qobject_cast<QComboBox*>(d->control("Combo(2)"))->currentIndex(), 0);  // -1: no member
    QVERIFY(d->control("Text0")->isEnabled());
    QVERIFY(!d->findChild<QPushButton*>("Cmd_OK")->isHidden());
    QVERIFY(d->findChild<QPushButton*>("Cmd_add")->isHidden());
    for (const char* name : {"Text0", "Text1", "Combo(0)", "Combo(2)", "Text6"}) QVERIFY(!d->isChanged(name));
  }

  void modifySeveralWritesOnlyChangedFields() {
    for (int r : {1, 2, 3}) grid_.setRowSelected(r, true);
    const std::vector<QStringList> before = grid_.records();
    std::unique_ptr<RecordDialog> d(open("Team", EditorMode::ModifySeveral, {"Text0"}));
    QVERIFY(!d->control("Text0")->isEnabled());
    type(d->control("Text2"), "555");
    qobject_cast<QComboBox*>(d->control("Combo(1)"))->setCurrentIndex(10);  // star 9
    d->findChild<QPushButton*>("Cmd_OK")->click();
    QCOMPARE(d->result(), int(QDialog::Accepted));
    for (int r = 1; r <= 3; ++r) {
      QStringList expected = before[size_t(r - 1)];
      expected[6] = "555";
      expected[3] = "9";
      QCOMPARE(grid_.record(r), expected);
    }
    QCOMPARE(grid_.record(4), before[3]);
  }

  void okWithoutChangesAndCancelChangeNothing() {
    grid_.setRowSelected(4, true);  // cells the lists cannot show: 99 and "x"
    const std::vector<QStringList> before = grid_.records();
    std::unique_ptr<RecordDialog> d(open("Team", EditorMode::Edit));
    QCOMPARE(qobject_cast<QComboBox*>(d->control("Combo(0)"))->currentIndex(), -1);
    d->findChild<QPushButton*>("Cmd_OK")->click();
    QCOMPARE(grid_.records(), before);
    std::unique_ptr<RecordDialog> c(open("Team", EditorMode::Edit));
    type(c->control("Text1"), "改名");
    c->findChild<QPushButton*>("Cmd_Cel")->click();
    QCOMPARE(c->result(), int(QDialog::Rejected));
    QCOMPARE(grid_.records(), before);
  }

  void addCopiesTheSelectedRow() {
    grid_.setRowSelected(1, true);
    std::unique_ptr<RecordDialog> d(open("Team", EditorMode::Add));
    QVERIFY(d->findChild<QPushButton*>("Cmd_OK")->isHidden());
    type(d->control("Text0"), "9");
    d->findChild<QPushButton*>("Cmd_add")->click();
    QCOMPARE(grid_.recordCount(), 5);
    QStringList expected = teams()[0];
    expected[0] = "9";
    QCOMPARE(grid_.record(5), expected);
    QCOMPARE(grid_.currentRow(), 5);
    QCOMPARE(grid_.selectedRows(), std::vector<int>{5});
  }

  void addWithNothingSelected() {
    std::unique_ptr<RecordDialog> d(open("Team", EditorMode::Add));
    QCOMPARE(d->windowTitle(), QStringLiteral("添加"));
    d->findChild<QPushButton*>("Cmd_add")->click();
    QCOMPARE(grid_.record(5), (QStringList{"", "", "-1", "-1", "-1", "-1", "", "", "", "", ""}));
  }

  void addKeepsValuesTheListsCannotShow() {
    grid_.setRowSelected(4, true);
    std::unique_ptr<RecordDialog> d(open("Team", EditorMode::Add));
    d->findChild<QPushButton*>("Cmd_add")->click();
    QCOMPARE(grid_.record(5), teams()[3]);
  }

  void otherControlKinds() {
    const EditorForm form = markAndFillForm();
    grid_.reset(7, {{"1", "3", "√", "2", "a", "b", "11"}, {"2", "1", "", "1", "c", "d", "4"}});
    grid_.setRowSelected(1, true);
    grid_.setRowSelected(2, true);
    EditorRequest r;
    r.editor = form.name;
    RecordDialog d(form, grid_, r, env_, nullptr);
    QCOMPARE(d.windowTitle(), QStringLiteral("1 3"));
    auto* list = qobject_cast<QComboBox*>(d.control("Combo1"));
    QCOMPARE(list->currentText(), QStringLiteral("3"));  // not one of its entries: shown as text
    QVERIFY(qobject_cast<QCheckBox*>(d.control("Check0"))->isChecked());
    QCOMPARE(qobject_cast<QCheckBox*>(d.control("Check(4)"))->checkState(), Qt::PartiallyChecked);
    QCOMPARE(qobject_cast<QComboBox*>(d.control("Combo(7)"))->currentIndex(), 6);  // 11 is position 5, after "none"
    // Typing into a text list does not count; Space on a check box does.
    list->setFocus();
    list->lineEdit()->selectAll();
    QTest::keyClicks(list->lineEdit(), "9");
    QVERIFY(!d.isChanged("Combo1"));
    QTest::keyClick(d.control("Check0"), Qt::Key_Space);
    QTest::keyClick(d.control("Check0"), Qt::Key_Space);  // ticked again, and changed
    QVERIFY(d.isChanged("Check0"));
    // Two mouse presses bring the box back to its state, and still count.
    QTest::mouseClick(d.control("Check(4)"), Qt::LeftButton);
    QTest::mouseClick(d.control("Check(4)"), Qt::LeftButton);
    QVERIFY(d.isChanged("Check(4)"));
    // The fill-in box sets its group.
    QTest::keyClicks(d.control("Text1"), "5");
    QCOMPARE(qobject_cast<QLineEdit*>(d.control("Text(5)"))->text(), QStringLiteral("5"));
    QVERIFY(d.isChanged("Text(6)"));
    d.acceptModify();
    QCOMPARE(grid_.record(1), (QStringList{"1", "3", "√", grid_.cell(1, 4), "5", "5", "11"}));
    QCOMPARE(grid_.record(2), (QStringList{"2", "1", "√", grid_.cell(1, 4), "5", "5", "4"}));
    QVERIFY(grid_.cell(1, 4) == "0" || grid_.cell(1, 4) == "1" || grid_.cell(1, 4) == "2");
  }

  void storedAsWritesTheStoredValue() {
    const EditorForm form = markAndFillForm();
    grid_.reset(7, {{"1", "", "", "0", "", "", "0"}});
    grid_.setRowSelected(1, true);
    EditorRequest r;
    RecordDialog d(form, grid_, r, env_, nullptr);
    qobject_cast<QComboBox*>(d.control("Combo(7)"))->setCurrentIndex(6);  // position 5
    d.acceptModify();
    QCOMPARE(grid_.cell(1, 7), QStringLiteral("11"));
  }

  void everyDescriptionBuilds() {
    grid_.reset(79, {QStringList(79, QStringLiteral("1"))});
    grid_.setRowSelected(1, true);
    for (const EditorForm* form : AllEditorForms()) {
      EditorRequest r;
      r.editor = form->name;
      RecordDialog d(*form, grid_, r, env_, nullptr);
      QCOMPARE(d.objectName(), form->name);
      QSet<QString> names;
      for (const SectionDef& s : form->sections)
        for (const ControlDef& c : s.controls) {
          QVERIFY2(!names.contains(c.name), qPrintable(form->name + ": " + c.name));
          names.insert(c.name);
          for (const QString& t : c.targets) QVERIFY2(d.control(t), qPrintable(form->name + ": " + t));
        }
      d.acceptModify();  // nothing changed: nothing written
      QCOMPARE(grid_.record(1), QStringList(79, QStringLiteral("1")));
    }
  }
};

QTEST_MAIN(EditorTest)
#include "test_gui_editors.moc"
