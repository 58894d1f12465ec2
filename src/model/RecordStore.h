#pragma once
#include <QHash>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "tables/Table.h"

namespace v3 {

// The records of an open table: the only copy of them in memory. A
// document owns it; the grid's Qt model (RecordGrid) is a view of it, and
// the command-line tool works on it with no view at all.
//
// Grid numbering: row 0 is the header row, rows 1..N the records in file
// order; column 0 is the empty selector column, columns 1..K the fields.
//
// Records loaded through resetKept() are decoded from their bytes when one
// of their cells is first asked for (decodeSome() does it ahead of need), so
// a table opens in the time it takes to find its records.
//
// Every record carries the bytes it was read from (see TableRecord): a cell
// counts as unchanged, and is saved from those bytes, while its text equals
// the text it was read as, so putting the old text back makes it unchanged
// again.
class RecordGridObserver;
class RecordStoreView;

class RecordStore {
 public:
  // A record: its cells (fields 1..K at indexes 0..K-1) and what it was
  // read from. Copying one is cheap (all of it is shared until changed).
  struct Row : TableRecord {
    Row() = default;
    explicit Row(QStringList fields) : TableRecord(std::move(fields)) {}
    explicit Row(TableRecord record) : TableRecord(std::move(record)) {}
    Row(std::initializer_list<QString> fields) : TableRecord(QStringList(fields)) {}
    bool pending = false;  // cells not decoded from the kept bytes yet
  };

  // A record with its stable id at a grid row. The id is given by the grid
  // when the record enters it (reset, append, insert without an id) and is
  // never given to another record of the same grid.
  struct PlacedRecord {
    int row = 0;  // grid row 1..N
    Row record;
    quint64 id = 0;
  };
  struct CellEdit {
    int row = 0;
    int column = 0;
    QString text;
  };

  RecordStore() = default;
  RecordStore(const RecordStore&) = delete;
  RecordStore& operator=(const RecordStore&) = delete;

  // Replaces the whole content: K field columns and the records, all of
  // them new (nothing kept from a file).
  void reset(int fieldCount, std::vector<QStringList> rows);
  // The same with records read from a file, which keep their bytes.
  void resetRecords(int fieldCount, std::vector<TableRecord> records);
  // The same with records whose cells `source` decodes from their bytes on
  // first use. A record without bytes (beyond the end of the file) is a new
  // record with the cells the source gives for no bytes.
  void resetKept(int fieldCount, std::vector<KeptBytes> records, std::shared_ptr<const RecordSource> source);
  // Decodes up to `count` records not decoded yet; false when none is left.
  bool decodeSome(int count);
  bool allDecoded() const { return pending_ == 0; }
  void clear() { reset(0, {}); }

  int recordCount() const { return int(rows_.size()); }  // N
  int fieldCount() const { return fieldCount_; }         // K

  // Grid cells: row 0 gives the header text, column 0 empty text.
  QString cell(int row, int column) const;
  void setCell(int row, int column, const QString& text);
  // Whether the cell still holds the text it was read as (false for new records).
  bool isCellUnchanged(int row, int column) const;
  const QStringList& record(int row) const { return decoded(size_t(row - 1)).cells; }  // row 1..N: its fields
  const Row& rowAt(int row) const { return decoded(size_t(row - 1)); }                 // row 1..N, whole
  // The same without decoding it: a record not decoded yet has its `source`
  // set, which a save needs no more of than its kept bytes.
  const Row& rowAsRead(int row) const { return rows_[size_t(row - 1)]; }
  const std::vector<Row>& rows() const {
    decodeAll();
    return rows_;
  }
  std::vector<QStringList> records() const;  // the fields of every record

  void setHeaderTexts(const QStringList& texts);  // columns 1..K
  QString headerText(int column) const;

  // Appends a new record (fields 1..K, missing ones empty); returns its grid row.
  int appendRecord(QStringList fields);
  // Removes the given grid rows; the others keep their order.
  void removeRecords(std::vector<int> rows);
  // Inserts records so that each ends up at its `row` (ascending rows of the
  // grid after the insert; a row past the end appends). A record whose id is
  // 0 or already in the grid gets a new id; otherwise it keeps its id, which
  // is how an undone delete brings its records back.
  void insertRecords(std::vector<PlacedRecord> records);
  // Sets several cells as one change.
  void setCells(const std::vector<CellEdit>& edits);

  // Stable record ids, and the grid row of an id (0 when not in the grid).
  quint64 recordId(int row) const { return ids_[size_t(row - 1)]; }  // row 1..N
  int rowOfId(quint64 id) const;
  std::vector<quint64> recordIds() const { return ids_; }

  // Stable sorts of the data rows by a column.
  enum class SortOrder { Text, Numeric };
  // The order (grid rows) that a sort would give, without moving anything.
  // The one sort rule of the program, for the header and the save alike:
  // Numeric by each cell's number (text that is none, an empty cell too,
  // counts as 0), Text by the characters' codes; stable both ways, so
  // records with equal keys keep their order also when descending.
  std::vector<int> sortedOrder(int column, SortOrder order, bool descending = false) const;
  std::vector<int> sortedOrder(const std::vector<int>& start, int column, SortOrder order,
                               bool descending = false) const;
  // Rearranges the rows: order[i] is the grid row that becomes row i + 1.
  // A view's selection and current row move with their records.
  void applyOrder(const std::vector<int>& order);

  // Columns that the view keeps out of sight, and the count of leading
  // identifying columns; both are set by the table's load.
  void setHiddenColumns(QList<int> columns) { hidden_ = std::move(columns); }
  const QList<int>& hiddenColumns() const { return hidden_; }
  void setLeadingColumns(int count) { leading_ = count; }
  int leadingColumns() const { return leading_; }

  // The one observer told of every change to the records, after it is made
  // (the undo history).
  void setObserver(RecordGridObserver* observer) { observer_ = observer; }
  RecordGridObserver* observer() const { return observer_; }
  // The one view told before and after every change (the grid's Qt model).
  void setView(RecordStoreView* view) { view_ = view; }
  RecordStoreView* view() const { return view_; }

  // Whether the records changed since the last reset or markSaved().
  bool isModified() const { return modified_; }
  void markSaved() { setModified(false); }

  // The file the records were last read from or written to: its content,
  // and which record stands at each of its positions. While the same
  // records stand in the same order over the same content, no record has
  // moved, been added or been deleted since.
  void setFileOrder(const QByteArray& file) {
    file_ = file;
    fileIds_ = ids_;
  }
  bool holdsFileOrder(const QByteArray& file) const {
    return ids_ == fileIds_ && (file_.constData() == file.constData() || file_ == file);
  }

 private:
  void setModified(bool m);
  void fitRow(Row& row) const;
  // The record at index i, its cells decoded.
  const Row& decoded(size_t i) const {
    if (rows_[i].pending) decodeRow(rows_[i]);
    return rows_[i];
  }
  Row& decoded(size_t i) {
    if (rows_[i].pending) decodeRow(rows_[i]);
    return rows_[i];
  }
  void decodeRow(Row& row) const;
  void decodeAll() const;
  void startContent(int fieldCount);
  void finishContent();
  quint64 takeId() { return nextId_++; }
  void indexChanged() { rowIndexValid_ = false; }

  int fieldCount_ = 0;
  mutable std::vector<Row> rows_;  // mutable: cells are decoded on first use
  std::shared_ptr<const RecordSource> source_;
  mutable size_t pending_ = 0;  // records not decoded yet
  mutable size_t scan_ = 0;     // no record before this index is pending
  std::vector<quint64> ids_;    // parallel to rows_
  QByteArray file_;             // see setFileOrder
  std::vector<quint64> fileIds_;
  quint64 nextId_ = 1;
  mutable QHash<quint64, int> rowOfId_;
  mutable bool rowIndexValid_ = false;
  RecordGridObserver* observer_ = nullptr;
  RecordStoreView* view_ = nullptr;
  QStringList header_;
  QList<int> hidden_;
  int leading_ = 0;
  bool modified_ = false;
};

// What one primitive change did, with all that is needed to undo it. Records
// are named by id, since a save may move rows without telling anybody.
struct GridChange {
  enum class Kind {
    Cells,      // cells: each cell's text before and after
    Inserted,   // records: where they went, as they went in
    Removed,    // records: where they were (grid rows before the removal), whole
    Reordered,  // orderBefore / orderAfter: the ids from row 1 down
    Reset,      // the whole content replaced; nothing to undo
  };
  struct Cell {
    quint64 id = 0;
    int column = 0;
    QString before;
    QString after;
  };
  Kind kind = Kind::Cells;
  std::vector<Cell> cells;
  std::vector<RecordStore::PlacedRecord> records;  // ascending rows
  std::vector<quint64> orderBefore;
  std::vector<quint64> orderAfter;
};

class RecordGridObserver {
 public:
  virtual ~RecordGridObserver() = default;
  virtual void gridChanged(RecordStore& records, const GridChange& change) = 0;
};

// What a view of a store (the grid's Qt model) is told: before and after
// each change of the rows, and after a change of cells, of the header or of
// whether the records are modified. Rows are grid rows.
class RecordStoreView {
 public:
  virtual ~RecordStoreView() = default;
  virtual void aboutToReset() = 0;
  virtual void wasReset() = 0;
  virtual void cellsChanged(int top, int left, int bottom, int right) = 0;
  virtual void headerChanged() = 0;
  virtual void aboutToInsert(int first, int last) = 0;  // the rows the records will have
  virtual void wasInserted() = 0;
  virtual void aboutToRemove(int first, int last) = 0;
  virtual void wasRemoved() = 0;
  // newRow[r] (r = 1..N) is the row that row r moves to.
  virtual void aboutToReorder(const std::vector<int>& newRow) = 0;
  virtual void wasReordered() = 0;
  virtual void modificationChanged(bool modified) = 0;
};

// The one sort rule of RecordStore::sortedOrder over any `count` records
// (rows 1..count), each record's cell of the column given by `cell`: `start`
// (rows) reordered, stable. A numeric sort takes a row's key from `number`
// where it gives one (a number cell read without its text), else from `cell`.
using RowNumber = std::function<std::optional<int64_t>(int row)>;
std::vector<int> SortedRows(const std::vector<int>& start, int count, const std::function<QString(int row)>& cell,
                            RecordStore::SortOrder order, bool descending = false, const RowNumber& number = {});
// The keys a numeric sort of rows 1..count orders them by (index 0 unused).
std::vector<double> NumericSortKeys(int count, const std::function<QString(int row)>& cell,
                                    const RowNumber& number = {});

}  // namespace v3
