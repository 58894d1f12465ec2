#pragma once
#include <QDialog>
#include <QString>

#include "tools/Batch.h"
#include "tools/Patch.h"

class QCheckBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace v3 {

class UiFront;
class Vantaro3;

// 批量修改…: the instructions of a batch edit for the open table, with a
// preview of the records they pick and the cells they change, brought up to
// date as the text is typed. OK is enabled when the instructions are right
// and change something; the window then makes the changes as one undo step.
class BatchDialog : public QDialog {
  Q_OBJECT
 public:
  BatchDialog(Vantaro3& window, const TableDef& table, QWidget* owner = nullptr);
  QPlainTextEdit* instructions() const { return text_; }
  QTreeWidget* preview() const { return preview_; }
  QLabel* summary() const { return summary_; }
  QPushButton* okButton() const { return ok_; }
  const BatchResult& result() const { return result_; }

 private:
  void refresh();
  Vantaro3& window_;
  const TableDef& table_;
  QByteArray file_;  // the table's file as it is, for the checks
  std::vector<QStringList> names_;
  BatchResult result_;
  QPlainTextEdit* text_ = nullptr;
  QTreeWidget* preview_ = nullptr;
  QLabel* summary_ = nullptr;
  QPushButton* ok_ = nullptr;
};

// 应用补丁…: a patch's changes of the open table against its records: what
// would change and every conflict (table, record, column, expected, found,
// wanted); "use the patch's values" settles the conflicts where it can. OK
// (enabled without unsettled conflicts) makes the changes as one undo step.
class PatchDialog : public QDialog {
  Q_OBJECT
 public:
  PatchDialog(Vantaro3& window, const ToolTable& table, Patch patch, const QString& patchName,
              QWidget* owner = nullptr);
  QTreeWidget* preview() const { return preview_; }
  QLabel* summary() const { return summary_; }
  QCheckBox* forceBox() const { return force_; }
  QCheckBox* reverseBox() const { return reverse_; }
  QPushButton* okButton() const { return ok_; }
  const TablePatchPlan& plan() const { return plan_; }

 private:
  void refresh();
  Vantaro3& window_;
  ToolTable table_;
  Patch patch_;
  QStringList others_;  // the patch's other tables
  TablePatchPlan plan_;
  QTreeWidget* preview_ = nullptr;
  QLabel* summary_ = nullptr;
  QCheckBox* force_ = nullptr;
  QCheckBox* reverse_ = nullptr;
  QPushButton* ok_ = nullptr;
};

// 编辑 → 批量修改… (mnu_batch) and 文件 → 应用补丁… (mnu_patch) for the open table.
void AddBatchCommands(Vantaro3& window, QMenu* fileMenu, QMenu* editMenu, UiFront& front);

}  // namespace v3
