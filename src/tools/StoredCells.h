#pragma once
#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

#include "model/RecordStore.h"
#include "model/TableDocument.h"
#include "tables/Table.h"
#include "text/Language.h"

namespace v3 {

// Whether a save's new content gives the grid's edits back: every cell that
// differs from what was read (every cell of a new record) is looked for in
// a load of `encoded`, the content EncodeTable made of the grid's rows in
// `order`. The first that a load would show otherwise (a column the save
// does not write, a value it stores as something else) is returned: its
// grid row, its column and the reason, naming what a load would show.
// A cell whose Traditional form comes back counts as kept (a Simplified
// system maps changed cells so), and so does a code without its trailing
// zero bytes.
// `producers` (when given) stands for the folder's Producer.tab.
std::optional<CellProblem> FirstCellNotStored(const TableDef& table, const QString& folder, Script systemScript,
                                              const RecordStore& grid, const std::vector<int>& order,
                                              const QByteArray& encoded, const ProducerDirectory* producers = nullptr);

// The document's new content as its save would write it, checked with
// FirstCellNotStored: true with *bytes (when given), or false with *error
// ("Team.dat not saved: record 3, column 7 (人气): ...; nothing written"),
// the column named from `texts`. `producers` as for TableDocument::encode.
bool EncodeChecked(const TableDocument& document, const ProducerDirectory* producers, QByteArray* bytes, QString* error,
                   const LanguageFile& texts = LanguageFile());

}  // namespace v3
