// Every record editor driven as a user drives it: shown and active, changed
// by real clicks, keys and wheel notches, the focus moved by clicks and Tab.
// Only what the user changed reaches the selected rows.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

#include "EditorTestSupport.h"
#include "TestSupport.h"
#include "test_gui_support.h"
#include "editors/Editors.h"
#include "editors/RecordDialog.h"
#include "model/RecordGrid.h"
#include "app/Catalogue.h"
#include "tables/ChoiceLists.h"
#include "tables/Tables.h"
#include "text/Ini.h"
#include "app/Texts.h"
#include "text/Language.h"
#include "tools/Sample.h"

using namespace v3;
using namespace v3test;

namespace {

const CatalogueEntry* entryOf(const QString& editor) {
  for (const CatalogueEntry& e : Catalogue())
    if (e.editor == editor && e.table()) return &e;
  return nullptr;
}

std::vector<const ControlDef*> controlsOf(const EditorForm& form) {
  std::vector<const ControlDef*> v;
  for (const SectionDef& s : form.sections)
    for (const ControlDef& c : s.controls) v.push_back(&c);
  return v;
}

bool hasNone(const ControlDef& c) { return c.kind == ControlKind::IndexList && !c.unselectedWritesNothing; }

int64_t storedOf(const ControlDef& c, int position) {
  for (const auto& [p, v] : c.storedAs)
    if (p == position) return v;
  return position;
}

const char* kindName(ControlKind k) {
  switch (k) {
    case ControlKind::Text: return "text box";
    case ControlKind::MultiText: return "several lines";
    case ControlKind::FillIn: return "fill-in box";
    case ControlKind::IndexList: return "index list";
    case ControlKind::TextList: return "text list";
    case ControlKind::Check01: return "check box 0/1";
    case ControlKind::CheckMark: return "check box mark";
  }
  return "?";
}

}  // namespace

class EditorInputTest : public QObject {
  Q_OBJECT
  LanguageFile texts_;  // the interface's language file the dialogs are opened with
  QTemporaryDir program_;
  RecordGrid grid_;
  EditorEnvironment env_;
  QHash<QString, QStringList> entries_;  // editor/control -> the list's entries as the dialog shows them

  std::unique_ptr<RecordDialog> open(const QString& editor, EditorMode mode) {
    EditorRequest r;
    r.context.texts = texts_;
    r.editor = editor;
    r.mode = mode;
    if (mode == EditorMode::ModifySeveral) r.disabledControls = entryOf(editor)->disabledForModify;
    auto d = std::make_unique<RecordDialog>(*FindEditorForm(editor), grid_, r, env_, nullptr);
    if (!ShowActive(d.get())) qWarning() << editor << "did not become active";
    return d;
  }

  static bool usable(RecordDialog* d, const ControlDef& c) {
    QWidget* w = d->control(c.name);
    return w && w->isVisibleTo(d) && w->isEnabled();
  }

  // Four records whose cells every control can show, and that differ from
  // row to row; the first one holds in each text list one of its entries, as
  // Qt's edit-field matching would pick up.
  void fillGrid(const QString& editor) {
    const EditorForm& form = *FindEditorForm(editor);
    const int k = entryOf(editor)->table()->fieldCount();
    std::vector<QStringList> rows(4, QStringList(k));
    for (int r = 0; r < 4; ++r)
      for (int c = 1; c <= k; ++c) rows[size_t(r)][c - 1] = QStringLiteral("r%1c%2").arg(r + 1).arg(c);
    // The entries of every list, as a dialog opened on nothing shows them.
    grid_.reset(k, {});
    auto probe = open(editor, EditorMode::Add);
    for (const ControlDef* c : controlsOf(form)) {
      if (c->column <= 0) continue;
      auto* box = qobject_cast<QComboBox*>(probe->control(c->name));
      QStringList items;
      if (box)
        for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
      entries_[editor + '/' + c->name] = items;
      for (int r = 0; r < 4; ++r) {
        QString& cell = rows[size_t(r)][c->column - 1];
        switch (c->kind) {
          case ControlKind::MultiText: cell = QStringLiteral("第%1行\r\n第二行\r\n").arg(r + 1); break;
          case ControlKind::IndexList: {
            const int n = int(items.size()) - (hasNone(*c) ? 1 : 0);
            const int position = r == 1 && hasNone(*c) ? -1 : n > 0 ? (r + 1) % n : 0;
            cell = QString::number(position < 0 ? -1 : storedOf(*c, position));
            break;
          }
          case ControlKind::TextList:
            cell = r < 2 && !items.isEmpty() ? items.value(r % items.size()) : QStringLiteral("自拟%1").arg(r);
            break;
          case ControlKind::Check01: cell = QStringList{"2", "1", "0", "0"}[r]; break;
          case ControlKind::CheckMark: cell = QStringList{"√", "", "√", ""}[r]; break;
          default: break;
        }
      }
    }
    probe.reset();
    grid_.reset(k, rows);
  }

  // The user goes over every other control: a wheel notch over it while it
  // has no focus, a click into every text field, the text of an entry typed
  // into every text list (when `typeInLists`), then Tab through the whole dialog.
  void walk(RecordDialog* d, const QString& skip, bool typeInLists) {
    const EditorForm& form = *FindEditorForm(d->objectName());
    int focusable = 0;
    for (const ControlDef* c : controlsOf(form)) {
      if (!usable(d, *c)) continue;
      ++focusable;
      if (c->name == skip) continue;
      QWidget* w = d->control(c->name);
      if (!w->hasFocus() && !w->isAncestorOf(Focused())) WheelOver(w, -1);
      if (c->kind == ControlKind::Text || c->kind == ControlKind::MultiText || c->kind == ControlKind::FillIn) {
        if (c->kind != ControlKind::FillIn) ClickInto(w);
      } else if (c->kind == ControlKind::TextList) {
        ClickInto(w);
        if (typeInLists) {
          const QStringList items = entries_.value(d->objectName() + '/' + c->name);
          ReplaceFocusedText(items.isEmpty() ? QStringLiteral("x") : items.last());
        }
      }
    }
    for (int i = 0; i < focusable + 5; ++i) Tab();
  }

  static void clickButton(RecordDialog* d, const char* name) {
    auto* b = d->findChild<QPushButton*>(name);
    QVERIFY(b && b->isVisible());
    QTest::mouseClick(b, Qt::LeftButton);
  }

 private slots:
  void initTestCase() {
    const QString data = program_.filePath("data");
    QString error;
    QVERIFY2(WriteSampleFolder(data, 3, 12, &error), qPrintable(error));
    QVERIFY(WriteIniValue(program_.filePath("Config.ini"), "Config", "Path", data));
    env_.programFolder = program_.path();
    texts_ = ShippedLanguage(Script::Simplified);
    QVERIFY2(QFile::exists(texts_.path()), "the language files are built by the lang target");
    QCOMPARE(int(AllEditorForms().size()), 25);
  }

  // For every editor and every kind of control it has: the user changes one
  // control of that kind, goes over all the others, and presses OK with three
  // records selected. Exactly the changed column (a fill-in box: its group)
  // changes, in every selected record.
  void onlyTheTouchedColumnChanges_data() {
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QString>("control");
    for (const EditorForm* form : AllEditorForms()) {
      const CatalogueEntry* entry = entryOf(form->name);
      if (!entry) continue;
      // The first and the last control of each kind that the user can change.
      QMap<int, std::vector<const ControlDef*>> byKind;
      for (const ControlDef* c : controlsOf(*form)) {
        if (c->hidden || c->alwaysDisabled || entry->disabledForModify.contains(c->name)) continue;
        if (c->kind == ControlKind::TextList && c->list == ListSource::None && c->entries.isEmpty()) continue;
        byKind[int(c->kind)].push_back(c);
      }
      for (const auto& controls : byKind)
        for (const ControlDef* c : {controls.front(), controls.back()}) {
          QTest::newRow(qPrintable(QStringLiteral("%1 %2 %3").arg(form->name, kindName(c->kind), c->name)))
              << form->name << c->name;
          if (controls.size() == 1) break;
        }
    }
  }
  void onlyTheTouchedColumnChanges() {
    QFETCH(QString, editor);
    QFETCH(QString, control);
    fillGrid(editor);
    for (int r : {1, 2, 3}) grid_.setRowSelected(r, true);
    const std::vector<QStringList> before = grid_.records();
    auto d = open(editor, EditorMode::ModifySeveral);
    QCOMPARE(d->findChild<QLabel*>("LbCount")->text(), QStringLiteral("修改 3 项记录"));
    const EditorForm& form = *FindEditorForm(editor);
    const ControlDef* touched = nullptr;
    for (const ControlDef* c : controlsOf(form))
      if (c->name == control) touched = c;
    QVERIFY(touched);
    QWidget* w = d->control(control);
    QVERIFY(usable(d.get(), *touched));

    QMap<int, QString> written;  // column -> the text every selected row receives
    switch (touched->kind) {
      case ControlKind::Text:
      case ControlKind::MultiText:
        ClickInto(w);
        ReplaceFocusedText(QStringLiteral("新值"));
        written[touched->column] = QStringLiteral("新值");
        break;
      case ControlKind::FillIn:
        ClickInto(w);
        TypeKeys(QStringLiteral("5"));
        for (const QString& t : touched->targets)
          for (const ControlDef* c : controlsOf(form))
            if (c->name == t) written[c->column] = QStringLiteral("5");
        break;
      case ControlKind::IndexList: {
        auto* box = qobject_cast<QComboBox*>(w);
        const int index = (box->currentIndex() + 1) % box->count();
        QVERIFY(PickWithMouse(box, index));
        const int position = hasNone(*touched) ? index - 1 : index;
        written[touched->column] = QString::number(position < 0 ? -1 : storedOf(*touched, position));
        break;
      }
      case ControlKind::TextList: {
        auto* box = qobject_cast<QComboBox*>(w);
        const int index = (std::max(0, box->findText(box->currentText())) + 1) % box->count();
        QVERIFY(PickWithKeyboard(box, index));
        written[touched->column] = box->itemText(index);
        break;
      }
      case ControlKind::Check01:
        QTest::mouseClick(w, Qt::LeftButton);  // greyed (2) becomes ticked
        written[touched->column] = QStringLiteral("1");
        break;
      case ControlKind::CheckMark:
        QTest::mouseClick(w, Qt::LeftButton);  // ticked becomes clear
        written[touched->column] = QString();
        break;
    }
    walk(d.get(), control, true);
    clickButton(d.get(), "Cmd_OK");
    QCOMPARE(d->result(), int(QDialog::Accepted));
    for (int r = 1; r <= 4; ++r) {
      QStringList expected = before[size_t(r - 1)];
      if (r <= 3)
        for (auto it = written.begin(); it != written.end(); ++it) expected[it.key() - 1] = it.value();
      for (int c = 1; c <= grid_.fieldCount(); ++c)
        QVERIFY2(grid_.cell(r, c) == expected[c - 1], qPrintable(QStringLiteral("row %1 column %2: %3, expected %4")
                                                                     .arg(r)
                                                                     .arg(c)
                                                                     .arg(grid_.cell(r, c), expected[c - 1])));
    }
  }

  // A text box carries its cell exactly: line ends, NUL, every character, any
  // length. Untouched, a modify leaves it and add copies it; typed at, the
  // box keeps the rest as it was, and a box of several lines writes its lines
  // with the cell's own line end.
  void textIsCarriedExactly_data() {
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("typedAtEnd");  // what the box then holds, as written
    const QString nul = QString(QChar(0));
    const QString longCell(40000, u'長');
    for (const char* box : {"Text1", "Text2"}) {
      const bool lines = QString(box) == "Text2";  // CDW's synopsis
      auto row = [&](const char* name, const QString& cell, const QString& multi) {
        QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(lines ? "several lines" : "one line", name)))
            << "CDW" << box << cell << (lines ? multi : cell + "Z");
      };
      row("CR LF", "甲\r\n乙", "甲\r\n乙Z");
      row("CR", "甲\r乙\r", "甲\r乙\rZ");
      row("LF", "甲\n乙", "甲\n乙Z");
      row("mixed, first CR LF", "a\r\nb\nc\r", "a\r\nb\r\nc\r\nZ");
      row("NUL", "a" + nul + "b", "a" + nul + "bZ");
      row("no-break space and tab", QStringLiteral("a\u00A0b\tc"), QStringLiteral("a\u00A0b\tcZ"));
      row("40000 characters", longCell, longCell + "Z");
      row("empty", QString(), "Z");
    }
  }
  void textIsCarriedExactly() {
    QFETCH(QString, editor);
    QFETCH(QString, control);
    QFETCH(QString, cell);
    QFETCH(QString, typedAtEnd);
    fillGrid(editor);
    const int column = control == "Text1" ? 2 : 13;
    grid_.setCell(1, column, cell);
    grid_.setCell(2, column, "other");
    grid_.setRowSelected(1, true);
    const std::vector<QStringList> before = grid_.records();
    {
      auto d = open(editor, EditorMode::Edit);
      walk(d.get(), QString(), false);
      clickButton(d.get(), "Cmd_OK");
      QCOMPARE(grid_.records(), before);
    }
    {
      auto d = open(editor, EditorMode::Add);
      clickButton(d.get(), "Cmd_add");
      QVERIFY(grid_.cell(5, column) == cell);
    }
    grid_.reset(grid_.fieldCount(), before);
    grid_.setRowSelected(1, true);
    grid_.setRowSelected(2, true);
    auto d = open(editor, EditorMode::ModifySeveral);
    QWidget* w = d->control(control);
    ClickInto(w);
    QTest::keyClick(Focused(), Qt::Key_End, qobject_cast<QPlainTextEdit*>(w) ? Qt::ControlModifier : Qt::NoModifier);
    TypeKeys("Z");
    clickButton(d.get(), "Cmd_OK");
    QVERIFY2(grid_.cell(1, column) == typedAtEnd, qPrintable(grid_.cell(1, column).left(40).toUtf8().toHex()));
    QVERIFY(grid_.cell(2, column) == typedAtEnd);  // the whole text into every selected record
  }

  // Enter in a box of several lines starts a line with the cell's line end.
  void enterInSeveralLines() {
    fillGrid("CDW");
    grid_.setCell(1, 13, "甲\r\n乙");
    grid_.setRowSelected(1, true);
    auto d = open("CDW", EditorMode::Edit);
    ClickInto(d->control("Text2"));
    QTest::keyClick(Focused(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(Focused(), Qt::Key_Return);
    TypeKeys("c");
    QVERIFY(d->isVisible());  // Enter there is no OK
    clickButton(d.get(), "Cmd_OK");
    QCOMPARE(grid_.cell(1, 13), QStringLiteral("甲\r\n乙\r\nc"));
  }

  // A click on a check box, or Space on the focused box, writes ticked or
  // clear into every selected record; a greyed box (2) becomes ticked and
  // never greyed again.
  void checkBoxes_data() {
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QString>("written");  // "-": nothing written
    QTest::addColumn<bool>("keyboard");    // Space instead of the mouse
    auto row = [](const char* name, const char* editor, const char* control, int column, const char* cell, int clicks,
                  const char* written) {
      for (bool keyboard : {false, true})
        QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(name, keyboard ? "Space" : "mouse")))
            << editor << control << column << QString(cell) << clicks << QString(written) << keyboard;
    };
    row("greyed, one", "NE", "Check6", 19, "2", 1, "1");
    row("greyed, two", "NE", "Check6", 19, "2", 2, "0");
    row("greyed, three", "NE", "Check6", 19, "2", 3, "1");
    row("greyed, four", "World", "Check0", 2, "2", 4, "0");
    row("clear, one", "TC", "Check(36)", 36, "0", 1, "1");
    row("ticked, two", "Sch", "Check(25)", 25, "1", 2, "1");
    row("not a state, one", "Star", "Check(22)", 22, "7", 1, "1");
    row("greyed, untouched", "NE", "Check6", 19, "2", 0, "-");
    row("mark, one", "SH", "Check6", 16, "√", 1, "");
    row("mark clear, one", "CFR", "Check2", 8, "", 1, "√");
    row("mark other text, one", "CF", "Check0", 8, "1", 1, "√");
    row("mark, untouched", "CFR", "Check2", 8, "", 0, "-");
  }
  void checkBoxes() {
    QFETCH(QString, editor);
    QFETCH(QString, control);
    QFETCH(int, column);
    QFETCH(QString, cell);
    QFETCH(int, clicks);
    QFETCH(QString, written);
    QFETCH(bool, keyboard);
    fillGrid(editor);
    grid_.setCell(1, column, cell);
    grid_.setCell(2, column, cell);
    for (int r : {1, 2}) grid_.setRowSelected(r, true);
    std::vector<QStringList> expected = grid_.records();
    if (written != "-")
      for (int r : {0, 1}) expected[size_t(r)][column - 1] = written;
    auto d = open(editor, EditorMode::ModifySeveral);
    auto* box = qobject_cast<QCheckBox*>(d->control(control));
    QVERIFY(box);
    box->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < clicks; ++i) {
      if (keyboard)
        QTest::keyClick(Focused(), Qt::Key_Space);
      else
        QTest::mouseClick(box, Qt::LeftButton);
      QVERIFY(box->checkState() != Qt::PartiallyChecked);
    }
    QCOMPARE(d->isChanged(control), clicks > 0);
    clickButton(d.get(), "Cmd_OK");
    QCOMPARE(grid_.records(), expected);
  }

  // Every editor from the keyboard alone, in both interface languages: the
  // first field the user can change has the focus when it opens; Up and Down
  // on its first closed list step through the entries (the list stays
  // closed); Space ticks its first check box; Enter writes both into every
  // selected record.
  void keyboardOnly_data() {
    QTest::addColumn<QString>("editor");
    QTest::addColumn<Script>("language");
    for (Script language : {Script::Simplified, Script::Traditional})
      for (const EditorForm* form : AllEditorForms())
        if (entryOf(form->name))
          QTest::newRow(qPrintable(form->name + (language == Script::Traditional ? " 1028" : " 2052")))
              << form->name << language;
  }
  void keyboardOnly() {
    QFETCH(QString, editor);
    QFETCH(Script, language);
    texts_ = ShippedLanguage(language);
    const auto back = qScopeGuard([this] { texts_ = ShippedLanguage(Script::Simplified); });
    fillGrid(editor);
    for (int r : {2, 3, 4}) grid_.setRowSelected(r, true);
    std::vector<QStringList> expected = grid_.records();
    auto d = open(editor, EditorMode::ModifySeveral);
    const CatalogueEntry& entry = *entryOf(editor);
    const ControlDef *first = nullptr, *list = nullptr, *check = nullptr;
    for (const ControlDef* c : controlsOf(*FindEditorForm(editor))) {
      if (!usable(d.get(), *c) || entry.disabledForModify.contains(c->name)) continue;
      if (!first) first = c;
      auto* box = qobject_cast<QComboBox*>(d->control(c->name));
      if (!list && box && box->count() >= 3) list = c;
      if (!check && (c->kind == ControlKind::Check01 || c->kind == ControlKind::CheckMark)) check = c;
    }
    QVERIFY(first);
    QWidget* focused = Focused();
    QVERIFY2(focused && (focused == d->control(first->name) || d->control(first->name)->isAncestorOf(focused)),
             qPrintable(first->name));
    if (list) {
      auto* box = qobject_cast<QComboBox*>(d->control(list->name));
      box->setFocus(Qt::TabFocusReason);
      // A text list shows its text, which may be no entry at all.
      auto shown = [box] { return box->isEditable() ? box->findText(box->currentText()) : box->currentIndex(); };
      const int at = shown();
      const int start = std::clamp(at, 0, box->count() - 3);
      if (at != start) {  // from an entry with two after it
        for (int guard = 0; shown() != start && guard < box->count() + 1; ++guard)
          QTest::keyClick(Focused(), at < start ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(shown(), start);
      }
      for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up}) {
        QTest::keyClick(Focused(), key);
        QVERIFY(!box->view()->isVisible());
      }
      QCOMPARE(shown(), start + 1);
      const int position = start + 1 - (hasNone(*list) ? 1 : 0);
      const QString value = list->kind == ControlKind::TextList ? box->itemText(start + 1)
                            : position < 0                      ? QStringLiteral("-1")
                                                                : QString::number(storedOf(*list, position));
      for (int r : {1, 2, 3}) expected[size_t(r)][list->column - 1] = value;
    }
    if (check) {
      auto* box = qobject_cast<QCheckBox*>(d->control(check->name));
      box->setFocus(Qt::TabFocusReason);
      const bool ticked = box->checkState() == Qt::Checked;
      QTest::keyClick(Focused(), Qt::Key_Space);
      const QString value = check->kind == ControlKind::CheckMark
                                ? (ticked ? QString() : QStringLiteral("√"))
                                : (ticked ? QStringLiteral("0") : QStringLiteral("1"));
      for (int r : {1, 2, 3}) expected[size_t(r)][check->column - 1] = value;
    }
    if (qobject_cast<QPlainTextEdit*>(Focused()))  // Enter there starts a line
      clickButton(d.get(), "Cmd_OK");
    else
      QTest::keyClick(Focused(), Qt::Key_Return);
    QVERIFY(!d->isVisible());
    QCOMPARE(grid_.records(), expected);
  }

  // From the main window, as a user without a mouse: modify several on
  // three records, Tab to a check box, Space, Enter, save. The file read
  // again holds the new mark in exactly those records.
  void spaceOnACheckBoxIsSaved_data() {
    QTest::addColumn<Script>("language");
    QTest::newRow("2052") << Script::Simplified;
    QTest::newRow("1028") << Script::Traditional;
  }
  void spaceOnACheckBoxIsSaved() {
    QFETCH(Script, language);
    Shell s(9);
    s.programDialogs = true;
    QVERIFY(s.start(language));
    const auto back = qScopeGuard([this] { texts_ = ShippedLanguage(Script::Simplified); });
    s.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
    const CatalogueEntry& entry = *entryOf("SH");
    s.open(entry.fileName);
    const int column = 16;  // Check6
    SelectRows(s.grid(), Rows({2, 4, 6}));
    std::vector<QStringList> expected = s.grid().records();
    const QString mark = s.grid().cell(2, column) == QStringLiteral("√") ? QString() : QStringLiteral("√");
    for (int r : {2, 4, 6}) expected[size_t(r - 1)][column - 1] = mark;
    bool acted = false;
    QTimer::singleShot(0, [&] {
      auto* d = qobject_cast<RecordDialog*>(QApplication::activeModalWidget());
      QVERIFY(d);
      const auto closeAnyway = qScopeGuard([d] {
        if (d->isVisible()) d->reject();
      });
      d->activateWindow();
      if (!QTest::qWaitFor([d] { return QApplication::activeWindow() == d; }, 500)) QApplication::setActiveWindow(d);
      QWidget* box = d->control("Check6");
      for (int guard = 0; Focused() != box && guard < 200; ++guard) Tab();
      QCOMPARE(Focused(), box);
      QTest::keyClick(Focused(), Qt::Key_Space);
      QTest::keyClick(Focused(), Qt::Key_Return);
      acted = !d->isVisible();
    });
    s.trigger(QStringLiteral("mnu_modify"));
    QVERIFY(acted);
    QCOMPARE(s.grid().records(), expected);
    const QByteArray before = ReadFile(s.path(entry.fileName));
    s.trigger(QStringLiteral("mnu_save"));
    QVERIFY(ReadFile(s.path(entry.fileName)) != before);
    s.trigger(QStringLiteral("mnu_load"));
    QCOMPARE(s.grid().records(), expected);
  }

  // The member and artist lists begin with "no one" (-1); the others keep
  // their positions and show them beside the names.
  void noneAndNumberedEntries_data() {
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("column");
    QTest::addColumn<Script>("language");
    QTest::newRow("Team") << "Team"
                          << "Combo(3)" << 6 << Script::Simplified;
    QTest::newRow("Firm") << "Firm"
                          << "Combo(0)" << 4 << Script::Simplified;
    QTest::newRow("Firm, Traditional") << "Firm"
                                       << "Combo(5)" << 9 << Script::Traditional;
  }
  void noneAndNumberedEntries() {
    QFETCH(QString, editor);
    QFETCH(QString, control);
    QFETCH(int, column);
    QFETCH(Script, language);
    texts_ = ShippedLanguage(language);
    fillGrid(editor);
    grid_.setCell(1, column, "11");
    grid_.setCell(2, column, "-1");
    const QStringList stars = StarList(program_.path());
    QCOMPARE(stars.size(), 12);
    for (int r : {1, 2}) grid_.setRowSelected(r, true);
    {
      auto d = open(editor, EditorMode::ModifySeveral);
      auto* box = qobject_cast<QComboBox*>(d->control(control));
      QCOMPARE(box->count(), 13);
      QCOMPARE(box->itemText(0), language == Script::Traditional ? QStringLiteral("（無）") : QStringLiteral("（无）"));
      for (int k = 0; k < 12; ++k) QCOMPARE(box->itemText(k + 1), QStringLiteral("%1 %2").arg(k).arg(stars[k]));
      QCOMPARE(box->currentIndex(), 12);  // star 11
      QCOMPARE(d->findChild<QLabel*>("LbCount")->text(),
               language == Script::Traditional ? QStringLiteral("修改 2 項記錄") : QStringLiteral("修改 2 项记录"));
      QVERIFY(PickWithMouse(box, 0));
      clickButton(d.get(), "Cmd_OK");
      QCOMPARE(grid_.cell(1, column), QStringLiteral("-1"));
      QCOMPARE(grid_.cell(2, column), QStringLiteral("-1"));
    }
    grid_.clearSelection();
    grid_.setRowSelected(2, true);  // no one
    auto d = open(editor, EditorMode::Edit);
    auto* box = qobject_cast<QComboBox*>(d->control(control));
    QCOMPARE(box->currentIndex(), 0);
    QVERIFY(PickWithKeyboard(box, 1));
    clickButton(d.get(), "Cmd_OK");
    QCOMPARE(grid_.cell(2, column), QStringLiteral("0"));
    texts_ = ShippedLanguage(Script::Simplified);
  }

  // Enter presses OK or add, also from a text list's edit field (whose typed
  // text is no pick); the dialog with nothing to write closes all the same.
  void enterSubmits_data() {
    QTest::addColumn<QString>("editor");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("written");  // into the selected row, or the added row
    QTest::newRow("modify, text box") << "CDW" << int(EditorMode::Edit) << "Text1"
                                      << "新名" << 2 << "新名";
    QTest::newRow("modify, text list") << "CDW" << int(EditorMode::Edit) << "Combo2"
                                       << "4" << 5 << "-";
    QTest::newRow("modify, several") << "Team" << int(EditorMode::ModifySeveral) << "Text2"
                                     << "77" << 7 << "77";
    QTest::newRow("add, text box") << "PD" << int(EditorMode::Add) << "Text0"
                                   << "90" << 1 << "90";
    QTest::newRow("add, text list") << "Star" << int(EditorMode::Add) << "Combo3"
                                    << "女" << 3 << "女";
  }
  void enterSubmits() {
    QFETCH(QString, editor);
    QFETCH(int, mode);
    QFETCH(QString, control);
    QFETCH(QString, typed);
    QFETCH(int, column);
    QFETCH(QString, written);
    fillGrid(editor);
    grid_.setRowSelected(1, true);
    std::vector<QStringList> before = grid_.records();
    auto d = open(editor, EditorMode(mode));
    ClickInto(d->control(control));
    ReplaceFocusedText(typed);
    QTest::keyClick(Focused(), Qt::Key_Return);
    QTRY_VERIFY(!d->isVisible());
    QCOMPARE(d->result(), int(QDialog::Accepted));
    if (EditorMode(mode) == EditorMode::Add) {
      QCOMPARE(grid_.recordCount(), 5);
      QCOMPARE(grid_.cell(5, column), written);
      return;
    }
    if (written != "-") before[0][column - 1] = written;
    QCOMPARE(grid_.records(), before);
  }

  // A wheel over a list without the focus scrolls the dialog; with the focus
  // an index list steps (and that counts), a text list never does.
  void wheel() {
    fillGrid("Star");
    grid_.setRowSelected(1, true);
    grid_.setRowSelected(2, true);
    const std::vector<QStringList> before = grid_.records();
    auto d = open("Star", EditorMode::ModifySeveral);
    d->resize(d->width(), 260);  // too low for its content: the body scrolls
    QTest::qWait(20);
    auto* area = d->findChild<QScrollArea*>();
    QVERIFY(area && area->verticalScrollBar()->maximum() > 0);
    auto* sex = qobject_cast<QComboBox*>(d->control("Combo3"));
    ClickInto(d->control("Text(4)"));
    const int shown = sex->currentIndex();
    const QString text = sex->currentText();
    const int scrolled = area->verticalScrollBar()->value();
    WheelOver(sex, -1);
    QCOMPARE(sex->currentText(), text);
    QVERIFY(area->verticalScrollBar()->value() > scrolled);
    // Focused, a text list still ignores the wheel.
    ClickInto(sex);
    WheelOver(sex, -1);
    WheelOver(sex, 1);
    QCOMPARE(sex->currentIndex(), shown);
    QCOMPARE(sex->currentText(), text);
    clickButton(d.get(), "Cmd_OK");
    QCOMPARE(grid_.records(), before);

    fillGrid("Team");
    for (int r : {1, 2, 3}) grid_.setRowSelected(r, true);
    const std::vector<QStringList> teams = grid_.records();
    auto t = open("Team", EditorMode::ModifySeveral);
    auto* member = qobject_cast<QComboBox*>(t->control("Combo(0)"));
    ClickInto(t->control("Text1"));
    const int index = member->currentIndex();
    WheelOver(member, -1);
    QCOMPARE(member->currentIndex(), index);
    QVERIFY(!t->isChanged("Combo(0)"));
    member->setFocus(Qt::TabFocusReason);
    WheelOver(member, -1);
    QCOMPARE(member->currentIndex(), index + 1);
    QVERIFY(t->isChanged("Combo(0)"));
    clickButton(t.get(), "Cmd_OK");
    for (int r = 1; r <= 4; ++r) {
      QStringList expected = teams[size_t(r - 1)];
      if (r <= 3) expected[2] = QString::number(index);  // the entry after star index - 1
      QCOMPARE(grid_.record(r), expected);
    }
  }

  // The same from the main window: modify several on three jobs, opened by
  // its command; a wheel over a list, a click into another, Tab, a new name
  // and Enter. Only the names change.
  void fromTheMainWindow() {
    Shell s(9);
    s.programDialogs = true;
    QVERIFY(s.start());
    s.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
    s.open(QStringLiteral("CDCase.dat"));
    SelectRows(s.grid(), Rows({2, 4, 6}));
    std::vector<QStringList> expected;
    for (int r = 1; r <= s.grid().recordCount(); ++r) expected.push_back(s.grid().record(r));
    bool acted = false;
    QTimer::singleShot(0, [&] {
      auto* d = qobject_cast<RecordDialog*>(QApplication::activeModalWidget());
      QVERIFY(d);
      const auto closeAnyway = qScopeGuard([d] {
        if (d->isVisible()) d->reject();
      });
      // The window manager makes a new modal dialog the active window.
      d->activateWindow();
      if (!QTest::qWaitFor([d] { return QApplication::activeWindow() == d; }, 500)) QApplication::setActiveWindow(d);
      QCOMPARE(QApplication::activeWindow(), static_cast<QWidget*>(d));
      WheelOver(d->control("Combo2"), -1);
      ClickInto(d->control("Combo1"));
      Tab();
      ClickInto(d->control("Text1"));
      ReplaceFocusedText(QStringLiteral("新名"));
      QVERIFY(Focused());
      QTest::keyClick(Focused(), Qt::Key_Return);
      acted = !d->isVisible();
    });
    s.trigger(QStringLiteral("mnu_modify"));
    QVERIFY(acted);
    for (int r : {2, 4, 6}) expected[size_t(r - 1)][1] = QStringLiteral("新名");
    for (int r = 1; r <= s.grid().recordCount(); ++r) QCOMPARE(s.grid().record(r), expected[size_t(r - 1)]);
  }

  // One OK is one change of the grid, whatever it writes into how many
  // records; nothing changed is no change at all; add appends, then fills.
  void oneChangePerOk() {
    struct Recorder : RecordGridObserver {
      std::vector<GridChange> changes;
      void gridChanged(RecordStore&, const GridChange& change) override { changes.push_back(change); }
    } recorder;
    fillGrid("Sch");
    for (int r : {1, 2, 3}) grid_.setRowSelected(r, true);
    grid_.setObserver(&recorder);
    const auto detach = qScopeGuard([this] { grid_.setObserver(nullptr); });
    {
      auto d = open("Sch", EditorMode::ModifySeveral);
      walk(d.get(), QString(), true);
      clickButton(d.get(), "Cmd_OK");
      QVERIFY(recorder.changes.empty());
    }
    {
      auto d = open("Sch", EditorMode::ModifySeveral);
      ClickInto(d->control("Text0"));  // the nine ability effects
      TypeKeys("4");
      clickButton(d.get(), "Cmd_OK");
      QCOMPARE(int(recorder.changes.size()), 1);
      QCOMPARE(int(recorder.changes[0].cells.size()), 27);
    }
    recorder.changes.clear();
    auto d = open("Sch", EditorMode::Add);
    clickButton(d.get(), "Cmd_add");
    QCOMPARE(int(recorder.changes.size()), 2);
    QCOMPARE(recorder.changes[0].kind, GridChange::Kind::Inserted);
    QCOMPARE(recorder.changes[1].kind, GridChange::Kind::Cells);
  }

  // Going over every control without changing one, then OK, changes nothing;
  // add after the same walk (typing nothing) appends a true copy of the row
  // the dialog opened on.
  void walkingChangesNothing_data() {
    QTest::addColumn<QString>("editor");
    for (const EditorForm* form : AllEditorForms())
      if (entryOf(form->name)) QTest::newRow(qPrintable(form->name)) << form->name;
  }
  void walkingChangesNothing() {
    QFETCH(QString, editor);
    fillGrid(editor);
    for (int r : {1, 2, 3}) grid_.setRowSelected(r, true);
    const std::vector<QStringList> before = grid_.records();
    {
      auto d = open(editor, EditorMode::ModifySeveral);
      walk(d.get(), QString(), true);
      clickButton(d.get(), "Cmd_OK");
      QCOMPARE(grid_.records(), before);
    }
    {
      auto d = open(editor, EditorMode::Edit);
      walk(d.get(), QString(), true);
      clickButton(d.get(), "Cmd_OK");
      QCOMPARE(grid_.records(), before);
    }
    grid_.clearSelection();
    grid_.setRowSelected(1, true);
    auto d = open(editor, EditorMode::Add);
    QVERIFY(d->findChild<QLabel*>("LbCount")->isHidden());
    walk(d.get(), QString(), false);
    clickButton(d.get(), "Cmd_add");
    QCOMPARE(grid_.recordCount(), 5);
    QStringList expected(grid_.fieldCount());
    for (const ControlDef* c : controlsOf(*FindEditorForm(editor)))
      if (c->column > 0) expected[c->column - 1] = before[0][c->column - 1];
    QCOMPARE(grid_.record(5), expected);
  }
};

QTEST_MAIN(EditorInputTest)
#include "test_gui_editors_input.moc"
