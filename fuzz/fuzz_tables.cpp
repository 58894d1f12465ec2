// Every grid table: the first byte chooses the table, the rest is its file.
// The file is loaded, saved through the real save pipeline (with the same
// bytes as the existing file) into memory and loaded again: the second load
// must show what the first one showed, in the order the save wrote.
#include "FuzzSupport.h"
#include "model/TableIo.h"
#include "tables/Tables.h"

using namespace v3;

namespace {

// The table's file from memory; the backup and the new content go to memory.
class MemoryStore : public FileStore {
 public:
  QByteArray file, written;
  bool wrote = false;
  QByteArray read(const QString&, bool* exists, QString*) override {
    *exists = true;
    return file;
  }
  bool replace(const QString& path, const QByteArray& bytes, QString*) override {
    if (path.endsWith(QLatin1String(".bak"))) return true;
    written = bytes;
    wrote = true;
    return true;
  }
  bool readSame(const QString&, const QByteArray& expected, bool* exists, bool* same, QString*) override {
    *exists = true;
    *same = expected == file;
    return true;
  }
  bool backUp(const QString&, const QByteArray&, const QString&, QString*) override { return true; }
};

// No file of the folder is read from the disk but through the store; the
// producer names come from a folder that does not exist.
const QString kFolder = QStringLiteral("/nonexistent/v3-fuzz-data");

std::vector<QStringList> cells(const RecordStore& g) {
  std::vector<QStringList> rows;
  for (int r = 1; r <= g.recordCount(); ++r) {
    QStringList row;
    for (int c = 1; c <= g.fieldCount(); ++c) row << g.cell(r, c);
    rows.push_back(row);
  }
  return rows;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  v3fuzz::WriteSeedsIfAsked([](const QString& sample, const QString& out) {
    const auto& tables = AllTables();
    for (size_t i = 0; i < tables.size(); ++i) {
      const QByteArray file = v3fuzz::ReadWhole(DataFilePath(sample, tables[i]->fileName));
      v3fuzz::WriteSeed(out, tables[i]->fileName, QByteArray(1, char(i)) + file);
      // The same table with a header that claims many records.
      QByteArray claim = file.left(12);
      if (claim.size() == 12) {
        claim[4] = char(0xA0);  // 4000 records
        claim[5] = char(0x0F);
        v3fuzz::WriteSeed(out, tables[i]->fileName + QStringLiteral(".claims"), QByteArray(1, char(i)) + claim);
      }
    }
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const auto& tables = AllTables();
  const TableDef& table = *tables[data[0] % tables.size()];
  // The system the folder is for: the platform's own text fields read as GBK on a Simplified one.
  const Script script = data[0] / tables.size() % 2 ? Script::Simplified : Script::Traditional;
  MemoryStore store;
  store.file = v3fuzz::Bytes(data + 1, size - 1);
  RecordStore grid;
  QString error;
  if (!LoadTable(table, kFolder, script, grid, &error, store)) return 0;
  // Told from pieces of the file, a save writes its own bytes only where a
  // save of the whole file does.
  if (!table.readOnly) {
    const QByteArray& file = store.file;
    const ReadPiece read = [&file](qint64 from, qint64 count, QByteArray* into, qsizetype at) {
      into->resize(at);
      into->append(file.mid(from, count));
      return true;
    };
    if (const std::optional<int> same = SavedAsReadInPieces(table, kFolder, script, file.size(), read)) {
      ComparingSink compared(file);
      int records = 0;
      if (!EncodeAsRead(table, kFolder, script, file, compared, &records).ok() || !compared.same() || records != *same)
        v3fuzz::Broken("the file told identical from its pieces is not so whole");
    }
  }
  // A small file whose header claims many records loads as that many rows
  // (zeros past the end); the load above must stay fast for it, but saving
  // megabytes of zeros again and again would leave no time for the fuzzing.
  if (table.readOnly || qint64(grid.recordCount()) * 4 > store.file.size() + 4096) return 0;
  const SaveOutcome saved = SaveTable(table, kFolder, script, grid, store);
  if (!saved.ok()) return 0;  // a refusal is an answer; the file is kept
  if (!store.wrote) v3fuzz::Broken("a save that went through wrote nothing");
  const std::vector<QStringList> shown = cells(grid);  // in the order written
  MemoryStore again;
  again.file = store.written;
  RecordStore reloaded;
  if (!LoadTable(table, kFolder, script, reloaded, &error, again)) v3fuzz::Broken("the saved file does not load");
  v3fuzz::SameRecords(shown, cells(reloaded), "the saved file loads with other cells");
  return 0;
}
