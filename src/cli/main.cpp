// vantaro3-cli: the command-line side of the editor. It loads and saves the
// game's tables with the same routines as the editor's grid.
#include <QCoreApplication>

#include "CommandLine.h"
#include "Commands.h"
#include "tables/StandaloneTables.h"
#include "text/Language.h"
#include "text/Places.h"
#include "text/Translation.h"

using namespace v3;
using namespace v3cli;

namespace {

using A = ArgumentDef;

// Every command: its arguments, its options and its help, parsed and shown from here.
std::vector<CommandDef> commands() {
  const OptionDef encoding{QStringLiteral("encoding"), QStringLiteral("E"),
                           Texts::tr("the CSV's encoding: utf-8 (the default), gbk or big5")};
  const OptionDef delimiter{QStringLiteral("delimiter"), QStringLiteral("D"),
                            Texts::tr("the field delimiter: \",\" (the default), \";\" or tab")};
  return {
      {QStringLiteral("export"),
       {{QStringLiteral("FOLDER")}, {QStringLiteral("TABLE")}},
       {encoding,
        delimiter,
        {QStringLiteral("spreadsheet-safe"),
         {},
         Texts::tr("text cells as =\"…\", which spreadsheet programs keep as text")},
        {QStringLiteral("bom"), {}, Texts::tr("a UTF-8 byte order mark first (for spreadsheet programs)")},
        {QStringLiteral("header"), {}, Texts::tr("the column headers of the language file first")},
        {QStringLiteral("format"), QStringLiteral("FORMAT"), Texts::tr("csv (the default) or xlsx, a workbook")}},
       Texts::tr("Write TABLE of the data folder as CSV (or an XLSX workbook) to standard output."),
       Texts::tr("One line per record, the grid's columns in order (the standalone tables: the\n"
                 "values their window shows). A character the encoding cannot hold stops the\n"
                 "export with its line and column. With --spreadsheet-safe every cell that a\n"
                 "spreadsheet program would turn into a number, a date or a formula (leading\n"
                 "zeros, long digit strings, 1/2, 3e5, =1+1) is written as =\"…\"; import takes\n"
                 "that form off again. --format xlsx writes a workbook instead: a frozen header\n"
                 "row, text columns as text cells, number columns as numbers, the words of a\n"
                 "list column (flags, years, sizes, producers) as its drop-down list."),
       cmdExport},
      {QStringLiteral("import"),
       {{QStringLiteral("FOLDER")}, {QStringLiteral("TABLE")}, {QStringLiteral("FILE")}},
       {encoding,
        delimiter,
        {QStringLiteral("allow-removal"), {}, Texts::tr("let the CSV remove the records it does not hold")},
        {QStringLiteral("allow-empty"), {}, Texts::tr("a CSV without records empties the table")},
        {QStringLiteral("dry-run"), {}, Texts::tr("print the summary and the differences, write nothing")}},
       Texts::tr("Replace TABLE's records with FILE's, CSV or a workbook (- for standard input), and save it."),
       Texts::tr("The save is the editor's: TABLE.bak and the backup history keep the old file;\n"
                 "the standalone tables are patched in place like their windows do. Refused,\n"
                 "and nothing written, when the CSV is not valid in its encoding (the line and\n"
                 "byte are named), a line has the wrong number of fields, a cell cannot be\n"
                 "stored, or the CSV has no records (unless --allow-empty). A first line that\n"
                 "is the table's header in either script is skipped, and so is a UTF-8 byte\n"
                 "order mark; rows of empty fields and blank lines are skipped and counted.\n"
                 "A workbook (XLSX, or OpenDocument ODS) is known by its content and its first\n"
                 "visible sheet is read, each cell as the text it shows; its rows are checked\n"
                 "like a CSV's lines. A ZIP archive that is damaged, or a part of it larger\n"
                 "than 256 MiB, is refused.\n"
                 "The delimiter (comma, semicolon or tab) is found in the first line unless\n"
                 "--delimiter gives it. Every import tells how many records it changes, adds,\n"
                 "removes and leaves unchanged; one that would remove records is refused\n"
                 "unless --allow-removal (or --allow-empty) is given. Also refused: a changed\n"
                 "cell in a column the save does not write (Active.tab and Pression.tab keep\n"
                 "their columns 2-3), rows of a standalone table in another order than the\n"
                 "export's (they are matched by position), and a row of a repeated record\n"
                 "number whose record cannot be told. When records of TABLE are removed,\n"
                 "added or moved, the tables that refer to them by position (Team.dat and\n"
                 "Firm.dat to StarRole.dat) are updated in the same save, all files or none:\n"
                 "a reference follows its record, one to a removed record becomes -1; what\n"
                 "changes is told first."),
       cmdImport},
      {QStringLiteral("check"),
       {{QStringLiteral("FOLDER")}, {QStringLiteral("TABLE"), A::Many}},
       {},
       Texts::tr("Load and save each table in memory; report whether its bytes stay identical."),
       Texts::tr("Without TABLE every table of the folder; one that is not there is listed as\n"
                 "missing. Temporary files left by an interrupted save are reported too."),
       cmdCheck},
      {QStringLiteral("diff"),
       {{QStringLiteral("FOLDER_A")}, {QStringLiteral("FOLDER_B")}, {QStringLiteral("TABLE"), A::Many}},
       {{QStringLiteral("csv"), {}, Texts::tr("write table,record,occurrence,change,column,column name,old,new")},
        {QStringLiteral("patch"), {}, Texts::tr("write the differences as a patch that 'apply' carries out")}},
       Texts::tr("Record-level differences between two data folders."),
       Texts::tr("Records are matched by number (and occurrence); added and removed records are\n"
                 "listed, changed cells as \"column: old → new\"."),
       cmdDiff},
      {QStringLiteral("batch"),
       {{QStringLiteral("FOLDER")}, {QStringLiteral("TABLE")}, {QStringLiteral("FILE")}},
       {{QStringLiteral("dry-run"), {}, QStringLiteral("print the changes as diff does; write nothing")}},
       QStringLiteral("Change TABLE's records by the instructions in FILE (- for standard input) and save it."),
       QStringLiteral("One instruction a line (UTF-8); columns by header (either script) or number:\n"
                      "  =COL=V  !COL=V  >COL=N  <COL=N  ~COL=TEXT   filters, all must hold\n"
                      "  .COL=V  .COL=$COL2  .COL+=N  .COL-=N  .COL*=F  sets, in order\n"
                      "  # comment; a set ending in !clamp brings a result into the field's range.\n"
                      "A value the save cannot store is refused with its record, column and line;\n"
                      "nothing is written then. The standalone tables' records go by position."),
       cmdBatch},
      {QStringLiteral("apply"),
       {{QStringLiteral("FOLDER")}, {QStringLiteral("PATCH")}},
       {{QStringLiteral("dry-run"), {}, QStringLiteral("print what would change; write nothing")},
        {QStringLiteral("force"),
         {},
         QStringLiteral("take the patch's value where a cell or record is not what it expects")},
        {QStringLiteral("reverse"), {}, QStringLiteral("undo the patch: old and new swapped")}},
       QStringLiteral("Apply a patch written by 'diff --patch' (- for standard input)."),
       QStringLiteral("A change whose old value is there is made, one whose new value is there is\n"
                      "skipped; any other is a conflict (table, record, column, expected, found,\n"
                      "wanted), and with a conflict nothing is written unless --force. Every table\n"
                      "is checked in memory before any is saved. Exit status 1 when there were\n"
                      "conflicts."),
       cmdApply},
      {QStringLiteral("lint"),
       {{QStringLiteral("FOLDER")}},
       {{QStringLiteral("csv"), {}, Texts::tr("write table,row,record,record name,column,column name,reason")}},
       Texts::tr("Report what the game would trip over, with table, row and column."),
       Texts::tr("Team members and firm artists past the end of StarRole.dat, producer numbers\n"
                 "without a Producer.tab record, repeated record numbers, cells a save would\n"
                 "refuse, Active.tab and Pression.tab without their 9 and 99 records."),
       cmdLint},
      {QStringLiteral("backups"),
       {{QStringLiteral("FOLDER")}, {QStringLiteral("TABLE"), A::Optional}},
       {},
       Texts::tr("List the earlier versions each save kept, newest first."),
       Texts::tr("One line each (in FOLDER/Vantaro3Backups): id, date and time, size in bytes\n"
                 "(and the table, when no TABLE is given). Config.ini's BackupVersions= sets\n"
                 "how many are kept."),
       cmdBackups},
      {QStringLiteral("restore"),
       {{QStringLiteral("FOLDER")}, {QStringLiteral("TABLE")}, {QStringLiteral("ID")}},
       {},
       Texts::tr("Put version ID of TABLE back."),
       Texts::tr("This is a save: the file it replaces goes into the history and TABLE.bak first."),
       cmdRestore},
      {QStringLiteral("sample"),
       {{QStringLiteral("OUTDIR")}},
       {{QStringLiteral("seed"), QStringLiteral("N"), Texts::tr("the seed of the made-up values (default 1)")},
        {QStringLiteral("records"), QStringLiteral("M"), Texts::tr("records per table, 1 to 32767 (default 20)")},
        {QStringLiteral("force"), {}, Texts::tr("replace the game's files in OUTDIR")}},
       Texts::tr("Write a sample data folder with every table."),
       Texts::tr("A folder that holds any of the game's files is refused unless --force is given."),
       cmdSample},
      {QStringLiteral("tables"), {}, {}, Texts::tr("List the tables."), QString(), cmdTables},
  };
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  // Messages and help in the user's language: chosen before any text is made.
  ChooseMessageLanguage(app.arguments().mid(1));
  const std::vector<CommandDef> all = commands();
  return RunCommandLine(all, app.arguments().mid(1), [](int localeId) {
    context().texts = LanguageFile(InterfaceScript(localeId), LanguageFolder(QCoreApplication::applicationDirPath()));
    context().systemScript = SystemTextScript(localeId);
  });
}
