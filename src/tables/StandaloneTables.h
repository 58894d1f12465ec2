#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

#include "storage/FileStore.h"
#include "storage/SafeSave.h"
#include "text/Script.h"

namespace v3 {

class SampleContext;

// The four small tables that have windows of their own instead of the grid.
// Each window shows every value of its file in a box and writes it back at
// the byte position it was read from; the file is never rewritten as a whole
// and no header field is written.
enum class StandaloneKind { Cons, Dif, Level, Length };

struct StandaloneInfo {
  StandaloneKind kind;
  QString window;    // "Cons": the window's object name and language section
  QString fileName;  // "Constellation.tab": the file in the data folder and the window's caption
};
const std::vector<StandaloneInfo>& StandaloneTables();
const StandaloneInfo* FindStandalone(const QString& window);  // nullptr if none
const StandaloneInfo& StandaloneFor(StandaloneKind kind);

// How a shown value is held in the file.
enum class ValueType {
  Name,    // Big5 text in a 12-byte field: 6 bytes read, written from the field's start without padding
  Byte,    // unsigned byte in the first byte of its slot
  Int16,   // signed 16-bit
  Int32,   // signed 32-bit
  Slot16,  // read as a signed 32-bit slot, written as 16 bits into the slot's first two bytes
};

struct TableValue {
  QString box;    // the window's control: "Text1(0)", "Text(39)", "Texta(35)"
  QString label;  // what the window calls it, for messages: "能力值 3"
  ValueType type = ValueType::Int16;
  qint64 position = 0;     // where it was read, and where a save writes it
  QByteArray loadedBytes;  // the bytes a save may write there, as read (zeros past the end)
  QString loadedText;      // the text the load showed
  QString text;            // the box's text now
};

// Job categories of Length.tab: records first..first+roles-1, in file order.
struct LengthGroup {
  QString caption;  // "连续剧"
  int first;        // first record
  QStringList roles;
};
const std::vector<LengthGroup>& LengthGroups();

struct StandaloneSave {
  enum Status { Saved, Unchanged, Refused, Failed };
  Status status = Saved;
  QString box;          // Refused: the box that cannot be stored; empty for the file as a whole
  QString label;        // its label
  QString reason;       // Refused / Failed: what went wrong
  QStringList notices;  // Saved, but worth telling (see SaveFileResult)
  bool ok() const { return status == Saved || status == Unchanged; }
  // One line for a message box (empty when the save went through).
  QString message(const QString& fileName) const;
};

class StandaloneTable {
 public:
  // systemScript: the script of the system the game runs on; names typed on
  // a Simplified system are written in Traditional (as a grid table's).
  StandaloneTable(StandaloneKind kind, Script systemScript);

  StandaloneKind kind() const { return kind_; }
  Script systemScript() const { return systemScript_; }
  const StandaloneInfo& info() const { return StandaloneFor(kind_); }

  // Reads the file of the data folder: every value with its position,
  // replacing what an earlier load gave. A missing file is not created and
  // loads like an empty one (zeros, empty names). False, with the reason,
  // when the file exists but cannot be read; the table then has nothing to save.
  bool load(const QString& folder, QString* error = nullptr, FileStore& store = FileStore::disk());
  // The same from the file's bytes.
  void loadBytes(const QByteArray& file);
  void clear();
  bool isLoaded() const { return loaded_; }
  int recordSize() const { return recordSize_; }  // Length.tab: the distance between records

  const std::vector<TableValue>& values() const { return values_; }
  const TableValue* value(const QString& box) const;
  QString text(const QString& box) const;
  bool setText(const QString& box, const QString& text);

  // Checks every box and builds the file's new content from `existing` in
  // memory. A box whose text is what the load showed writes nothing, so its
  // bytes stay whatever they are; a changed box is converted to its field's
  // type (a name strictly to Big5, at most the six bytes the load reads) and
  // may extend a short file with zeros as far as it needs. *changed tells
  // whether any box was changed.
  StandaloneSave patch(const QByteArray& existing, QByteArray* out, bool* changed = nullptr) const;

  // The save: every box is checked before anything is written; then the file
  // is copied to <file>.bak and replaced at once with the patched bytes, so
  // it is never left half written. A missing file is written anew (there is
  // nothing to keep a copy of) when a box was changed, otherwise left missing.
  StandaloneSave save(const QString& folder, FileStore& store = FileStore::disk(),
                      const SaveFileOptions& options = {}) const;

 private:
  void add(const QString& box, const QString& label, ValueType type, qint64 position, const QByteArray& file);

  StandaloneKind kind_;
  Script systemScript_;
  bool loaded_ = false;
  int recordSize_ = 0;
  std::vector<TableValue> values_;
};

// The sample folder's copies of the four files, and the writer that puts
// them into a folder.
QByteArray StandaloneSampleFile(StandaloneKind kind, SampleContext& s);
bool WriteStandaloneSamples(const QString& folder, SampleContext& s, QString* error);

}  // namespace v3
