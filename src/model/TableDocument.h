#pragma once
#include <QByteArray>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "model/LinkedSave.h"
#include "model/RecordStore.h"
#include "model/TableIo.h"
#include "storage/FileStamp.h"
#include "storage/FileStore.h"
#include "tables/Table.h"

namespace v3 {

// One table of a data folder as it is open: its records (the grid model
// shows them), the file they were read from (its bytes and stamp), and the
// save. The editor's window and the command-line tool drive the same object.
class TableDocument {
 public:
  // systemScript: the script of the system the game runs on (see CodecContext).
  TableDocument(const TableDef& table, QString folder, Script systemScript, FileStore& store = FileStore::disk());
  // A document of no table yet: the editor's window before its first table.
  explicit TableDocument(FileStore& store = FileStore::disk());
  TableDocument(const TableDocument&) = delete;
  TableDocument& operator=(const TableDocument&) = delete;

  // Makes this the document of `table` in `folder` and reads its file (as
  // load()). The record store stays the same object, so a view of it shows
  // the new table's records.
  bool open(const TableDef& table, QString folder, Script systemScript, QString* error = nullptr);
  bool isOpen() const { return table_ != nullptr; }

  const TableDef& table() const { return *table_; }  // only while isOpen()
  const QString& folder() const { return folder_; }
  Script systemScript() const { return systemScript_; }
  QString path() const;  // the table's file in the folder
  FileStore& store() const { return *store_; }

  // The record store.
  RecordStore& records() { return records_; }
  const RecordStore& records() const { return records_; }

  // Reads the file into the records. A missing file gives no records and no
  // error; one that cannot be read gives no records, false and *error, and
  // its stamp then lets no save replace it.
  bool load(QString* error = nullptr);
  // Whether the file was there when last read.
  bool existed() const { return stamp_.exists; }
  // The file as last read or written, and its stamp.
  const QByteArray& content() const { return stamp_.content; }
  const FileStamp& stamp() const { return stamp_; }
  // Whether the file on disk is another than the one read or written.
  // *now (when given) gets the file as it is.
  bool changedOnDisk(FileStamp* now = nullptr) const;
  // A change on disk that the user chose to keep their work over: not asked
  // about again until the file changes once more.
  const FileStamp& declinedStamp() const { return declined_; }
  void declineChangeOnDisk(const FileStamp& now) { declined_ = now; }

  // The file's new content as a save would write it, in the save's record
  // order (*order, when given), touching nothing. `producers` (when given)
  // names the producers instead of the folder's Producer.tab, as a save of
  // several files that changes Producer.tab too needs.
  SaveOutcome encode(QByteArray* out, std::vector<int>* order = nullptr,
                     const ProducerDirectory* producers = nullptr) const;

  // The save (SaveRecords): replaces only the file as read or written (or
  // request.options.expected, when given: the file the user chose to
  // overwrite). Once saved, the stamp is of the new content.
  SaveOutcome save(TableSaveRequest request = {});

 private:
  const TableDef* table_;
  QString folder_;
  Script systemScript_ = Script::Traditional;
  FileStore* store_;
  RecordStore records_;
  FileStamp stamp_;
  FileStamp declined_;
};

// A data folder: the game's tables in it, each opened once as a document.
class DataFolder {
 public:
  DataFolder(QString path, Script systemScript, FileStore& store = FileStore::disk());

  const QString& path() const { return path_; }
  Script systemScript() const { return systemScript_; }
  FileStore& store() const { return *store_; }
  // Versions a save keeps in the backup history.
  int historyDepth() const { return historyDepth_; }
  void setHistoryDepth(int depth) { historyDepth_ = depth; }

  // The grid tables whose files are in the folder.
  std::vector<const TableDef*> tables() const;

  // The table's document, read on first use; *error as TableDocument::load.
  TableDocument& open(const TableDef& table, QString* error = nullptr);
  // The open document of the table; nullptr when it is not open.
  TableDocument* document(const TableDef& table) const;
  void close(const TableDef& table);
  // Reads an open table again, its changes given up.
  bool reload(const TableDef& table, QString* error = nullptr);
  // The open documents whose files changed on disk since read or written.
  std::vector<TableDocument*> changedOnDisk() const;

  // Saves a document of this folder with the folder's history depth.
  SaveOutcome save(TableDocument& document, TableSaveRequest request = {}) const;

 private:
  QString path_;
  Script systemScript_;
  FileStore* store_;
  int historyDepth_ = kDefaultHistoryDepth;
  std::map<QString, std::unique_ptr<TableDocument>> documents_;  // by file name
};

}  // namespace v3
