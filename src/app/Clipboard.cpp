#include "app/Clipboard.h"

#include "app/GridView.h"
#include "model/RecordGrid.h"

namespace v3 {
namespace {

QString Quoted(const QString& cell) {
  if (!cell.contains(QLatin1Char('\t')) && !cell.contains(QLatin1Char('\n')) && !cell.contains(QLatin1Char('\r')) &&
      !cell.contains(QLatin1Char('"')))
    return cell;
  QString q = cell;
  q.replace(QLatin1String("\""), QLatin1String("\"\""));
  return QLatin1Char('"') + q + QLatin1Char('"');
}

}  // namespace

QString BlockText(const RecordGrid& grid, const std::vector<int>& rows, const std::vector<int>& columns,
                  bool headerRow) {
  QString out;
  auto line = [&](int row) {
    for (size_t j = 0; j < columns.size(); ++j) {
      if (j) out += QLatin1Char('\t');
      out += Quoted(DisplayedCellText(grid.cell(row, columns[j])));
    }
    out += QLatin1Char('\n');
  };
  if (headerRow) line(0);
  for (int r : rows) line(r);
  return out;
}

QList<QStringList> ParseBlock(const QString& text) {
  QList<QStringList> rows;
  QStringList row;
  QString cell;
  bool quoted = false;   // inside a quoted cell
  bool started = false;  // the current line has any content
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar ch = text[i];
    if (quoted) {
      if (ch == QLatin1Char('"')) {
        if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
          cell += ch;
          ++i;
        } else {
          quoted = false;
        }
      } else {
        cell += ch;
      }
      continue;
    }
    if (ch == QLatin1Char('"') && cell.isEmpty()) {
      quoted = true;
      started = true;
    } else if (ch == QLatin1Char('\t')) {
      row.append(cell);
      cell.clear();
      started = true;
    } else if (ch == QLatin1Char('\n') || ch == QLatin1Char('\r')) {
      if (ch == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ++i;
      row.append(cell);
      cell.clear();
      rows.append(row);
      row.clear();
      started = false;
    } else {
      cell += ch;
      started = true;
    }
  }
  if (started || !cell.isEmpty()) {
    row.append(cell);
    rows.append(row);
  }
  return rows;
}

bool BlockFits(int blockRows, int blockColumns, size_t rows, size_t columns) {
  return blockRows > 0 && blockColumns > 0 && size_t(blockRows) <= rows && size_t(blockColumns) <= columns;
}

}  // namespace v3
