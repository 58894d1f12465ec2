#pragma once
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

#include "app/Dialogs.h"
#include "app/GridView.h"
#include "model/CellCheck.h"
#include "text/Script.h"

namespace v3 {

class RecordGrid;
struct TableDef;

// What the grid needs to edit the open table's cells in place: which editor
// each column gets, whether a value can be stored, and the edit itself.
class CellEditing : public QObject {
  Q_OBJECT
 public:
  CellEditing(RecordGrid& grid, Script script, QObject* parent = nullptr);
  ~CellEditing() override;

  // The open table (nullptr: none) and how its editor shows each field;
  // `defs` is asked only when the table or the folder is another one.
  void setTable(const TableDef* table, const QString& folder, Script systemScript,
                const std::function<CellEditorDefs()>& defs);

  bool editable(int column) const;
  CellEditorDef editorFor(int column) const;  // a plain text where the editor names none
  ColumnShape shape(int column) const;
  // The message that refuses the text for the cell, in the interface language; nothing when it fits.
  std::optional<QString> refusal(int row, int column, const QString& text) const;
  // Puts the text into the cell as one undo step; false (with a message) when refused.
  bool commit(int row, int column, const QString& text);
  // What the status line shows while a cell is edited: the column, its limits.
  QString hint(int row, int column, const QString& text) const;
  QString localised(const QString& simplified) const;
  RecordGrid& grid() { return grid_; }

 signals:
  void message(const QString& text);

 private:
  RecordGrid& grid_;
  Script script_;
  const TableDef* table_ = nullptr;
  QString folder_;
  CellEditorDefs defs_;
  std::unique_ptr<CellChecker> checker_;
};

// The grid's delegate with editors in the cells: a text box (numbers with
// their range, texts with their byte count shown), a drop-down list for the
// list fields and a check box for the flags, as the table's editor has them.
// Enter commits and moves down (Shift+Enter up), Tab moves right (Shift+Tab
// left), Escape cancels; a value the save could not store is refused at
// once and the editor stays open.
class CellEditDelegate : public CellDelegate {
  Q_OBJECT
 public:
  explicit CellEditDelegate(QObject* parent = nullptr) : CellDelegate(parent) {}
  void setEditing(CellEditing* editing) { editing_ = editing; }
  // Where the editor of a cell goes, in the coordinates of the editor's parent.
  void setPlacer(std::function<QRect(const QModelIndex&)> placer) { placer_ = std::move(placer); }

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const override;
  // The text the editor holds, as the cell would hold it.
  QString editorValue(QWidget* editor, const QModelIndex& index) const;

 signals:
  // The edit ended by a key that moves the current cell.
  void moveAfterEdit(int rows, int columns);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool finish(QWidget* editor, int rows, int columns);
  QWidget* editorOf(QObject* watched) const;

  CellEditing* editing_ = nullptr;
  std::function<QRect(const QModelIndex&)> placer_;
};

}  // namespace v3
