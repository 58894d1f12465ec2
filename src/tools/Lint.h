#pragma once
#include <QByteArray>
#include <QString>

#include <vector>

#include "text/Language.h"

namespace v3 {

// What the game would trip over in a data folder:
// - every declared reference (see ReferenceDef) that names no record of its
//   target: Team members and Firm artists past the end of StarRole.dat,
//   producer numbers that no Producer.tab record has, request job codes that
//   no case has; references to an empty target record or to a key that
//   several target records hold;
// - record numbers that occur twice within a table;
// - cells that a save would refuse (the tables' own encode checks);
// - Active.tab and Pression.tab without their 9 and 99 records.
struct LintFinding {
  QString table;       // file name
  int row = 0;         // grid row (1..N, file order); 0 for the table as a whole
  QString record;      // the record's number, escaped as export escapes it; empty when none
  QString recordName;  // the record's name, where the finding is about a reference
  int column = 0;      // grid column (1..K); 0 for the row or the table as a whole
  QString columnName;  // from the language file
  QString reason;
  // "Team.dat: row 3 (record 5, 星光组), column 4 (成员2): ..."
  QString text() const;
};

// Column names come from texts.
// Machine-readable, UTF-8 CSV with a header line:
// table,row,record,record name,column,column name,reason (0 left empty).
QByteArray LintCsv(const std::vector<LintFinding>& findings);

std::vector<LintFinding> LintFolder(const QString& folder, Script systemScript,
                                    const LanguageFile& texts = LanguageFile());

}  // namespace v3
