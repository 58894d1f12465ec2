#pragma once
#include <QByteArray>
#include <QDialog>
#include <QHash>

#include <vector>

#include "text/Language.h"
#include "storage/BackupHistory.h"

#include "text/Script.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace v3 {

class FileStore;
struct TableDef;

// The earlier versions of the open table's file, newest first, and what
// putting the selected one back would change in the file as it is now. The
// dialog only chooses: the window restores the version it was accepted with.
class RestoreDialog : public QDialog {
  Q_OBJECT
 public:
  // script: the interface's; systemScript: the one the folder's text fields are in.
  RestoreDialog(const TableDef& table, const QString& dataFolder, const LanguageFile& texts, Script script,
                Script systemScript, FileStore& store, QWidget* owner);

  QTreeWidget* versionList() const { return list_; }
  QPlainTextEdit* preview() const { return preview_; }
  QPushButton* restoreButton() const { return restore_; }
  QLabel* noteLabel() const { return note_; }
  // The id of the selected version; 0 when none is.
  int chosenId() const;

 private:
  void showSelected();
  QString differences(const BackupVersion& version, bool* readable);
  QString text(const QString& simplified) const;

  const TableDef& table_;
  QString dataFolder_;
  LanguageFile texts_;
  Script systemScript_;
  Script script_ = Script::Simplified;
  std::vector<BackupVersion> versions_;
  QByteArray current_;         // the table's file as it is now
  QString currentError_;       // why it could not be read
  QHash<int, QString> shown_;  // preview by version id, made once
  QHash<int, bool> readable_;  // whether the version's bytes could be read
  QLabel* note_;
  QTreeWidget* list_;
  QPlainTextEdit* preview_;
  QPushButton* restore_;
  QPushButton* cancel_;
};

}  // namespace v3
