// The record grid model: cells, sorts, deletes and whole-row selection.
#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <memory>

#include "model/RecordGrid.h"

using namespace v3;

namespace {
std::vector<QStringList> numbered(int n) {
  std::vector<QStringList> rows;
  for (int i = 1; i <= n; ++i) rows.push_back({QString::number(i), QStringLiteral("r%1").arg(i)});
  return rows;
}
// Keeps every change the grid reports.
struct Recorder : RecordGridObserver {
  std::vector<GridChange> changes;
  void gridChanged(RecordStore&, const GridChange& change) override { changes.push_back(change); }
};

// Decodes records written as "number,text" and counts its calls.
struct CommaSource : RecordSource {
  mutable int calls = 0;
  QStringList cells(const KeptBytes& record) const override {
    ++calls;
    return QString::fromLatin1(record.bytes(0, record.size())).split(u',');
  }
  QString cell(const KeptBytes& record, int column) const override {
    return QString::fromLatin1(record.bytes(0, record.size())).split(u',').value(column - 1);
  }
};

// n records "i,r<i>" in one file; the last `beyondEnd` records have no bytes.
std::vector<KeptBytes> commaRecords(int n, int beyondEnd = 0) {
  QByteArray file;
  std::vector<std::pair<qint64, qint64>> at;
  for (int i = 1; i <= n - beyondEnd; ++i) {
    const QByteArray r = QByteArray::number(i) + ",r" + QByteArray::number(i);
    at.push_back({file.size(), r.size()});
    file += r;
  }
  std::vector<KeptBytes> records;
  for (auto [offset, size] : at) records.emplace_back(file, offset, size);
  records.resize(size_t(n));
  return records;
}

// The same records as a load that decodes every cell at once gives them.
std::vector<TableRecord> commaRecordsDecoded(int n, int beyondEnd = 0) {
  CommaSource source;
  std::vector<TableRecord> out;
  for (const KeptBytes& k : commaRecords(n, beyondEnd)) {
    TableRecord r(source.cells(k));
    if (!k.isEmpty()) r.keep(k);
    out.push_back(r);
  }
  return out;
}

// Every cell, and whether it counts as unchanged, row by row.
QStringList everything(const RecordGrid& grid) {
  QStringList out;
  for (int r = 1; r <= grid.recordCount(); ++r)
    for (int c = 1; c <= grid.fieldCount(); ++c)
      out << grid.cell(r, c) + (grid.isCellUnchanged(r, c) ? QStringLiteral("=") : QStringLiteral("*"));
  return out;
}

// Undoes one reported change using nothing but the report.
void invert(RecordGrid& grid, const GridChange& c) {
  switch (c.kind) {
    case GridChange::Kind::Cells: {
      std::vector<RecordGrid::CellEdit> edits;
      for (const GridChange::Cell& cell : c.cells) edits.push_back({grid.rowOfId(cell.id), cell.column, cell.before});
      grid.setCells(edits);
      break;
    }
    case GridChange::Kind::Inserted: {
      std::vector<int> rows;
      for (const auto& p : c.records) rows.push_back(grid.rowOfId(p.id));
      grid.removeRecords(rows);
      break;
    }
    case GridChange::Kind::Removed: grid.insertRecords(c.records); break;
    case GridChange::Kind::Reordered: {
      std::vector<int> order;
      for (quint64 id : c.orderBefore) order.push_back(grid.rowOfId(id));
      grid.applyOrder(order);
      break;
    }
    case GridChange::Kind::Reset: break;
  }
}

std::vector<std::pair<quint64, QStringList>> content(const RecordGrid& g) {
  std::vector<std::pair<quint64, QStringList>> out;
  for (int r = 1; r <= g.recordCount(); ++r) out.push_back({g.recordId(r), g.record(r)});
  return out;
}

QStringList column1(const RecordGrid& g) {
  QStringList out;
  for (int r = 1; r <= g.recordCount(); ++r) out << g.cell(r, 1);
  return out;
}
}  // namespace

class RecordGridTest : public QObject {
  Q_OBJECT
 private slots:
  // The model is a view of a store: every change made straight on the store
  // (a load, an import, a save's reorder) reaches it as the model's signals.
  void modelIsConsistent() {
    RecordStore store;
    RecordGrid grid(store);
    QAbstractItemModelTester tester(&grid, QAbstractItemModelTester::FailureReportingMode::QtTest);
    store.reset(3, numbered(9));
    store.setHeaderTexts({"编号", "名称", "x"});
    QCOMPARE(grid.rowCount(), 9);
    QCOMPARE(grid.columnCount(), 4);
    QCOMPARE(grid.headerData(1, Qt::Horizontal).toString(), QStringLiteral("编号"));
    QCOMPARE(grid.data(grid.index(0, 0)).toString(), QString());  // the selector column
    QSignalSpy changed(&grid, &QAbstractItemModel::dataChanged);
    store.setCell(2, 3, "z");
    QCOMPARE(changed.count(), 1);
    QCOMPARE(grid.data(grid.index(1, 3)).toString(), QStringLiteral("z"));
    store.appendRecord({"10"});
    store.removeRecords({2, 5, 7});
    grid.setRowSelected(1, true);
    const QString selected = grid.cell(1, 1);
    store.applyOrder(store.sortedOrder(1, RecordStore::SortOrder::Text));
    QCOMPARE(grid.selectedCount(), 1);
    QCOMPARE(grid.cell(grid.selectedRows()[0], 1), selected);
    std::vector<int> every2;
    for (int r = 1; r <= store.recordCount(); r += 2) every2.push_back(r);
    store.removeRecords(every2);
    store.clear();
    QCOMPARE(grid.rowCount(), 0);
  }

  void cellsOutsideTheGrid() {
    RecordGrid grid;
    grid.reset(2, numbered(2));
    QCOMPARE(grid.cell(0, 1), QString());  // no header yet
    QCOMPARE(grid.cell(3, 1), QString());
    QCOMPARE(grid.cell(1, 0), QString());
    QCOMPARE(grid.cell(1, 3), QString());
    grid.setCell(5, 1, "x");  // ignored
    QVERIFY(!grid.isModified());
    grid.setCell(1, 1, "1");  // unchanged text is no change
    QVERIFY(!grid.isModified());
    grid.setCell(1, 1, "9");
    QVERIFY(grid.isModified());
  }

  void deleteKeepsOrder_data() {
    QTest::addColumn<std::vector<int>>("rows");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("2, 5, 7 of 9") << std::vector<int>{2, 5, 7} << QStringList{"1", "3", "4", "6", "8", "9"};
    QTest::newRow("nothing") << std::vector<int>{} << QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9"};
    QTest::newRow("unsorted, repeated, out of range")
        << std::vector<int>{9, 1, 9, 0, 12} << QStringList{"2", "3", "4", "5", "6", "7", "8"};
    QTest::newRow("all") << std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9} << QStringList{};
  }
  void deleteKeepsOrder() {
    QFETCH(std::vector<int>, rows);
    QFETCH(QStringList, left);
    RecordGrid grid;
    grid.reset(2, numbered(9));
    grid.removeRecords(rows);
    QCOMPARE(column1(grid), left);
  }

  void manyRunsDelete() {
    RecordGrid grid;
    grid.reset(2, numbered(1000));
    std::vector<int> odd;
    for (int r = 1; r <= 1000; r += 2) odd.push_back(r);
    grid.removeRecords(odd);
    QCOMPARE(grid.recordCount(), 500);
    QCOMPARE(grid.cell(1, 1), QStringLiteral("2"));
    QCOMPARE(grid.cell(500, 1), QStringLiteral("1000"));
  }

  void sorts_data() {
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<int>("order");
    QTest::addColumn<QStringList>("sorted");
    const int num = int(RecordGrid::SortOrder::Numeric), text = int(RecordGrid::SortOrder::Text);
    QTest::newRow("numeric") << QStringList{"10", "9", "2"} << num << QStringList{"2", "9", "10"};
    QTest::newRow("text") << QStringList{"10", "9", "2"} << text << QStringList{"10", "2", "9"};
    QTest::newRow("text A1 A10 A2") << QStringList{"A10", "A2", "A1"} << text << QStringList{"A1", "A10", "A2"};
    QTest::newRow("text case-sensitive") << QStringList{"b", "B", "a", "A"} << text << QStringList{"A", "B", "a", "b"};
    QTest::newRow("numeric negative") << QStringList{"3", "-1", "0"} << num << QStringList{"-1", "0", "3"};
    QTest::newRow("code zeros") << QStringList{QString::fromLatin1("A10\0\0", 5), QString::fromLatin1("A1\0\0\0", 5)}
                                << text
                                << QStringList{QString::fromLatin1("A1\0\0\0", 5), QString::fromLatin1("A10\0\0", 5)};
  }
  void sorts() {
    QFETCH(QStringList, cells);
    QFETCH(int, order);
    QFETCH(QStringList, sorted);
    RecordGrid grid;
    std::vector<QStringList> rows;
    for (const QString& c : cells) rows.push_back({c});
    grid.reset(1, rows);
    grid.applyOrder(grid.sortedOrder(1, RecordGrid::SortOrder(order)));
    QCOMPARE(column1(grid), sorted);
  }

  void numericSortIsStable() {
    RecordGrid grid;
    grid.reset(2, {{"2", "a"}, {"1", "b"}, {"2", "c"}, {"1", "d"}});
    grid.applyOrder(grid.sortedOrder(1, RecordGrid::SortOrder::Numeric));
    QStringList second;
    for (int r = 1; r <= 4; ++r) second << grid.cell(r, 2);
    QCOMPARE(second, (QStringList{"b", "d", "a", "c"}));
  }

  void selectionFollowsSortedRecords() {
    RecordGrid grid;
    grid.reset(1, {{"10"}, {"9"}, {"2"}, {"7"}});
    grid.setRowSelected(1, true);
    grid.setRowSelected(3, true);
    grid.selectionModel()->setCurrentIndex(grid.index(1, 1), QItemSelectionModel::NoUpdate);  // row 2, "9"
    QSignalSpy modified(&grid, &RecordGrid::modifiedChanged);
    grid.applyOrder(grid.sortedOrder(1, RecordGrid::SortOrder::Numeric));  // 2, 7, 9, 10
    QCOMPARE(grid.selectedRows(), (std::vector<int>{1, 4}));
    QCOMPARE(grid.currentRow(), 3);
    QCOMPARE(modified.count(), 1);
    grid.markSaved();
    QCOMPARE(modified.count(), 2);  // the saved mark is announced too
    QVERIFY(!grid.isModified());
  }

  void idsAreStable() {
    RecordGrid grid;
    grid.reset(2, numbered(4));
    const quint64 third = grid.recordId(3);
    QCOMPARE(grid.rowOfId(third), 3);
    grid.applyOrder({3, 1, 2, 4});
    QCOMPARE(grid.rowOfId(third), 1);
    grid.removeRecords({1});
    QCOMPARE(grid.rowOfId(third), 0);
    const int added = grid.appendRecord({"5"});
    QVERIFY(grid.recordId(added) > third);  // never given again
    // An id the grid never gave, or one in use, is replaced by a new one.
    grid.insertRecords({{1, {"x"}, 999}, {2, {"y"}, grid.recordId(1)}});
    QVERIFY(grid.recordId(1) != 999);
    QVERIFY(grid.recordId(2) != grid.recordId(3));
    grid.insertRecords({{1, {"z"}, third}});  // a removed record comes back with its id
    QCOMPARE(grid.rowOfId(third), 1);
    grid.reset(2, numbered(2));
    QVERIFY(grid.recordId(1) > third);
  }

  void insertPlacesRecordsAtTheirRows_data() {
    QTest::addColumn<std::vector<int>>("rows");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("one at the top") << std::vector<int>{1} << QStringList{"a", "1", "2", "3"};
    QTest::newRow("spread") << std::vector<int>{2, 4} << QStringList{"1", "a", "2", "b", "3"};
    QTest::newRow("a run") << std::vector<int>{2, 3} << QStringList{"1", "a", "b", "2", "3"};
    QTest::newRow("past the end") << std::vector<int>{4, 9} << QStringList{"1", "2", "3", "a", "b"};
    QTest::newRow("unsorted") << std::vector<int>{5, 1} << QStringList{"b", "1", "2", "3", "a"};
  }
  void insertPlacesRecordsAtTheirRows() {
    QFETCH(std::vector<int>, rows);
    QFETCH(QStringList, after);
    RecordGrid grid;
    QAbstractItemModelTester tester(&grid, QAbstractItemModelTester::FailureReportingMode::QtTest);
    grid.reset(1, {{"1"}, {"2"}, {"3"}});
    std::vector<RecordGrid::PlacedRecord> records;
    for (size_t i = 0; i < rows.size(); ++i) records.push_back({rows[i], {QString(QChar('a' + int(i)))}, 0});
    grid.insertRecords(records);
    QCOMPARE(column1(grid), after);
    QVERIFY(grid.isModified());
  }

  void setCellsIsOneChange() {
    RecordGrid grid;
    grid.reset(2, numbered(3));
    Recorder rec;
    grid.setObserver(&rec);
    QSignalSpy changed(&grid, &QAbstractItemModel::dataChanged);
    grid.setCells({{1, 2, "x"}, {3, 1, "y"}, {2, 2, "r2"}, {9, 1, "out"}, {1, 5, "out"}});
    QCOMPARE(changed.count(), 1);
    QCOMPARE(rec.changes.size(), size_t(1));
    const GridChange& c = rec.changes[0];
    QCOMPARE(c.cells.size(), size_t(2));  // unchanged and outside cells are no change
    QCOMPARE(c.cells[0].before, QStringLiteral("r1"));
    QCOMPARE(c.cells[0].after, QStringLiteral("x"));
    QCOMPARE(c.cells[1].id, grid.recordId(3));
    grid.setCells({{1, 2, "x"}});
    QCOMPARE(rec.changes.size(), size_t(1));
  }

  // Every primitive reports enough to undo it by ids, even after rows moved.
  void changesCanBeUndoneFromTheirReports() {
    RecordGrid grid;
    grid.reset(2, numbered(8));
    Recorder rec;
    grid.setObserver(&rec);
    std::vector<std::vector<std::pair<quint64, QStringList>>> states{content(grid)};
    auto step = [&](auto&& f) {
      const size_t before = rec.changes.size();
      f();
      QCOMPARE(rec.changes.size(), before + 1);
      states.push_back(content(grid));
    };
    step([&] { grid.setCell(2, 2, "two"); });
    step([&] { grid.removeRecords({1, 4, 5, 8}); });
    step([&] { grid.appendRecord({"9", "new"}); });
    step([&] { grid.applyOrder(grid.sortedOrder(2, RecordGrid::SortOrder::Text)); });
    step([&] { grid.setCells({{1, 1, "a"}, {5, 2, "b"}}); });
    step([&] { grid.insertRecords({{1, {"0", "front"}, 0}, {4, {"x", "mid"}, 0}}); });
    step([&] { grid.removeRecords({2, 3, 4}); });
    QCOMPARE(rec.changes.size(), size_t(7));
    for (size_t i = rec.changes.size(); i-- > 0;) {
      grid.setObserver(nullptr);
      invert(grid, rec.changes[i]);
      QCOMPARE(content(grid), states[i]);
    }
    grid.setObserver(&rec);
    grid.reset(2, {});
    QCOMPARE(rec.changes.back().kind, GridChange::Kind::Reset);
  }

  // Records decoded on first use behave, whatever is done to them first, as
  // records decoded at once.
  void decodedOnFirstUse() {
    using Op = std::function<void(RecordGrid&)>;
    const std::vector<std::pair<const char*, Op>> ops{
        {"nothing", [](RecordGrid&) {}},
        {"read one cell", [](RecordGrid& g) { (void)g.cell(4, 2); }},
        {"edit a cell", [](RecordGrid& g) { g.setCell(3, 2, QStringLiteral("x")); }},
        {"edit and put back",
         [](RecordGrid& g) {
           g.setCell(3, 2, QStringLiteral("x"));
           g.setCell(3, 2, QStringLiteral("r3"));
         }},
        {"delete",
         [](RecordGrid& g) {
           g.removeRecords({2, 5, 9});
         }},
        {"delete many runs",
         [](RecordGrid& g) {
           std::vector<int> odd;
           for (int r = 1; r <= g.recordCount(); r += 2) odd.push_back(r);
           g.removeRecords(odd);
         }},
        {"reverse",
         [](RecordGrid& g) {
           std::vector<int> order;
           for (int r = g.recordCount(); r >= 1; --r) order.push_back(r);
           g.applyOrder(order);
         }},
        {"sort by text", [](RecordGrid& g) { g.applyOrder(g.sortedOrder(2, RecordGrid::SortOrder::Text)); }},
        {"insert",
         [](RecordGrid& g) {
           g.insertRecords({{1, {"0", "front"}, 0}, {6, {"x", "mid"}, 0}});
         }},
        {"delete and undo",
         [](RecordGrid& g) {
           Recorder rec;
           g.setObserver(&rec);
           g.removeRecords({1, 2, 7});
           g.setObserver(nullptr);
           invert(g, rec.changes.back());
         }},
        {"decode a slice, then delete",
         [](RecordGrid& g) {
           g.decodeSome(4);
           g.removeRecords({1, 8});
         }},
    };
    const int n = 10, beyond = 2;
    for (const auto& [name, op] : ops) {
      RecordGrid eager, lazy;
      eager.resetRecords(2, commaRecordsDecoded(n, beyond));
      auto source = std::make_shared<CommaSource>();
      lazy.resetKept(2, commaRecords(n, beyond), source);
      QCOMPARE(source->calls, 0);
      QVERIFY(!lazy.allDecoded());
      op(eager);
      op(lazy);
      QVERIFY2(everything(lazy) == everything(eager), name);
      // What is left is decoded a slice at a time, and then nothing is left.
      int slices = 0;
      while (lazy.decodeSome(3)) QVERIFY2(++slices < n, name);
      QVERIFY2(lazy.allDecoded(), name);
      QVERIFY2(everything(lazy) == everything(eager), name);
      QVERIFY2(source->calls <= n, name);
    }
  }

  void decodesOnlyWhatIsAskedFor() {
    RecordGrid grid;
    auto source = std::make_shared<CommaSource>();
    grid.resetKept(2, commaRecords(6), source);
    QCOMPARE(grid.cell(3, 1), QStringLiteral("3"));
    QCOMPARE(grid.record(3), QStringList({"3", "r3"}));
    QCOMPARE(source->calls, 1);
    QCOMPARE(grid.rowAt(5).cells, QStringList({"5", "r5"}));
    QCOMPARE(source->calls, 2);
    QCOMPARE(grid.rows().size(), size_t(6));
    QCOMPARE(source->calls, 6);
    QVERIFY(grid.allDecoded());
    QVERIFY(!grid.decodeSome(10));
    QCOMPARE(source->calls, 6);
    // Reading and sorting leave every record's cells sharing the texts it
    // was read as, which a save copies from the kept bytes whole.
    (void)grid.sortedOrder(1, RecordGrid::SortOrder::Numeric);
    (void)grid.sortedOrder(2, RecordGrid::SortOrder::Text);
    for (int r = 1; r <= grid.recordCount(); ++r) QVERIFY(grid.rowAt(r).cells.isSharedWith(grid.rowAt(r).original));
  }

  void notAnOrderIsIgnored() {
    RecordGrid grid;
    grid.reset(2, numbered(3));
    grid.applyOrder({1, 1, 2});
    grid.applyOrder({0, 2, 3});
    QCOMPARE(column1(grid), (QStringList{"1", "2", "3"}));
    QVERIFY(!grid.isModified());
  }

  void selection() {
    RecordGrid grid;
    grid.reset(2, numbered(9));
    QCOMPARE(grid.selectedCount(), 0);
    grid.selectAll();
    QCOMPARE(grid.selectedCount(), 9);
    grid.invertSelection();
    QCOMPARE(grid.selectedCount(), 0);
    grid.invertSelection();
    QCOMPARE(grid.selectedCount(), 9);
    grid.clearSelection();
    grid.setRowSelected(2, true);
    grid.setRowSelected(5, true);
    grid.setRowSelected(7, true);
    QCOMPARE(grid.selectedRows(), (std::vector<int>{2, 5, 7}));
    grid.invertSelection();
    QCOMPARE(grid.selectedRows(), (std::vector<int>{1, 3, 4, 6, 8, 9}));
    grid.setRowSelected(3, false);
    QVERIFY(!grid.isRowSelected(3));
    grid.setCurrentRow(8);
    QCOMPARE(grid.currentRow(), 8);
    QCOMPARE(grid.selectedRows(), (std::vector<int>{8}));
    grid.selectRange(0, 100);
    QCOMPARE(grid.selectedCount(), 9);
  }
};

QTEST_GUILESS_MAIN(RecordGridTest)
#include "test_record_grid.moc"
