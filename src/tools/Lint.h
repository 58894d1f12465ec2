#pragma once
#include <QString>

#include <vector>

namespace v3 {

// What the game would trip over in a data folder:
// - references past the end of their table: Team members and Firm artists
//   (0-based positions in StarRole.dat, -1 for none) beyond StarRole.dat's
//   records, producer numbers of the job files that no Producer.tab record has;
// - record numbers that occur twice within a table;
// - cells that a save would refuse (the tables' own encode checks);
// - Active.tab and Pression.tab without their 9 and 99 records.
struct LintFinding {
  QString table;       // file name
  int row = 0;         // grid row (1..N, file order); 0 for the table as a whole
  QString record;      // the record's number, empty when none
  int column = 0;      // grid column (1..K); 0 for the row or the table as a whole
  QString columnName;  // from the language file
  QString reason;
  // "Team.dat: row 3 (record 5), column 4 (成员2): ..."
  QString text() const;
};

std::vector<LintFinding> LintFolder(const QString& folder);

}  // namespace v3
