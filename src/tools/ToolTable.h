#pragma once
#include <QString>
#include <QStringList>

#include <vector>

#include "tables/StandaloneTables.h"
#include "tables/Table.h"
#include "text/Language.h"

namespace v3 {

// A table as the tools (CSV, diff, lint, check) see it: a grid table, or one
// of the four standalone tables as rows of the values their window shows.
struct ToolTable {
  const TableDef* grid = nullptr;
  const StandaloneInfo* standalone = nullptr;
  LanguageFile texts;  // where the headers come from (none: no headers)

  QString fileName() const;
  int fieldCount() const;
  // Column headers from texts (standalone: the window's captions).
  QStringList header() const;
  // Column c (1..K) as a reader should see it: its header, or "column c".
  QString columnName(int column) const;
  // The column (1..K) that holds a record's name ("团体名称", "通告名称"), 0 for a table without one.
  int nameColumn() const;
  // The table's rows as a load shows them. *exists tells whether the file is
  // there; false with *error when it is there but cannot be read.
  bool read(const QString& folder, Script systemScript, std::vector<QStringList>* rows, bool* exists,
            QString* error) const;
};

// What identifies a record of the table: its number (grid column 1; the
// request tables number by role and job together, "12/3"); the standalone
// tables' records by their position (1-based).
QString RecordKey(const ToolTable& table, const QStringList& row, int position);

// By file name without regard to case; false when no table has the name.
bool FindToolTable(const QString& fileName, ToolTable* table, const LanguageFile& texts = LanguageFile());
// Every grid table, then the four standalone tables.
std::vector<ToolTable> AllToolTables(const LanguageFile& texts = LanguageFile());

}  // namespace v3
