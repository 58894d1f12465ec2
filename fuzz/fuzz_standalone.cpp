// The standalone tables: the first byte chooses the window, the rest is its
// file. A save with nothing changed must give back the file's bytes; a
// changed box must change only bytes inside its own field (or extend a short
// file), and the patched file must load with the new value.
#include "FuzzSupport.h"
#include "tables/StandaloneTables.h"

using namespace v3;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  v3fuzz::WriteSeedsIfAsked([](const QString& sample, const QString& out) {
    const auto& all = StandaloneTables();
    for (size_t i = 0; i < all.size(); ++i)
      v3fuzz::WriteSeed(out, all[i].fileName,
                        QByteArray(1, char(i)) + v3fuzz::ReadWhole(sample + "/" + all[i].fileName));
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const auto& all = StandaloneTables();
  const StandaloneInfo& info = all[data[0] % all.size()];
  const quint8 pick = data[1];
  const QByteArray file = v3fuzz::Bytes(data + 2, size - 2);
  StandaloneTable table(info.kind, Script::Traditional);
  table.loadBytes(file);
  QByteArray out;
  bool changed = true;
  const StandaloneSave same = table.patch(file, &out, &changed);
  if (same.ok() && (changed || out != file)) v3fuzz::Broken("a save without a change changed the file");
  if (table.values().empty()) return 0;
  // Change one box to a small number (a name to a short name).
  const TableValue& v = table.values()[pick % table.values().size()];
  const QString text = v.type == ValueType::Name ? QStringLiteral("AB") : QString::number(pick % 100);
  if (text == v.loadedText) return 0;
  table.setText(v.box, text);
  if (!table.patch(file, &out, &changed).ok()) return 0;
  if (!changed) v3fuzz::Broken("a changed box was not seen as changed");
  for (qsizetype i = 0; i < file.size(); ++i)
    if (out[i] != file[i] && (i < v.position || i >= v.position + (v.type == ValueType::Name ? 12 : 4)))
      v3fuzz::Broken("a changed box wrote outside its field");
  // A shorter name leaves the old bytes after it, and a 16-bit value written
  // into a slot read as 32 bits keeps the slot's high bytes: neither reads
  // back as written unless those bytes are zero.
  if (v.type == ValueType::Name || v.type == ValueType::Slot16) return 0;
  StandaloneTable reloaded(info.kind, Script::Traditional);
  reloaded.loadBytes(out);
  if (reloaded.text(v.box) != text) v3fuzz::Broken("the patched file does not show the new value");
  return 0;
}
