#pragma once
#include <QDialog>

#include <vector>

#include "app/References.h"
#include "text/Script.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace v3 {

// 被引用…: the records of the folder that refer to one record, one line per
// referring cell (table, the record's key and name, the column). The dialog
// only chooses: the window goes to the entry it was accepted with
// (double-click, Enter or 转到).
class ReferrersDialog : public QDialog {
  Q_OBJECT
 public:
  // `what` names the record referred to; `header` gives a referring table's column headers.
  ReferrersDialog(const QString& what, std::vector<Referrer> referrers,
                  const std::function<QString(const TableDef&, int column)>& header, Script script, QWidget* owner);

  QTreeWidget* list() const { return list_; }
  // The entry chosen; nullptr when none is.
  const Referrer* chosen() const;

 private:
  std::vector<Referrer> referrers_;
  QTreeWidget* list_;
  QPushButton* go_;
};

}  // namespace v3
