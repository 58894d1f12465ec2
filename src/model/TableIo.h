#pragma once
#include <QByteArray>
#include <QString>

#include <vector>

#include "storage/FileStore.h"
#include "storage/SafeSave.h"
#include "model/RecordStore.h"
#include "tables/Producers.h"
#include "tables/Table.h"

namespace v3 {

// The table routines below take the data folder and the script of the
// system the game runs on (SystemTextScript of its locale), which decides how
// the platform's own text fields read and how typed text is written.
//
// Reads the table's file into records that keep the bytes they were read
// from. Never creates or changes a file: a missing file gives no records.
// *error is set when the file exists but cannot be read.
// *content (when given) gets the file's bytes as read.
std::vector<TableRecord> ReadTableRecords(const TableDef& table, const QString& folder, Script systemScript,
                                          QString* error = nullptr, FileStore& store = FileStore::disk(),
                                          QByteArray* content = nullptr);
// The same, the records' fields only.
std::vector<QStringList> ReadTableRows(const TableDef& table, const QString& folder, Script systemScript,
                                       QString* error = nullptr, FileStore& store = FileStore::disk());
// The same with only the given columns (1-based) decoded: each row holds
// the columns up to the last of them, the others empty. A table's names,
// say, without the rest of its records.
std::vector<QStringList> ReadTableColumns(const TableDef& table, const QString& folder, Script systemScript,
                                          const QList<int>& columns, QString* error = nullptr,
                                          FileStore& store = FileStore::disk());

// Loads the table into the grid: K columns, its rows, hidden and leading columns.
// `producers` (when given, and kept while the grid's records are) are those
// its cells are decoded with; otherwise Producer.tab is read when the codec needs it.
bool LoadTable(const TableDef& table, const QString& folder, Script systemScript, RecordStore& grid,
               QString* error = nullptr, FileStore& store = FileStore::disk(), QByteArray* content = nullptr,
               const ProducerDirectory* producers = nullptr);

// The grid rows in the order the table's save writes them.
std::vector<int> SaveRowOrder(const TableDef& table, const RecordStore& grid);

struct SaveOutcome {
  enum Status { Saved, Unchanged, Refused, Failed };
  Status status = Saved;
  int row = 0;          // Refused: the grid row (as the grid showed it before the save)
  int column = 0;       // Refused: the grid column, 0 when the row as a whole
  QString reason;       // Refused / Failed: what went wrong
  QStringList notices;  // Saved, but worth telling (see SaveFileResult)
  bool ok() const { return status == Saved || status == Unchanged; }
  // One line for a message box: the file, the row and column, the reason.
  QString message(const QString& fileName, const QString& columnName = QString()) const;
};

// Encodes the grid's rows (in `order`) into the file's new content, touching nothing.
SaveOutcome EncodeTable(const TableDef& table, const QString& folder, Script systemScript, const RecordStore& grid,
                        const std::vector<int>& order, const QByteArray& existing, QByteArray* out);
// The same with the producers given, for a table whose codec needs them (a
// save of several tables reads Producer.tab once); null: read from the folder.
SaveOutcome EncodeTable(const TableDef& table, const QString& folder, Script systemScript, const RecordStore& grid,
                        const std::vector<int>& order, const QByteArray& existing, QByteArray* out,
                        const ProducerDirectory* producers);
// The same content handed to the sink in pieces as it is made (what it was
// given is no content unless the outcome is ok()).
SaveOutcome EncodeTableTo(const TableDef& table, const QString& folder, Script systemScript, const RecordStore& grid,
                          const std::vector<int>& order, const QByteArray& existing, ByteSink& sink,
                          const ProducerDirectory* producers = nullptr);
// What a save of the file's records, none of them changed, would write over
// `bytes` (the file as read), handed to the sink in pieces: the grid rows a
// load gives, in the order SaveRowOrder gives them, without holding a grid
// (each record is made as the codec comes to it). *records gets their count.
SaveOutcome EncodeAsRead(const TableDef& table, const QString& folder, Script systemScript, const QByteArray& bytes,
                         ByteSink& sink, int* records = nullptr, const ProducerDirectory* producers = nullptr);
// Every record of the file at `path` handed to `visit` in the order
// forEachRecord() gives them, read a piece at a time where the codec can
// tell how its records lie from pieces of it (see recordsInPieces),
// otherwise read whole. False with *error when the file cannot be read
// whole (a missing file has no records); the records before may have been visited.
bool ForEachRecordInFile(const TableCodec& codec, const QString& path,
                         const std::function<void(const KeptBytes&)>& visit, QString* error);
// EncodeAsRead's finding for a file of `fileSize` bytes read a piece at a
// time by `read`, never held whole, when it is the common one: a save of its
// records would write the file's own bytes. Their number then; nothing when
// that is not so, or cannot be told this way (EncodeAsRead then tells what a
// save would do). The file is read once, its two halves at once; a file
// whose records vote on its layout is weighed as it is compared, and
// compared again only when the whole file does not vote as its first piece.
// `read` is called from two threads.
std::optional<int> SavedAsReadInPieces(const TableDef& table, const QString& folder, Script systemScript,
                                       qint64 fileSize, const ReadPiece& read,
                                       const ProducerDirectory* producers = nullptr);
// The order SaveRowOrder gives `count` records whose cells `cell` gives (row
// 1..count, column 1..K); `number`, where it gives one, is a number cell's value.
std::vector<int> SaveRowOrder(const TableDef& table, int count, const std::function<QString(int row, int column)>& cell,
                              const std::function<std::optional<int64_t>(int row, int column)>& number = {});
// The records of a table's content, decoded with the producers given (null:
// read from the folder when the codec needs them).
std::vector<TableRecord> DecodeTableRecords(const TableDef& table, const QString& folder, Script systemScript,
                                            const QByteArray& bytes, const ProducerDirectory* producers);

// The save command without the tables that refer to this one (see
// SaveRecords in model/LinkedSave): encode every row in memory (any cell that
// cannot be stored refuses the whole save and nothing on disk changes); then
// write the file as SaveDataFile does (history, <file>.bak, atomic replace;
// refused when the file is no longer options.expected); then show the rows
// in the order written. A read-only table saves nothing. *written (when
// given) gets the file's new content.
SaveOutcome SaveTable(const TableDef& table, const QString& folder, Script systemScript, RecordStore& grid,
                      FileStore& store = FileStore::disk(), QByteArray* written = nullptr,
                      const SaveFileOptions& options = {});

}  // namespace v3
