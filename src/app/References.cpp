#include "app/References.h"

#include "app/GridView.h"
#include "model/TableIo.h"
#include "tables/Tables.h"

namespace v3 {
namespace {

// Columns of a table that name a star by position, or a job by its code.
struct Refers {
  const char* file;
  int first;
  int last;
  bool job;
  const char* target;  // the table that holds the names
};
constexpr Refers kRefers[] = {
    {"Team.dat", 3, 6, false, "StarRole.dat"},     {"Firm.dat", 4, 9, false, "StarRole.dat"},
    {"CFRequest.dat", 2, 2, true, "CFCase.dat"},   {"MVRequest.dat", 2, 2, true, "MVCase.dat"},
    {"TVRequest.dat", 2, 2, true, "TVCase.dat"},
};

}  // namespace

void ReferenceNames::clear() {
  stars_.clear();
  jobs_.clear();
  columns_.clear();
}

void ReferenceNames::load(const QString& fileName, const QString& dataFolder, FileStore& store) {
  clear();
  for (const Refers& r : kRefers) {
    if (fileName != QLatin1String(r.file)) continue;
    const TableDef* target = FindTable(QString::fromLatin1(r.target));
    if (!target) continue;
    // Column 1 is the number or code, column 2 the name in every target table.
    const std::vector<QStringList> rows = ReadTableRows(*target, dataFolder, nullptr, store);
    for (const QStringList& row : rows) {
      if (row.size() < 2) continue;
      if (r.job)
        jobs_.insert(DisplayedCellText(row[0]), row[1].trimmed());
      else
        stars_.append(row[1].trimmed());
    }
    for (int c = r.first; c <= r.last; ++c) columns_.insert(c, r.job);
  }
}

QString ReferenceNames::note(int column, const QString& cell) const {
  const auto it = columns_.constFind(column);
  if (it == columns_.constEnd()) return QString();
  if (it.value()) return jobs_.value(DisplayedCellText(cell));
  bool ok = false;
  const int position = QStringView(cell).trimmed().toInt(&ok);
  if (!ok || position < 0 || position >= stars_.size()) return QString();
  return stars_[position];
}

}  // namespace v3
