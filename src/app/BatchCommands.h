#pragma once
#include <QDialog>
#include <QString>
#include <QUndoCommand>

#include <vector>

#include "tools/Batch.h"
#include "tools/Patch.h"
#include "tools/PatchApply.h"

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

// 应用补丁…: a patch weighed against the data folder's files, every table
// it changes: per table the changes that apply, those already there and the
// conflicts (table, record, column, expected, found, wanted), then the
// changes themselves. "use the patch's values" settles the conflicts where
// it can (as apply --force), "reverse" unapplies. OK is enabled when every
// changed file's new content is made and no conflict is left; the window
// then writes them all in one save (FolderPatchStep).
class PatchDialog : public QDialog {
  Q_OBJECT
 public:
  PatchDialog(Vantaro3& window, Patch patch, const QString& patchName, QWidget* owner = nullptr);
  QTreeWidget* preview() const { return preview_; }
  QLabel* summary() const { return summary_; }
  QCheckBox* forceBox() const { return force_; }
  QCheckBox* reverseBox() const { return reverse_; }
  QPushButton* okButton() const { return ok_; }
  // The plan of the last preview, its new contents made when OK is enabled.
  FolderPatch& plan() { return plan_; }

 private:
  void refresh();
  Vantaro3& window_;
  Patch patch_;
  FolderPatch plan_;
  QTreeWidget* preview_ = nullptr;
  QLabel* summary_ = nullptr;
  QCheckBox* force_ = nullptr;
  QCheckBox* reverse_ = nullptr;
  QPushButton* ok_ = nullptr;
};

// A patch applied to the data folder as one undo step of the window: the
// content of every file it wrote, before and after. Undo writes the
// contents before back in one save of all the files, redo the contents
// after, each only over the files as the step left them (a file changed
// since refuses it, and the step leaves the history with a message). When
// the patch wrote the open table's file (or Producer.tab, which names the
// producers of the open table), the table is read again after each, so the
// grid shows the file; the steps made on the records read before cannot be
// replayed on it and leave the history.
class FolderPatchStep : public QUndoCommand {
 public:
  struct File {
    QString path;
    QByteArray before, after;
  };
  // The files are written already: the first redo (the push) does nothing.
  FolderPatchStep(Vantaro3& window, UiFront& front, std::vector<File> files, bool rereads, int historyDepth);
  void undo() override { put(false); }
  void redo() override;

 private:
  void put(bool after);
  Vantaro3& window_;
  UiFront& front_;
  std::vector<File> files_;
  bool rereads_;
  int historyDepth_;
  bool pushed_ = false;
};

// Writes the files of a patch whose contents are made in one save of
// several files and makes it one undo step; false (the reason shown) when
// nothing was written.
bool ApplyFolderPatch(Vantaro3& window, UiFront& front, const FolderPatch& plan);

// 编辑 → 批量修改… (mnu_batch) for the open table and 文件 → 应用补丁… (mnu_patch) for the data folder.
void AddBatchCommands(Vantaro3& window, QMenu* fileMenu, QMenu* editMenu, UiFront& front);

}  // namespace v3
