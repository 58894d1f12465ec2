#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

#include "tables/Producers.h"

namespace v3 {

// What a table's routines need besides the file's bytes.
struct CodecContext {
  QString dataFolder;
  const ProducerDirectory* producers = nullptr;  // set when the table's codec needsProducers()
};

// A cell that cannot be stored. `record` is the index (from 0) into the rows
// handed to encode(); `column` the grid column (1..K), 0 for the row as a whole.
struct CellProblem {
  int record = 0;
  int column = 0;
  QString reason;
};

// Turns a table file's bytes into grid rows and grid rows into the file's new bytes.
class TableCodec {
 public:
  virtual ~TableCodec() = default;
  virtual int fieldCount() const = 0;  // K
  // Never fails: bytes past the end of the file read as zero.
  virtual std::vector<QStringList> decode(const QByteArray& file, const CodecContext& ctx) const = 0;
  // The complete new content of the file for the rows (in the order to write),
  // or the first cell that cannot be stored. `existing` is the file as it is
  // now (tables patched in place, or whose layout the file decides).
  virtual std::optional<CellProblem> encode(const std::vector<const QStringList*>& rows, const QByteArray& existing,
                                            const CodecContext& ctx, QByteArray* out) const = 0;
  virtual bool needsProducers() const { return false; }
};

// The order in which a save writes the rows.
enum class SaveOrder {
  Text,               // column 1 by character codes
  Numeric,            // column 1 as a number
  NumericThenSecond,  // column 1, then again (stable) by column 2, both numeric
  GridOrder,          // as the grid holds them
};

// One data table of the game, as load, save, export and check see it.
struct TableDef {
  QString fileName;  // "Team.dat": the catalogue caption and the file in the data folder
  QString code;      // "Team": names Load<code>/Save<code>, the editor, the menu entry
  const TableCodec* codec = nullptr;
  SaveOrder order = SaveOrder::Numeric;
  QList<int> hiddenColumns;  // grid columns kept out of view
  int leadingColumns = 0;    // count of leading identifying columns, 0 when the table sets none
  bool readOnly = false;     // shown, never written (its save does nothing)
  // Rows for the sample data folder, already in the order a save writes them.
  std::vector<QStringList> (*sample)(class SampleContext&) = nullptr;
  // For tables whose save does not write the whole file (patched in place,
  // read-only): the sample file's bytes themselves.
  QByteArray (*sampleFile)(class SampleContext&) = nullptr;
  int fieldCount() const { return codec ? codec->fieldCount() : 0; }
};

}  // namespace v3
