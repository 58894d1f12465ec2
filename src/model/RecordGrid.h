#pragma once
#include <QAbstractTableModel>
#include <QItemSelectionModel>

#include <memory>
#include <vector>

#include "model/RecordStore.h"

namespace v3 {

// The grid's Qt model: a view of a record store (a document's), which it
// shows and changes, with the selection of whole rows. Every change of the
// store, made through this model or straight on the store, reaches the
// grid's views.
//
// As a Qt model the header row is the horizontal header, so model row r is
// grid row r + 1 and model column c is grid column c.
//
// Rows are selected whole through selectionModel(); any set at a time.
// When the store's rows are reordered the selection and the current row
// move with their records.
class RecordGrid : public QAbstractTableModel, public RecordStoreView {
  Q_OBJECT
 public:
  using Row = RecordStore::Row;
  using PlacedRecord = RecordStore::PlacedRecord;
  using CellEdit = RecordStore::CellEdit;
  using SortOrder = RecordStore::SortOrder;

  // A model of a store of its own (tests, a dialog's list).
  explicit RecordGrid(QObject* parent = nullptr);
  // A view of `store`, which outlives it.
  explicit RecordGrid(RecordStore& store, QObject* parent = nullptr);
  ~RecordGrid() override;

  RecordStore& store() { return *store_; }
  const RecordStore& store() const { return *store_; }
  // What works on records (loads, saves, tools) takes the store.
  operator RecordStore&() { return *store_; }
  operator const RecordStore&() const { return *store_; }

  // The store's own, as RecordStore has them.
  void reset(int fieldCount, std::vector<QStringList> rows) { store_->reset(fieldCount, std::move(rows)); }
  void resetRecords(int fieldCount, std::vector<TableRecord> records) {
    store_->resetRecords(fieldCount, std::move(records));
  }
  void resetKept(int fieldCount, std::vector<KeptBytes> records, std::shared_ptr<const RecordSource> source) {
    store_->resetKept(fieldCount, std::move(records), std::move(source));
  }
  bool decodeSome(int count) { return store_->decodeSome(count); }
  bool allDecoded() const { return store_->allDecoded(); }
  void clear() { store_->clear(); }
  int recordCount() const { return store_->recordCount(); }
  int fieldCount() const { return store_->fieldCount(); }
  QString cell(int row, int column) const { return store_->cell(row, column); }
  void setCell(int row, int column, const QString& text) { store_->setCell(row, column, text); }
  bool isCellUnchanged(int row, int column) const { return store_->isCellUnchanged(row, column); }
  const QStringList& record(int row) const { return store_->record(row); }
  const Row& rowAt(int row) const { return store_->rowAt(row); }
  const Row& rowAsRead(int row) const { return store_->rowAsRead(row); }
  const std::vector<Row>& rows() const { return store_->rows(); }
  std::vector<QStringList> records() const { return store_->records(); }
  void setHeaderTexts(const QStringList& texts) { store_->setHeaderTexts(texts); }
  QString headerText(int column) const { return store_->headerText(column); }
  int appendRecord(QStringList fields) { return store_->appendRecord(std::move(fields)); }
  void removeRecords(std::vector<int> rows) { store_->removeRecords(std::move(rows)); }
  void insertRecords(std::vector<PlacedRecord> records) { store_->insertRecords(std::move(records)); }
  void setCells(const std::vector<CellEdit>& edits) { store_->setCells(edits); }
  quint64 recordId(int row) const { return store_->recordId(row); }
  int rowOfId(quint64 id) const { return store_->rowOfId(id); }
  std::vector<quint64> recordIds() const { return store_->recordIds(); }
  std::vector<int> sortedOrder(int column, SortOrder order, bool descending = false) const {
    return store_->sortedOrder(column, order, descending);
  }
  std::vector<int> sortedOrder(const std::vector<int>& start, int column, SortOrder order,
                               bool descending = false) const {
    return store_->sortedOrder(start, column, order, descending);
  }
  void applyOrder(const std::vector<int>& order) { store_->applyOrder(order); }
  void setHiddenColumns(QList<int> columns) { store_->setHiddenColumns(std::move(columns)); }
  const QList<int>& hiddenColumns() const { return store_->hiddenColumns(); }
  void setLeadingColumns(int count) { store_->setLeadingColumns(count); }
  int leadingColumns() const { return store_->leadingColumns(); }
  void setObserver(RecordGridObserver* observer) { store_->setObserver(observer); }
  RecordGridObserver* observer() const { return store_->observer(); }
  bool isModified() const { return store_->isModified(); }
  void markSaved() { store_->markSaved(); }

  // Selection of whole rows, in grid row numbers.
  QItemSelectionModel* selectionModel() { return &selection_; }
  std::vector<int> selectedRows() const;  // ascending
  int selectedCount() const;
  bool isRowSelected(int row) const;
  void setRowSelected(int row, bool selected);
  void selectRange(int firstRow, int lastRow);
  void selectAll();
  void clearSelection();
  void invertSelection();
  // Makes the row the current row, which selects it.
  void setCurrentRow(int row);
  int currentRow() const;  // 0 when none

  // QAbstractItemModel
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 signals:
  void modifiedChanged(bool modified);

 private:
  // RecordStoreView
  void aboutToReset() override;
  void wasReset() override;
  void cellsChanged(int top, int left, int bottom, int right) override;
  void headerChanged() override;
  void aboutToInsert(int first, int last) override;
  void wasInserted() override;
  void aboutToRemove(int first, int last) override;
  void wasRemoved() override;
  void aboutToReorder(const std::vector<int>& newRow) override;
  void wasReordered() override;
  void modificationChanged(bool modified) override { emit modifiedChanged(modified); }

  QItemSelection rowsSelection(int firstRow, int lastRow) const;

  std::unique_ptr<RecordStore> own_;  // the store of a model made without one
  RecordStore* store_;
  QItemSelectionModel selection_;
  std::vector<int> movedSelection_;  // a reorder's selected rows, in their new places
  int movedCurrent_ = 0;
};

}  // namespace v3
