#pragma once
#include <QToolBar>

#include "text/Script.h"

class QComboBox;
class QLineEdit;

namespace v3 {

// The bar above the grid that keeps only the records containing a text in
// view: the text, and the column to look in (or all columns).
class FilterBar : public QToolBar {
  Q_OBJECT
 public:
  FilterBar(Script script, QWidget* parent = nullptr);

  QLineEdit* textBox() const { return text_; }
  QComboBox* columnList() const { return columns_; }
  // The column list for the open table's header texts (columns 1..K;
  // hidden columns are not offered). Keeps the text.
  void setColumns(const QStringList& headerTexts, const QList<int>& hiddenColumns);
  // 0: all columns; otherwise the grid column.
  int column() const;
  QString text() const;
  void clearFilter();

 signals:
  void filterChanged();

 private:
  QLineEdit* text_;
  QComboBox* columns_;
  QString allColumns_;
};

}  // namespace v3
