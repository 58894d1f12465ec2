// References across tables on a real sample folder: when a save deletes,
// adds or moves stars, every Team member and Firm artist still names the
// same star afterwards (or -1 when the star is gone), read back from the
// files' bytes with the layouts written out here, not through the codecs.
#include <QtTest>

#include <map>
#include <set>

#include "ReferenceSlots.h"
#include "TestSupport.h"
#ifdef V3_WITH_EDITORS
#include <QLineEdit>
#include <QPushButton>

#include "editors/Editors.h"
#include "editors/RecordDialog.h"
#endif
#include "model/LinkedSave.h"
#include "model/ReferenceRemap.h"
#include "model/TableIo.h"
#include "tables/Tables.h"

using namespace v3;
using namespace v3test;

namespace {

// Every position reference of the folder as the number of the star it names (0 for none).
std::map<QString, std::vector<qint64>> NamedStars(const QString& folder) {
  const QByteArray stars = ReadFile(folder + "/StarRole.dat");
  std::map<QString, std::vector<qint64>> named;
  for (const Slot& s : kPositionSlots) {
    const QByteArray file = ReadFile(folder + "/" + s.table);
    std::vector<qint64>& v = named[QStringLiteral("%1 %2").arg(s.table).arg(s.column)];
    for (int r = 0; r < Count(file); ++r) {
      const qint64 p = SlotValue(file, s, r);
      v.push_back(p == -1 ? 0 : p >= 0 && p < Count(stars) ? StarNumber(stars, p) : -999);
    }
  }
  return named;
}

// The file's bytes with every reference slot (4 bytes, whatever the load reads) zeroed: what must not change.
QByteArray OutsideReferences(const QString& folder, const QString& table) {
  QByteArray file = ReadFile(folder + "/" + table);
  for (const Slot& s : kPositionSlots)
    if (table == s.table)
      for (int r = 0; r < Count(file); ++r) file.replace(12 + r * s.recordSize + s.offset, 4, QByteArray(4, 0));
  return file;
}

enum class Edit { DeleteStar, InsertFirst, Renumber, ImportWithoutRow, EditorAdd };

#ifdef V3_WITH_EDITORS
// A star added as a user adds one: the star at `row` selected, 添加 in the
// Star editor (which starts from the selected star), a number of its own
// typed into the number box, the add button clicked.
bool AddThroughEditor(RecordGrid& grid, int row, qint64 number, const QString& folder) {
  const QString program = folder + "/program";
  QDir().mkpath(program);
  WriteFile(program + "/Config.ini", QByteArray("[Config]\r\nPath=") + folder.toUtf8() + "\r\n");
  grid.setCurrentRow(row);
  EditorRequest request;
  request.editor = QStringLiteral("Star");
  request.mode = EditorMode::Add;
  EditorEnvironment env;
  env.programFolder = program;
  RecordDialog dialog(*FindEditorForm(request.editor), grid, request, env, nullptr);
  dialog.show();
  if (!QTest::qWaitForWindowExposed(&dialog)) return false;
  auto* box = qobject_cast<QLineEdit*>(dialog.control(QStringLiteral("Text(1)")));
  auto* add = dialog.findChild<QPushButton*>(QStringLiteral("Cmd_add"));
  if (!box || !add) return false;
  box->setFocus();
  QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(box, QString::number(number));
  QTest::mouseClick(add, Qt::LeftButton);
  return dialog.result() == QDialog::Accepted;
}
#endif

}  // namespace

class ReferencesTest : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;
  QString sample_;

 private slots:
  void initTestCase() {
    sample_ = dir_.filePath("sample");
    QCOMPARE(RunCli({"sample", sample_, "--seed", "7", "--records", "60"}).code, 0);
  }

  // The byte table above covers every position reference the tables declare,
  // and every declaration names a table, columns and keys that exist.
  void declarations() {
    std::set<QString> declared, known;
    for (const Slot& s : kPositionSlots) known.insert(QStringLiteral("%1 %2").arg(s.table).arg(s.column));
    for (const TableDef* t : AllTables())
      for (const ReferenceDef& r : t->references) {
        const TableDef* target = FindTable(r.target);
        QVERIFY2(target, qPrintable(r.target));
        QVERIFY(r.column >= 1 && r.column <= t->fieldCount());
        QVERIFY(r.targetKey <= target->fieldCount() && r.targetName <= target->fieldCount());
        if (r.by == RefersBy::Position) declared.insert(QStringLiteral("%1 %2").arg(t->fileName).arg(r.column));
      }
    QCOMPARE(declared, known);
  }

  // Of every table a reference names, the columns read alone for the names
  // beside the numbers are those of the whole read, of a file cut short too.
  void targetColumnsAsTheWholeRead() {
    std::set<QString> targets;
    for (const TableDef* t : AllTables())
      for (const ReferenceDef& r : t->references) targets.insert(r.target);
    const QString cut = dir_.filePath("cut");
    QVERIFY(QDir().mkpath(cut));
    for (const QString& name : targets) {
      const QByteArray bytes = ReadFile(sample_ + "/" + name);
      QVERIFY(WriteFile(cut + "/" + name, bytes.left(bytes.size() - 7)));
    }
    for (const QString& folder : {sample_, cut})
      for (const QString& name : targets) {
        const TableDef& t = *FindTable(name);
        const std::vector<QStringList> whole = ReadTableRows(t, folder, Script::Traditional);
        QVERIFY(!whole.empty());
        for (const QList<int>& columns : {QList<int>{2}, QList<int>{1, 2}, QList<int>{3, 1}, QList<int>{}}) {
          const std::vector<QStringList> some = ReadTableColumns(t, folder, Script::Traditional, columns);
          QCOMPARE(some.size(), whole.size());
          const int width = columns.isEmpty() ? 0 : *std::max_element(columns.begin(), columns.end());
          for (size_t r = 0; r < some.size(); ++r) {
            QCOMPARE(some[r].size(), width);
            for (int c : columns) QCOMPARE(some[r][c - 1], whole[r].value(c - 1));
          }
        }
      }
  }

  void referencesFollowTheirStars_data() {
    QTest::addColumn<int>("edit");
    QTest::newRow("delete a star that teams and firms name") << int(Edit::DeleteStar);
    QTest::newRow("a new star that sorts first") << int(Edit::InsertFirst);
    QTest::newRow("a renumbered star moves in the save's order") << int(Edit::Renumber);
    QTest::newRow("CSV import without one star's row") << int(Edit::ImportWithoutRow);
#ifdef V3_WITH_EDITORS
    QTest::newRow("a star added through the editor, sorting into the middle") << int(Edit::EditorAdd);
#endif
  }

  void referencesFollowTheirStars() {
    QFETCH(int, edit);
    const QString folder = dir_.filePath(QStringLiteral("edit%1").arg(edit));
    QDir().mkpath(folder);
    for (const QString& f : QDir(sample_).entryList(QDir::Files)) QFile::copy(sample_ + "/" + f, folder + "/" + f);
    if (edit == int(Edit::EditorAdd)) {
      // Numbers with room between them (the sample's follow each other):
      // every star's number times ten, no star moved.
      RecordGrid grid;
      QVERIFY(LoadTable(StarTable(), folder, Script::Traditional, grid));
      for (int r = 1; r <= grid.recordCount(); ++r)
        grid.setCell(r, 1, QString::number(grid.cell(r, 1).toLongLong() * 10));
      ReferencePlan plan;
      QVERIFY(SaveTableWithReferences(StarTable(), folder, Script::Traditional, grid, FileStore::disk(), nullptr, {},
                                      {}, &plan)
                  .ok());
      QVERIFY(!plan.changesCells());
      for (const char* t : {"Team.dat", "Firm.dat"}) QCOMPARE(ReadFile(folder + "/" + t), ReadFile(sample_ + "/" + t));
    }
    const auto before = NamedStars(folder);
    const QByteArray oldStars = ReadFile(folder + "/StarRole.dat");
    // The star that Team.dat's first member names goes, or moves.
    qint64 chosen = 0;
    for (qint64 n : before.at("Team.dat 3")) chosen = chosen ? chosen : n;
    QVERIFY(chosen > 0);
    std::map<qint64, qint64> renamed;  // old number -> new, 0 for deleted
    renamed[chosen] = edit == int(Edit::Renumber)                                      ? 30000
                      : edit == int(Edit::InsertFirst) || edit == int(Edit::EditorAdd) ? chosen
                                                                                       : 0;
    // A number no star has, between those of the middle stars of the file.
    qint64 middle = 0;
    std::set<qint64> numbers;
    for (int p = 0; p < Count(oldStars); ++p) numbers.insert(StarNumber(oldStars, p));
    for (auto it = numbers.begin(); it != numbers.end() && !middle; ++it)
      if (std::distance(numbers.begin(), it) >= Count(oldStars) / 3 && !numbers.count(*it + 1)) middle = *it + 1;

    if (edit == int(Edit::ImportWithoutRow)) {
      QList<QByteArray> lines = RunCli({"export", folder, "StarRole.dat"}).out.split('\n');
      lines.removeIf([&](const QByteArray& l) { return l.startsWith(QByteArray::number(chosen) + ','); });
      WriteFile(folder + "/stars.csv", lines.join('\n'));
      const CliRun r = RunCli({"import", folder, "StarRole.dat", folder + "/stars.csv", "--allow-removal"});
      // The summary in the language of the environment (English here).
      QVERIFY2(r.code == 0 && r.err.contains("StarRole.dat: 1 deleted"), r.err.constData());
    } else {
      RecordGrid grid;
      QVERIFY(LoadTable(StarTable(), folder, Script::Traditional, grid));
      int row = 0;
      for (int r = 1; r <= grid.recordCount(); ++r)
        if (grid.cell(r, 1).toLongLong() == chosen) row = r;
      QVERIFY(row > 0);
      if (edit == int(Edit::DeleteStar)) grid.removeRecords({row});
      if (edit == int(Edit::Renumber)) grid.setCell(row, 1, "30000");
#ifdef V3_WITH_EDITORS
      if (edit == int(Edit::EditorAdd)) {
        QVERIFY(AddThroughEditor(grid, row, middle, folder));
      }
#endif
      if (edit == int(Edit::InsertFirst)) {
        QStringList fresh = grid.record(row);
        fresh[0] = "0";
        grid.appendRecord(fresh);
      }
      ReferencePlan plan;
      const SaveOutcome o = SaveTableWithReferences(StarTable(), folder, Script::Traditional, grid, FileStore::disk(),
                                                    nullptr, {}, {}, &plan);
      QVERIFY2(o.ok(), qPrintable(o.reason));
      QVERIFY(plan.changesCells());
    }
    const auto after = NamedStars(folder);
    if (edit == int(Edit::EditorAdd)) {
      // The new star stands between others in the file, with the chosen star's cells.
      const QByteArray stars = ReadFile(folder + "/StarRole.dat");
      int at = -1;
      for (int p = 0; p < Count(stars); ++p)
        if (StarNumber(stars, p) == middle) at = p;
      QVERIFY2(at > 0 && at < Count(stars) - 1, qPrintable(QString::number(at)));
      QCOMPARE(Count(stars), Count(oldStars) + 1);
    }
    int followed = 0, cleared = 0;
    for (const auto& [column, stars] : before)
      for (size_t r = 0; r < stars.size(); ++r) {
        const qint64 was = stars[r], now = after.at(column)[r];
        const qint64 expected = renamed.count(was) ? renamed[was] : was;
        QVERIFY2(now == expected,
                 qPrintable(QStringLiteral("%1 row %2: star %3 became %4").arg(column).arg(r + 1).arg(was).arg(now)));
        followed += was && now;
        cleared += was && !now;
      }
    QVERIFY(followed > 0);
    QCOMPARE(cleared > 0, renamed[chosen] == 0);
    for (const char* t : {"Team.dat", "Firm.dat"})
      QCOMPARE(OutsideReferences(folder, t), OutsideReferences(sample_, t));
    // The old files are in the backups.
    QCOMPARE(ReadFile(folder + "/StarRole.dat.bak"), oldStars);
    QCOMPARE(ReadFile(folder + "/Team.dat.bak"), ReadFile(sample_ + "/Team.dat"));
  }

  // Number and code references: a target that gets another key takes them
  // along, one that is deleted leaves them as they are and listed.
  void keysFollowOrAreListed_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("referring");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("cell");        // the referring cell before
    QTest::addColumn<QStringList>("newKey");  // the target's key after; empty: deleted
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("summary");
    for (const char* job : {"MVCase.dat", "CDCase.dat", "TVCase.dat"}) {
      const int column = FindTable(job)->references.front().column;
      QTest::addRow("%s: producer renumbered", job)
          << "Producer.tab" << job << column << "王导" << QStringList{"12"} << "12" << int(ReferenceCellUpdate::Follows)
          << QStringLiteral("Producer.tab：记录编号改变；%1 1 处引用将随之更新").arg(job);
      QTest::addRow("%s: producer deleted", job)
          << "Producer.tab" << job << column << "王导" << QStringList{} << "王导" << int(ReferenceCellUpdate::Dangling)
          << QStringLiteral("Producer.tab：删除 1 条；1 处引用的记录已被删除，保持原值（%1 1 处）").arg(job);
    }
    QTest::newRow("request's job code changed")
        << "CFCase.dat"
        << "CFRequest.dat" << 2 << QString::fromLatin1("CF7\0\0", 5) << QStringList{"CF070"} << "CF070"
        << int(ReferenceCellUpdate::Follows) << "CFCase.dat：记录编号改变；CFRequest.dat 1 处引用将随之更新";
    QTest::newRow("request's job deleted")
        << "CFCase.dat"
        << "CFRequest.dat" << 2 << "CF7" << QStringList{} << "CF7" << int(ReferenceCellUpdate::Dangling)
        << "CFCase.dat：删除 1 条；1 处引用的记录已被删除，保持原值（CFRequest.dat 1 处）";
  }

  void keysFollowOrAreListed() {
    QFETCH(QString, target);
    QFETCH(QString, referring);
    QFETCH(int, column);
    QFETCH(QString, cell);
    QFETCH(QStringList, newKey);
    QFETCH(QString, after);
    QFETCH(int, kind);
    QFETCH(QString, summary);
    TargetChange change;
    change.table = FindTable(target);
    const QString key = target == "Producer.tab" ? "7" : "CF7";
    change.before = {{key == "7" ? "3" : "CF1", "别人"}, {key, "王导"}};
    change.after = {change.before[0]};
    change.origin = {0};
    if (!newKey.isEmpty()) {
      change.after.push_back({newKey[0], "王导"});
      change.origin.push_back(1);
    }
    QStringList row(FindTable(referring)->fieldCount());
    row[column - 1] = cell;
    const std::vector<QStringList> rows{QStringList(row.size()), row};
    const ReferencePlan plan =
        PlanReferenceUpdates(change, [&](const TableDef& t) { return t.fileName == referring ? &rows : nullptr; });
    QCOMPARE(int(plan.tables.size()), 1);
    QCOMPARE(int(plan.tables[0].cells.size()), 1);
    const ReferenceCellUpdate& u = plan.tables[0].cells[0];
    QCOMPARE(u.row, 2);
    QCOMPARE(u.after, after);
    QCOMPARE(int(u.kind), kind);
    QCOMPARE(plan.summary(), summary);
  }
};

#ifdef V3_WITH_EDITORS
QTEST_MAIN(ReferencesTest)
#else
QTEST_GUILESS_MAIN(ReferencesTest)
#endif
#include "test_references.moc"
