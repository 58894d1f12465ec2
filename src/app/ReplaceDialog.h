#pragma once
#include <QDialog>
#include <QStringList>

#include <vector>

#include "text/Script.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace v3 {

// Find and replace: a text to look for, what to put instead, and the column
// to look in (one of the columns in view, or all of them). "全部替换"
// accepts the dialog; the window carries the replacement out.
class ReplaceDialog : public QDialog {
  Q_OBJECT
 public:
  // `columns`: the grid columns offered, `headers` their names in the same order.
  ReplaceDialog(const std::vector<int>& columns, const QStringList& headers, int currentColumn, Script script,
                QWidget* owner);

  QComboBox* columnList() const { return columns_; }
  QLineEdit* findBox() const { return find_; }
  QLineEdit* replaceBox() const { return replace_; }
  // The column chosen; 0 for all of them.
  int column() const;
  QString findText() const;
  QString replacement() const;

 private:
  std::vector<int> offered_;
  QComboBox* columns_;
  QLineEdit* find_;
  QLineEdit* replace_;
  QPushButton* replaceAll_;
};

}  // namespace v3
