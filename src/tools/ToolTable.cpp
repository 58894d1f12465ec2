#include "tools/ToolTable.h"

#include <QCoreApplication>
#include <QHash>

#include "model/TableIo.h"
#include "storage/FileStore.h"
#include "tables/Tables.h"
#include "text/Language.h"
#include "tools/StandaloneCsv.h"

namespace v3 {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Tools)
};
}  // namespace

QString ToolTable::fileName() const { return grid ? grid->fileName : standalone->fileName; }

int ToolTable::fieldCount() const { return grid ? grid->fieldCount() : StandaloneColumnCount(standalone->kind); }

QStringList ToolTable::header() const {
  return grid ? texts.headers(grid->fileName, grid->fieldCount()) : StandaloneHeader(standalone->kind, texts);
}

QString ToolTable::columnName(int column) const {
  const QStringList h = header();
  const QString name = column >= 1 && column <= h.size() ? h[column - 1].trimmed() : QString();
  return name.isEmpty() ? Texts::tr("column %1").arg(column) : name;
}

int ToolTable::nameColumn() const { return grid ? grid->nameColumn : 0; }

bool ToolTable::read(const QString& folder, Script systemScript, std::vector<QStringList>* rows, bool* exists,
                     QString* error) const {
  rows->clear();
  QString readError;
  *exists = DataFileExists(folder, fileName());
  if (grid) {
    *rows = ReadTableRows(*grid, folder, systemScript, &readError);
  } else {
    StandaloneTable table(standalone->kind, systemScript);
    if (table.load(folder, &readError) && *exists) *rows = StandaloneRows(table);
  }
  if (!readError.isEmpty()) {
    if (error) *error = readError;
    return false;
  }
  return true;
}

QString RecordKey(const ToolTable& table, const QStringList& row, int position) {
  if (table.standalone) return QString::number(position);
  const QString first = row.value(0).trimmed();
  return table.grid->order == SaveOrder::NumericThenSecond ? first + u'/' + row.value(1).trimmed() : first;
}

bool FindToolTable(const QString& fileName, ToolTable* table, const LanguageFile& texts) {
  *table = ToolTable{};
  table->texts = texts;
  if ((table->standalone = FindStandaloneFile(fileName))) return true;
  table->grid = FindTable(fileName);
  return table->grid != nullptr;
}

std::vector<ToolTable> AllToolTables(const LanguageFile& texts) {
  std::vector<ToolTable> all;
  for (const TableDef* t : AllTables()) all.push_back({t, nullptr, texts});
  for (const StandaloneInfo& i : StandaloneTables()) all.push_back({nullptr, &i, texts});
  return all;
}

}  // namespace v3
