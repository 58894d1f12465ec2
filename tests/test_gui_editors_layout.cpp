// How every record editor looks in both interface languages: each label
// stands left of its own control on the same line, no two controls overlap,
// text fields are as wide as the text their field holds, the dialog fits the
// screen, and enlarging it widens the fields. With V3_EDITOR_SHOTS set to a
// folder, each dialog is also saved there as a picture.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QtTest>

#include "EditorTestSupport.h"
#include "TestSupport.h"
#include "editors/Editors.h"
#include "editors/RecordDialog.h"
#include "model/RecordGrid.h"
#include "model/TableIo.h"
#include "app/Catalogue.h"
#include "tables/Tables.h"
#include "text/Ini.h"
#include "app/Texts.h"
#include "text/Language.h"
#include "tools/Sample.h"

using namespace v3;

namespace {

const TableDef* tableOf(const QString& editor) {
  for (const CatalogueEntry& e : Catalogue())
    if (e.editor == editor && e.table()) return e.table();
  return nullptr;
}

QRect inDialog(QWidget* w, QWidget* dialog) { return QRect(w->mapTo(dialog, QPoint(0, 0)), w->size()); }

}  // namespace

class EditorLayoutTest : public QObject {
  Q_OBJECT
  LanguageFile texts_;  // the interface's language file the dialogs are opened with
  QTemporaryDir program_;
  QString data_;
  RecordGrid grid_;
  EditorEnvironment env_;

 private slots:
  void initTestCase() {
    data_ = program_.filePath("data");
    QString error;
    QVERIFY2(WriteSampleFolder(data_, 11, 12, &error), qPrintable(error));
    QVERIFY(WriteIniValue(program_.filePath("Config.ini"), "Config", "Path", data_));
    env_.programFolder = program_.path();
  }
  void cleanupTestCase() { texts_ = v3test::ShippedLanguage(Script::Simplified); }

  void everyEditor_data() {
    QTest::addColumn<QString>("editor");
    QTest::addColumn<Script>("language");
    for (const Script language : {Script::Simplified, Script::Traditional})
      for (const EditorForm* form : AllEditorForms())
        if (tableOf(form->name))
          QTest::newRow(qPrintable(form->name + (language == Script::Simplified ? " CHS" : " CHT")))
              << form->name << language;
  }
  void everyEditor() {
    QFETCH(QString, editor);
    QFETCH(Script, language);
    texts_ = v3test::ShippedLanguage(language);
    QVERIFY(LoadTable(*tableOf(editor), data_, Script::Traditional, grid_));
    grid_.clearSelection();
    grid_.setRowSelected(1, true);
    grid_.setRowSelected(2, true);
    EditorRequest r;
    r.context.texts = texts_;
    r.editor = editor;
    r.mode = EditorMode::ModifySeveral;
    RecordDialog d(*FindEditorForm(editor), grid_, r, env_, nullptr);
    QVERIFY(v3test::ShowActive(&d));
    const QString shots = qEnvironmentVariable("V3_EDITOR_SHOTS");
    if (!shots.isEmpty())
      d.grab().save(QStringLiteral("%1/%2-%3.png").arg(shots, editor, language == Script::Simplified ? "chs" : "cht"));

    const QRect screen = d.screen()->availableGeometry();
    QVERIFY2(d.width() <= screen.width() && d.height() <= screen.height(),
             qPrintable(QStringLiteral("%1x%2").arg(d.width()).arg(d.height())));

    const EditorForm& form = *FindEditorForm(editor);
    std::vector<std::pair<QString, QRect>> placed;
    QHash<QString, int> widths;
    for (const SectionDef& s : form.sections)
      for (const ControlDef& c : s.controls) {
        QWidget* w = d.control(c.name);
        if (!w->isVisibleTo(&d)) continue;
        const QRect box = inDialog(w, &d);
        placed.emplace_back(c.name, box);
        widths[c.name] = w->width();
        if (!c.labelName.isEmpty()) {
          auto* label = d.findChild<QLabel*>(c.labelName);
          QVERIFY(label && label->isVisibleTo(&d));
          const QRect l = inDialog(label, &d);
          placed.emplace_back(c.labelName, l);
          // Left of its own control, on the same line, its text whole.
          QVERIFY2(l.right() < box.left(), qPrintable(c.labelName + " " + c.name));
          if (c.kind != ControlKind::MultiText)
            QVERIFY2(l.top() < box.bottom() && box.top() < l.bottom(), qPrintable(c.labelName + " " + c.name));
          QVERIFY2(l.width() >= label->fontMetrics().horizontalAdvance(label->text()),
                   qPrintable(c.labelName + " " + label->text()));
        }
        // A text field shows as many characters as its field holds (up to 20).
        if (auto* e = qobject_cast<QLineEdit*>(w); e && c.chars > 0) {
          const int chars = std::min(c.chars, 20);
          QVERIFY2(e->width() >= e->fontMetrics().horizontalAdvance(QString(chars, QChar(0x6587))) * 3 / 4,
                   qPrintable(c.name));
        }
        if (auto* e = qobject_cast<QPlainTextEdit*>(w))
          QVERIFY2(e->height() >= e->fontMetrics().lineSpacing() * 3 && e->width() >= 300, qPrintable(c.name));
      }
    for (size_t i = 0; i < placed.size(); ++i)
      for (size_t j = i + 1; j < placed.size(); ++j)
        QVERIFY2(!placed[i].second.intersects(placed[j].second),
                 qPrintable(placed[i].first + " overlaps " + placed[j].first));

    // A larger dialog widens the text fields and the lists.
    d.resize(d.width() + 200, d.height() + 100);
    QTest::qWait(10);
    for (auto it = widths.begin(); it != widths.end(); ++it) {
      QWidget* w = d.control(it.key());
      if (qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QComboBox*>(w))
        QVERIFY2(w->width() > it.value(), qPrintable(it.key()));
    }
  }
};

QTEST_MAIN(EditorLayoutTest)
#include "test_gui_editors_layout.moc"
