#pragma once
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace v3 {

class RecordGrid;

// Cells as tab-separated text, the way spreadsheets exchange them: one line
// per row, cells separated by tabs; a cell holding a tab, a line break or a
// quote is quoted ("..." with "" for a quote). Code cells lose the trailing
// zero characters they are shown without.
QString BlockText(const RecordGrid& grid, const std::vector<int>& rows, const std::vector<int>& columns,
                  bool headerRow);

// The rows and cells of tab-separated text; a final line break ends the
// last row rather than starting an empty one. Lines may end in CR LF.
QList<QStringList> ParseBlock(const QString& text);

// Where a block of `blockRows` x `blockColumns` cells lands: the first
// `blockRows` of `rows` and the first `blockColumns` of `columns`. False
// when either list is too short.
bool BlockFits(int blockRows, int blockColumns, size_t rows, size_t columns);

}  // namespace v3
