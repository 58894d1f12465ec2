<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
    <context>
        <name>Backups</name>
        <message>
            <source>无法读取 %1：%2</source>
            <translation>cannot read %1: %2</translation>
        </message>
        <message>
            <source>%1 是一个符号链接，备份历史不会写到链接所指之处</source>
            <translation>%1 is a symbolic link; the backup history is not written where it points</translation>
        </message>
        <message>
            <source>%1 不是文件夹</source>
            <translation>%1 is not a folder</translation>
        </message>
        <message>
            <source>无法建立文件夹 %1：%2</source>
            <translation>cannot create the folder %1: %2</translation>
        </message>
        <message>
            <source>%1 没有较早的版本</source>
            <translation>%1 has no earlier versions</translation>
        </message>
        <message>
            <source>%1 没有编号为 %2 的版本（有：%3）</source>
            <translation>%1 has no version %2 (there are: %3)</translation>
        </message>
        <message>
            <source>%1 不是普通文件</source>
            <translation>%1 is not a regular file</translation>
        </message>
        <message>
            <source>%1：%2</source>
            <translation>%1: %2</translation>
        </message>
        <message>
            <source>无法删除备份历史中较早的版本 %1：%2</source>
            <translation>cannot remove the earlier version %1 from the backup history: %2</translation>
        </message>
    </context>
    <context>
        <name>Batch</name>
        <message>
            <source>no column named</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>no column %1 (the table has columns 1 to %2)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>no column is named %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 names columns %2: give the column's number</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>, </source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 is not a number</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>line %1: %2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>a set needs '=' (.COLUMN=VALUE)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 is not a number (up to 12 digits and 6 decimals)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>not an instruction: a line starts with = ! &gt; &lt; ~ (a filter), . (a set) or # (a comment)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>a filter needs '=' (%1COLUMN=VALUE)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>~ needs a text to look for</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: record %2 (row %3), column %4 (%5)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>, line %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>this table cannot be saved</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>a save does not store %1 here: the file would read %2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>a save does not store this record</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>; nothing written</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>Big5</name>
        <message>
            <source>换行符 %1：此栏只能有一行文字</source>
            <translation>line break %1: this field holds one line of text</translation>
        </message>
        <message>
            <source>控制字符 %1 无法以 Big5 保存</source>
            <translation>control character %1 cannot be stored in Big5</translation>
        </message>
        <message>
            <source>“%1” 无法以 Big5 保存</source>
            <translation>“%1” cannot be stored in Big5</translation>
        </message>
    </context>
    <context>
        <name>Cli</name>
        <message>
            <source>TABLE is a file name such as Team.dat, matched without regard to case
('vantaro3-cli tables' lists them). E is utf-8 (the default), gbk or big5.
A FILE given as - is standard input.
--locale N sets the system locale id (2052 Simplified, 1028 Traditional); it
chooses the language file (CHS.txt or CHT.txt) for headers and column names
and how text is written (on 2052 Simplified characters become Traditional).
It may be given before the command or among its options.
--lang L chooses the language of messages: zh_CN (Simplified), zh_TW
(Traditional) or en; without it LC_ALL, LC_MESSAGES or LANG does, else the
locale id of --locale, else English.
</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Exit status:
  0  success; diff found no difference, check and lint found nothing
  1  differences or findings: diff found a difference; check found a table
     whose bytes would change, one a save would refuse, or a file left by an
     interrupted save; lint found a problem; apply found a conflict
  2  usage error: an unknown command, option or table, a missing or extra
     argument, a bad option value
  3  a file or folder that cannot be read or written (standard output too:
     a full device, a closed pipe), a folder that holds none of the game's
     data files, a table that is not there, a CSV or export that is
     refused, or a save that is refused or fails
</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Usage: vantaro3-cli [--locale N] [--lang L] COMMAND [ARGUMENT ...] [OPTION ...]
       vantaro3-cli help COMMAND     (or: COMMAND --help, COMMAND -h)
       vantaro3-cli --help | --version

Loads and saves the game's data tables with the same routines as the editor.
Options take their value as --option VALUE or --option=VALUE.

Commands:
</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Usage: vantaro3-cli [--locale N] [--lang L] %1

</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>the system locale id (see 'vantaro3-cli --help')</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>the language of messages: zh_CN, zh_TW or en</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>show this help</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Try '%1 --help'.</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Try '%1 help %2'.</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>unknown locale id "%1" (known: %2)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>unknown language "%1" (zh_CN, zh_TW or en)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>the language of messages</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>system locale id</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>show the help</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>missing %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>unexpected argument "%1"</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: cannot write %2: %3</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>to standard output</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>standard input</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>cannot read standard input: %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>cannot read %1: %2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>show the version</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>no command</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>help takes one COMMAND</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>unknown command: %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>vantaro3-cli: warning: %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>no such folder: %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 is not a folder</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>cannot read the folder %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 holds none of the game's data files</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: no such file in %2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>unknown table: %1 (see 'vantaro3-cli tables')</source>
            <translation type="unfinished" />
        </message>
        <message numerus="yes">
            <source>%1: identical (%n record(s))
</source>
            <translation>
                <numerusform>%1: identical (%n record)
</numerusform>
                <numerusform>%1: identical (%n records)
</numerusform>
            </translation>
        </message>
        <message>
            <source>%1: differs at offset %2 (0x%3; file %4 bytes, saved %5 bytes)
</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>unknown encoding %1 (utf-8, gbk or big5)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>--bom is for UTF-8 only</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>export of %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>the CSV of %1</source>
            <translation type="unfinished" />
        </message>
        <message numerus="yes">
            <source>%1: %n record(s) saved%2</source>
            <translation>
                <numerusform>%1: %n record saved%2</numerusform>
                <numerusform>%1: %n records saved%2</numerusform>
            </translation>
        </message>
        <message>
            <source> (unchanged)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>(give --allow-empty to empty the table)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 is read-only: nothing written</source>
            <translation type="unfinished" />
        </message>
        <message numerus="yes">
            <source>%1: %n record(s) saved</source>
            <translation>
                <numerusform>%1: %n record saved</numerusform>
                <numerusform>%1: %n records saved</numerusform>
            </translation>
        </message>
        <message>
            <source>%1: missing
</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: cannot be read: %2
</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: would be refused: %2
</source>
            <translation type="unfinished" />
        </message>
        <message numerus="yes">
            <source>%1: read-only, %n record(s) loaded
</source>
            <translation>
                <numerusform>%1: read-only, %n record loaded
</numerusform>
                <numerusform>%1: read-only, %n records loaded
</numerusform>
            </translation>
        </message>
        <message>
            <source>%1: temporary file left by an interrupted save: %2 (the next save of %1 removes it)
</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>no findings</source>
            <translation type="unfinished" />
        </message>
        <message numerus="yes">
            <source>%n finding(s)</source>
            <translation>
                <numerusform>%n finding</numerusform>
                <numerusform>%n findings</numerusform>
            </translation>
        </message>
        <message>
            <source>the list</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>no earlier versions</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>restore: %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 not restored: %2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: version %2 (%3) restored</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>bad value for --seed: %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>bad value for --records: %1 (1 to %2)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>sample: %1 already holds %2; choose an empty folder, or give --force to replace them</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>sample: %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>sample data folder written: %1</source>
            <translation type="unfinished" />
        </message>
        <message numerus="yes">
            <source>%1	%n column(s), read-only
</source>
            <translation>
                <numerusform>%1	%n column, read-only
</numerusform>
                <numerusform>%1	%n columns, read-only
</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%1	%n column(s)
</source>
            <translation>
                <numerusform>%1	%n column
</numerusform>
                <numerusform>%1	%n columns
</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%1	%n column(s), patched in place
</source>
            <translation>
                <numerusform>%1	%n column, patched in place
</numerusform>
                <numerusform>%1	%n columns, patched in place
</numerusform>
            </translation>
        </message>
        <message>
            <source>the CSV's encoding: utf-8 (the default), gbk or big5</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>a UTF-8 byte order mark first (for spreadsheet programs)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>the column headers of the language file first</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Write TABLE of the data folder as CSV (or an XLSX workbook) to standard output.</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>One line per record, the grid's columns in order (the standalone tables: the
values their window shows). A character the encoding cannot hold stops the
export with its line and column. With --spreadsheet-safe every cell that a
spreadsheet program would turn into a number, a date or a formula (leading
zeros, long digit strings, 1/2, 3e5, =1+1) is written as ="…"; import takes
that form off again. --format xlsx writes a workbook instead: a frozen header
row, text columns as text cells, number columns as numbers, the words of a
list column (flags, years, sizes, producers) as its drop-down list.</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>a CSV without records empties the table</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Replace TABLE's records with FILE's, CSV or a workbook (- for standard input), and save it.</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Load and save each table in memory; report whether its bytes stay identical.</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Without TABLE every table of the folder; one that is not there is listed as
missing. Temporary files left by an interrupted save are reported too.</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>write table,record,occurrence,change,column,column name,old,new</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Record-level differences between two data folders.</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Records are matched by number (and occurrence); added and removed records are
listed, changed cells as "column: old → new".</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Report what the game would trip over, with table, row and column.</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Team members and firm artists past the end of StarRole.dat, producer numbers
without a Producer.tab record, repeated record numbers, cells a save would
refuse, Active.tab and Pression.tab without their 9 and 99 records.</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>List the earlier versions each save kept, newest first.</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>One line each (in FOLDER/Vantaro3Backups): id, date and time, size in bytes
(and the table, when no TABLE is given). Config.ini's BackupVersions= sets
how many are kept.</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Put version ID of TABLE back.</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>This is a save: the file it replaces goes into the history and TABLE.bak first.</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>the seed of the made-up values (default 1)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>records per table, 1 to 32767 (default 20)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>replace the game's files in OUTDIR</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Write a sample data folder with every table.</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>A folder that holds any of the game's files is refused unless --force is given.</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>List the tables.</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Options:
</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>vantaro3-cli: warning: no column headers for %1: %2 is missing; the header line is empty</source>
            <translation type="unfinished" />
        </message>
        <message numerus="yes">
            <source>%1: %n record(s) checked, nothing written (--dry-run)</source>
            <translation type="unfinished">
                <numerusform />
            </translation>
        </message>
        <message>
            <source>print the summary and the differences, write nothing</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>The save is the editor's: TABLE.bak and the backup history keep the old file;
the standalone tables are patched in place like their windows do. Refused,
and nothing written, when the CSV is not valid in its encoding (the line and
byte are named), a line has the wrong number of fields, a cell cannot be
stored, or the CSV has no records (unless --allow-empty). A first line that
is the table's header in either script is skipped, and so is a UTF-8 byte
order mark; rows of empty fields and blank lines are skipped and counted.
A workbook (XLSX, or OpenDocument ODS) is known by its content and its first
visible sheet is read, each cell as the text it shows; its rows are checked
like a CSV's lines. A ZIP archive that is damaged, or a part of it larger
than 256 MiB, is refused.
The delimiter (comma, semicolon or tab) is found in the first line unless
--delimiter gives it. Every import tells how many records it changes, adds,
removes and leaves unchanged; one that would remove records is refused
unless --allow-removal (or --allow-empty) is given. Also refused: a changed
cell in a column the save does not write (Active.tab and Pression.tab keep
their columns 2-3), rows of a standalone table in another order than the
export's (they are matched by position), and a row of a repeated record
number whose record cannot be told. When records of TABLE are removed,
added or moved, the tables that refer to them by position (Team.dat and
Firm.dat to StarRole.dat) are updated in the same save, all files or none:
a reference follows its record, one to a removed record becomes -1; what
changes is told first.</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>write table,row,record,record name,column,column name,reason</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: %2 changed, %3 added, %4 removed, %5 unchanged</source>
            <translation type="unfinished" />
        </message>
        <message numerus="yes">
            <source> (%n blank row(s) skipped)</source>
            <translation>
                <numerusform> (%n blank row skipped)</numerusform>
                <numerusform> (%n blank rows skipped)</numerusform>
            </translation>
        </message>
        <message>
            <source>%1: line %2: this row is record %3 of %4, which is matched by position: the rows are not in the order of the export; nothing written</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>the changes</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source> (dry run: nothing written)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: line %2: %3 has several records numbered %4 and this row gives none of them back as exported: which one it is cannot be told; nothing written</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: line %2, column %3 (%4): %5; nothing written</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: line %2 (%3), column %4 (%5): %6; nothing written</source>
            <translation type="unfinished" />
        </message>
        <message numerus="yes">
            <source>%1: the CSV would remove %n record(s): give --allow-removal to remove them; nothing written</source>
            <translation>
                <numerusform>%1: the CSV would remove %n record: give --allow-removal to remove it; nothing written</numerusform>
                <numerusform>%1: the CSV would remove %n records: give --allow-removal to remove them; nothing written</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%1: the CSV would remove %n record(s): an import needs --allow-removal</source>
            <translation>
                <numerusform>%1: the CSV would remove %n record: an import needs --allow-removal</numerusform>
                <numerusform>%1: the CSV would remove %n records: an import needs --allow-removal</numerusform>
            </translation>
        </message>
        <message>
            <source>unknown delimiter %1 (",", ";" or tab)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>the field delimiter: "," (the default), ";" or tab</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>text cells as ="…", which spreadsheet programs keep as text</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>let the CSV remove the records it does not hold</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: %2 records matched, %3 cells changed%4</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source> (%1 brought into range)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 refused: nothing written</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>; nothing written</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>: nothing written</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: line %2: not UTF-8 text</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: %2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>conflict: </source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>nothing written: %1 changes find no record to change</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>nothing written (--force takes the patch's values)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>patch not applied: %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: saved</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>write the differences as a patch that 'apply' carries out</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>--encoding, --delimiter, --bom and --spreadsheet-safe are for CSV; a workbook keeps its text cells as text</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>a workbook is not written to a terminal: redirect the output into a file</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>csv (the default) or xlsx, a workbook</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>the workbook of %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>unknown format %1 (csv or xlsx)</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>Diff</name>
        <message>
            <source>record %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source> (occurrence %1)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source> “%1”</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: cannot be read in the first folder: %2
</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: cannot be read in the second folder: %2
</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: only in the second folder
</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: only in the first folder
</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: %2 added: %3
</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: %2 removed: %3
</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: bytes outside the fields of %2 changed
</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: %2: %3: %4 → %5 (display only: the record's bytes are the same)
</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: %2: %3: %4 → %5
</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: the records are in another order
</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: bytes outside every record changed
</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>Disk</name>
        <message>
            <source>%1 %2：%3</source>
            <translation>%1 %2: %3</translation>
        </message>
        <message>
            <source>磁盘已满</source>
            <translation>No space left on device</translation>
        </message>
        <message>
            <source>超出磁盘配额</source>
            <translation>Disk quota exceeded</translation>
        </message>
        <message>
            <source>磁盘读写错误</source>
            <translation>Input/output error</translation>
        </message>
        <message>
            <source>没有访问权限</source>
            <translation>Permission denied</translation>
        </message>
        <message>
            <source>不允许此操作</source>
            <translation>Operation not permitted</translation>
        </message>
        <message>
            <source>文件系统为只读</source>
            <translation>Read-only file system</translation>
        </message>
        <message>
            <source>文件或文件夹不存在</source>
            <translation>No such file or directory</translation>
        </message>
        <message>
            <source>路径中有一项不是文件夹</source>
            <translation>Not a directory</translation>
        </message>
        <message>
            <source>这是一个文件夹</source>
            <translation>Is a directory</translation>
        </message>
        <message>
            <source>文件过大</source>
            <translation>File too large</translation>
        </message>
        <message>
            <source>打开的文件过多</source>
            <translation>Too many open files</translation>
        </message>
        <message>
            <source>系统中打开的文件过多</source>
            <translation>Too many open files in system</translation>
        </message>
        <message>
            <source>文件名过长</source>
            <translation>File name too long</translation>
        </message>
        <message>
            <source>设备或资源正忙</source>
            <translation>Device or resource busy</translation>
        </message>
        <message>
            <source>文件正被使用</source>
            <translation>Text file busy</translation>
        </message>
        <message>
            <source>不在同一文件系统</source>
            <translation>Invalid cross-device link</translation>
        </message>
        <message>
            <source>操作被中断</source>
            <translation>Interrupted system call</translation>
        </message>
        <message>
            <source>内存不足</source>
            <translation>Cannot allocate memory</translation>
        </message>
        <message>
            <source>符号链接层数过多</source>
            <translation>Too many levels of symbolic links</translation>
        </message>
        <message>
            <source>资源暂时不可用</source>
            <translation>Resource temporarily unavailable</translation>
        </message>
        <message>
            <source>网络文件已失效</source>
            <translation>Stale file handle</translation>
        </message>
        <message>
            <source>设备不存在</source>
            <translation>No such device</translation>
        </message>
        <message>
            <source>参数无效</source>
            <translation>Invalid argument</translation>
        </message>
        <message>
            <source>文件已存在</source>
            <translation>File exists</translation>
        </message>
        <message>
            <source>文件句柄无效</source>
            <translation>Bad file descriptor</translation>
        </message>
        <message>
            <source>不支持此操作</source>
            <translation>Operation not supported</translation>
        </message>
        <message>
            <source>操作超时</source>
            <translation>Connection timed out</translation>
        </message>
        <message>
            <source>连接被重置</source>
            <translation>Connection reset by peer</translation>
        </message>
        <message>
            <source>系统错误 %1（%2）</source>
            <translation>system error %1 (%2)</translation>
        </message>
        <message>
            <source>系统错误 %1</source>
            <translation>system error %1</translation>
        </message>
        <message>
            <source>无法打开</source>
            <translation>cannot open</translation>
        </message>
        <message>
            <source>无法读取</source>
            <translation>cannot read</translation>
        </message>
        <message>
            <source>无法读取 %1：这是一个文件夹，不是文件</source>
            <translation>cannot read %1: it is a folder, not a file</translation>
        </message>
        <message>
            <source>无法读取 %1：这不是普通文件</source>
            <translation>cannot read %1: it is not a regular file</translation>
        </message>
        <message>
            <source>无法读取 %1：文件过大（%2 字节）</source>
            <translation>cannot read %1: the file is too large (%2 bytes)</translation>
        </message>
        <message>
            <source>无法读取（关闭文件时出错）</source>
            <translation>cannot read (error closing the file)</translation>
        </message>
        <message>
            <source>无法完整读取 %1：读到 %2 字节，文件有 %3 字节</source>
            <translation>cannot read all of %1: read %2 bytes of the file's %3</translation>
        </message>
        <message>
            <source>%1 是只读文件（权限 %2），未改动；要保存它，先使它可写（例如 chmod u+w %3）</source>
            <translation>%1 is a read-only file (mode %2) and was left unchanged; to save it, make it writable first (for example chmod u+w %3)</translation>
        </message>
        <message>
            <source>无法删除中断的保存留下的临时文件</source>
            <translation>cannot remove the temporary file left by an interrupted save</translation>
        </message>
        <message>
            <source>无法打开文件夹</source>
            <translation>cannot open the folder</translation>
        </message>
        <message>
            <source>另一个程序正在保存 %1 中的文件（等候 %2 秒后仍未结束），未写入；请稍后再试</source>
            <translation>another program is saving files in %1 (still after waiting %2 seconds); nothing written, try again later</translation>
        </message>
        <message>
            <source>无法锁定文件夹</source>
            <translation>cannot lock the folder</translation>
        </message>
        <message>
            <source>无法写入</source>
            <translation>cannot write</translation>
        </message>
        <message>
            <source>无法写入 %1：这是一个文件夹</source>
            <translation>cannot write %1: it is a folder</translation>
        </message>
        <message>
            <source>无法写入 %1：这不是普通文件</source>
            <translation>cannot write %1: it is not a regular file</translation>
        </message>
        <message>
            <source>，原文件未改动</source>
            <translation>; the old file is unchanged</translation>
        </message>
        <message>
            <source>无法在文件夹中建立新文件以写入</source>
            <translation>cannot create a new file in the folder to write</translation>
        </message>
        <message>
            <source>无法将新内容写到磁盘</source>
            <translation>cannot flush the new content to disk</translation>
        </message>
        <message>
            <source>写入 %1 不完整：写入 %2 字节，磁盘上只有 %3 字节</source>
            <translation>the write of %1 is incomplete: %2 bytes written, %3 on disk</translation>
        </message>
        <message>
            <source>（关闭文件时出错）</source>
            <translation> (error closing the file)</translation>
        </message>
        <message>
            <source>无法用新内容替换</source>
            <translation>cannot replace with the new content</translation>
        </message>
        <message>
            <source>无法将 %1 所在文件夹的更新写到磁盘：%2</source>
            <translation>cannot flush the folder of %1 to disk: %2</translation>
        </message>
        <message>
            <source>，未建立文件</source>
            <translation>; no file was created</translation>
        </message>
        <message>
            <source>；新内容已换入，但可能没有写到磁盘</source>
            <translation>; the new content is in place but may not be on disk</translation>
        </message>
        <message>
            <source>无法写入 %1：新内容未准备好</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法恢复旧内容</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法恢复 %1 的旧内容：文件系统不支持第二个名称</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>Lint</name>
        <message>
            <source>temporary file left by an interrupted save: %1 (the next save of %2 removes it)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>cannot be read: %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>record number %1 occurs again (first in row %2)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>holds %1 records; the game reads exactly %2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>is %1 bytes long; its %2 records need %3 (it ends inside record %4)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>a save would refuse it: %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: row %2 (record %3, %4)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: row %2 (record %3)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: row %2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1, column %2 (%3)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: %2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>star</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>producer</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>job</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>record</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 is no %2 (a position in %3, %4 for none)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 is no %2 (positions in %3 start at 0, %4 is none)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 %2 is past the end of %3 (%4 records, positions 0..%5)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 %2 has no %3 record</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 %2 is an empty record of %3 (record %4 has no name)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 %2 is ambiguous: %3 records of %4 have it (the first is record %5)</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>Numbers</name>
        <message>
            <source>“%1”不是数字</source>
            <translation>“%1” is not a number</translation>
        </message>
        <message>
            <source>%1 超出范围 %2</source>
            <translation>%1 is out of the range of %2</translation>
        </message>
    </context>
    <context>
        <name>Patch</name>
        <message>
            <source>record %1 (occurrence %2)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>record %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>record %1 (occurrence %2) “%3”</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>record %1 “%2”</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: line %2: %3</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>not UTF-8 text (byte %1)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>not a patch: it starts with "%1" and the format's version</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 is no format version</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>format version %1 is not known (this program reads version %2)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>the tables line ("tables" and the tables) must come second</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>unknown table %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 is named twice</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 is not one of the tables of the patch's second line</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>no change: "changed", "added" or "removed" follows the table</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 fields where an order line has 4</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>a save sorts %1: its order is not the patch's to give</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 is no record (KEY#OCCURRENCE)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 is no change: "changed", "added", "removed" or "order"</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 fields where a %2 change of %3 has %4</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 is no occurrence (1, 2, ...)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 is no column of %2 (1 to %3)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 has a fixed set of records: none is added or removed</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 is no row (1, 2, ...)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>empty: not a patch</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>no tables line</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: expected %2, found %3, wanted %4%5</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source> (the patch's value taken)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>(no such record)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 changes to apply, %2 already applied, %3 conflicts</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: no such file in %2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 is read-only: nothing written</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>cannot read %1: %2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>; nothing written</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1: a save would not store the patch's values; nothing written</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>References</name>
        <message>
            <source>，文件未改动</source>
            <translation>; the file is unchanged</translation>
        </message>
        <message>
            <source>保存已取消，文件未改动</source>
            <translation>save cancelled; the file is unchanged</translation>
        </message>
        <message>
            <source>引用 %1 的记录无法随之更新（%2），所有文件均未改动</source>
            <translation>the records that refer to %1 cannot follow it (%2); no file is changed</translation>
        </message>
        <message>
            <source>删除 %1 条</source>
            <translation>%1 deleted</translation>
        </message>
        <message>
            <source>新增 %1 条</source>
            <translation>%1 added</translation>
        </message>
        <message>
            <source>记录位置改变</source>
            <translation>records moved</translation>
        </message>
        <message>
            <source>记录编号改变</source>
            <translation>record numbers changed</translation>
        </message>
        <message>
            <source>%1 %2 处</source>
            <translation>%1 %2</translation>
        </message>
        <message>
            <source>；</source>
            <translation>; </translation>
        </message>
        <message>
            <source>引用将随之更新</source>
            <translation> (references that follow their records)</translation>
        </message>
        <message>
            <source>；%1 处引用被删除的记录将清空（%2）</source>
            <translation>; %1 references to deleted records are cleared (%2)</translation>
        </message>
        <message>
            <source>；%1 处引用的记录已被删除，保持原值（%2）</source>
            <translation>; %1 references name deleted records and are kept as they are (%2)</translation>
        </message>
        <message>
            <source>%1 第 %2 行</source>
            <translation>%1 row %2</translation>
        </message>
        <message>
            <source>（%1）</source>
            <translation> (%1)</translation>
        </message>
        <message>
            <source>第 %1 列</source>
            <translation>, column %1</translation>
        </message>
        <message>
            <source>%1：%2 → %3</source>
            <translation>%1: %2 → %3</translation>
        </message>
        <message>
            <source>%1：%2 → %3（所引用的记录已删除）</source>
            <translation>%1: %2 → %3 (the record it named is deleted)</translation>
        </message>
        <message>
            <source>%1：%2（所引用的记录已删除）</source>
            <translation>%1: %2 (the record it named is deleted)</translation>
        </message>
        <message>
            <source>、</source>
            <translation>, </translation>
        </message>
        <message>
            <source>%1：%2</source>
            <translation>%1: %2</translation>
        </message>
    </context>
    <context>
        <name>Save</name>
        <message>
            <source>，文件未改动</source>
            <translation>; the file is unchanged</translation>
        </message>
        <message>
            <source>%1 在读入之后已被改动（另一个程序或另一次保存），未写入；请重新读入后再改</source>
            <translation>%1 changed after it was read (another program or another save); nothing written, read it again and redo the change</translation>
        </message>
        <message>
            <source>无法把旧版本存入备份历史（%1），%2 未改动</source>
            <translation>cannot put the old version into the backup history (%1); %2 is unchanged</translation>
        </message>
        <message>
            <source>无法建立备份 %1.bak（%2），%1 未改动</source>
            <translation>cannot make the backup %1.bak (%2); %1 is unchanged</translation>
        </message>
        <message>
            <source>%1；备份在 %2.bak</source>
            <translation>%1; the backup is in %2.bak</translation>
        </message>
        <message>
            <source>临时文件 %1 未能删除（下次保存 %2 时会再试）</source>
            <translation>the temporary file %1 could not be removed (the next save of %2 tries again)</translation>
        </message>
        <message>
            <source>%1 另有 %2 个硬链接：那些名称仍是旧内容（新内容只在 %1）</source>
            <translation>%1 has %2 more hard link(s): those names keep the old content (the new content is only in %1)</translation>
        </message>
        <message>
            <source>%1 的所有者未能保留：原为用户 %2、组 %3，现为用户 %4、组 %5</source>
            <translation>the owner of %1 could not be kept: it was user %2, group %3, it is now user %4, group %5</translation>
        </message>
        <message>
            <source>；所有文件均未改动</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法把 %1 的旧版本存入备份历史（%2）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法建立备份 %1.bak（%2）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1；%2 已写入新内容且未能恢复（旧内容在各自的 .bak）</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>TableSave</name>
        <message>
            <source>第 %1 行</source>
            <translation>row %1</translation>
        </message>
        <message>
            <source>第 %1 列</source>
            <translation>, column %1</translation>
        </message>
        <message>
            <source>第 %1 列（%2）</source>
            <translation>, column %1 (%2)</translation>
        </message>
        <message>
            <source>%1 未保存：%2：%3</source>
            <translation>%1 not saved: %2: %3</translation>
        </message>
        <message>
            <source>%1 保存失败：%2</source>
            <translation>%1 was not saved: %2</translation>
        </message>
        <message>
            <source>此表不能保存</source>
            <translation>this table cannot be saved</translation>
        </message>
        <message>
            <source>，文件未改动</source>
            <translation>; the file is unchanged</translation>
        </message>
    </context>
    <context>
        <name>Tables</name>
        <message>
            <source>%1 为只读</source>
            <translation>%1 is read-only</translation>
        </message>
        <message>
            <source>%1：%2</source>
            <translation>%1: %2</translation>
        </message>
        <message>
            <source>第 %1 行第 %2 列</source>
            <translation>row %1, column %2</translation>
        </message>
        <message>
            <source>第 %1 行第 %2 列（%3）</source>
            <translation>row %1, column %2 (%3)</translation>
        </message>
        <message>
            <source>文字过长：%1 字节，此栏最多 %2 字节</source>
            <translation>text too long: %1 bytes, this field holds at most %2</translation>
        </message>
        <message>
            <source>编号只能由单字节字符组成：“%1”不是</source>
            <translation>a code holds single-byte characters only: “%1” is not one</translation>
        </message>
        <message>
            <source>“%1”不是年份：应为 第一年、第二年、第三年、特殊 或年份代码</source>
            <translation>“%1” is no year: 第一年, 第二年, 第三年, 特殊 or a year code</translation>
        </message>
        <message>
            <source>年份 %1 超出范围 %2</source>
            <translation>year %1 is out of the range %2</translation>
        </message>
        <message>
            <source>Producer.tab 中没有制作人“%1”</source>
            <translation>Producer.tab has no producer “%1”</translation>
        </message>
        <message>
            <source>制作人编号 %1 超出范围 %2</source>
            <translation>producer number %1 is out of the range %2</translation>
        </message>
        <message>
            <source>记录过多：最多 32767 条</source>
            <translation>too many records: at most 32767</translation>
        </message>
        <message>
            <source>文件过大：超过 2 GB</source>
            <translation>file too large: over 2 GB</translation>
        </message>
        <message>
            <source>此表固定有 %1 条记录，表中现有 %2 条；请重新载入后再保存</source>
            <translation>this table always has %1 records, it now has %2; reload it before saving</translation>
        </message>
        <message>
            <source>文件只有 %1 字节，容不下 %2 条记录（需 %3 字节）</source>
            <translation>the file has only %1 bytes, too few for %2 records (%3 bytes needed)</translation>
        </message>
        <message>
            <source>文件第 %1 条记录的编号是 %2，此行是“%3”：此表的记录不能增删或改号</source>
            <translation>record %1 of the file has number %2, this row has “%3”: records of this table cannot be added, removed or renumbered</translation>
        </message>
        <message>
            <source>文件尚未读取，没有可保存的数值</source>
            <translation>the file has not been read: there are no values to save</translation>
        </message>
        <message>
            <source>%1 未保存：%2</source>
            <translation>%1 not saved: %2</translation>
        </message>
        <message>
            <source>%1 未保存：%2：%3</source>
            <translation>%1 not saved: %2: %3</translation>
        </message>
        <message>
            <source>%1 保存失败：%2</source>
            <translation>%1 could not be saved: %2</translation>
        </message>
        <message>
            <source>星座 %1 的名称</source>
            <translation>name of constellation %1</translation>
        </message>
        <message>
            <source>星座 %1 的开始月</source>
            <translation>start month of constellation %1</translation>
        </message>
        <message>
            <source>星座 %1 的开始日</source>
            <translation>start day of constellation %1</translation>
        </message>
        <message>
            <source>难度 %1 能力需求 %2 的终点</source>
            <translation>end of ability requirement %2 of difficulty %1</translation>
        </message>
        <message>
            <source>难度 %1 能力需求 %2 的起点</source>
            <translation>start of ability requirement %2 of difficulty %1</translation>
        </message>
        <message>
            <source>能力值 %1</source>
            <translation>ability value %1</translation>
        </message>
        <message>
            <source>%1 的通告期限</source>
            <translation>job deadline of %1</translation>
        </message>
        <message>
            <source>%1 的一周工作</source>
            <translation>work per week of %1</translation>
        </message>
        <message>
            <source>%1 的完成需要</source>
            <translation>time to finish of %1</translation>
        </message>
        <message>
            <source>文件头的记录长度 %1 放不下每条记录的三个数值，数值会互相覆盖</source>
            <translation>the record length %1 in the file header cannot hold the three values of a record: they would overwrite each other</translation>
        </message>
        <message>
            <source>名称有 %1 字节，最多 %2 字节</source>
            <translation>the name has %1 bytes, at most %2</translation>
        </message>
        <message>
            <source>无法读取文件：%1</source>
            <translation>cannot read the file: %1</translation>
        </message>
        <message>
            <source>保存后的文件会被误认作另一种记录格式：请检查此行的名称、性别、年龄和生日</source>
            <translation>the saved file would be read as the other record layout: check this row's name, sex, age and birthday</translation>
        </message>
        <message>
            <source>与另一数值的位置重叠</source>
            <translation>overlaps another value</translation>
        </message>
        <message>
            <source>名称为空</source>
            <translation>the name is empty</translation>
        </message>
        <message>
            <source>此格只写入前两个字节，%1 会读作 %2</source>
            <translation>only the first two bytes of this slot are written: %1 would read back as %2</translation>
        </message>
        <message>
            <source>数值为空</source>
            <translation>the value is empty</translation>
        </message>
    </context>
    <context>
        <name>Tools</name>
        <message>
            <source>cannot create %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>column %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 cannot be unpacked (an unknown compression, or a damaged archive)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 is damaged (its checksum does not match)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 is damaged and cannot be unpacked</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 is encrypted</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 unpacks to %2 bytes, more than the %3 MiB a workbook part may have</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 unpacks to more than the %2 MiB a workbook part may have</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1, line %2: malformed XML: %3</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>a ZIP archive, but neither an XLSX nor an OpenDocument spreadsheet</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>cell %1 comes after a cell to its right</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>cell %1 in row %2 is not a cell of that row within the sheet</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>cell %1%2 holds a formula without its value (let a spreadsheet program compute and save it)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>more than %1 rows</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>more than %1 shared strings</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>no temporary folder for the workbook: %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>not a readable ZIP archive (cut short or damaged)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>row %1 comes after row %2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>row %1 has more than %2 cells</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>row %1 names shared string %2, which the workbook does not have</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>row %1, column %2: </source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>row number %1 is outside the sheet (1 to %2)</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>the entry of %1 in the archive is damaged</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>the workbook cannot be made</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>the workbook cannot be read back: %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>the workbook cannot be written: %1%2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>the text is longer than the %1 characters a cell holds</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>the workbook has no part %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>the workbook has no visible sheet</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>the workbook names no part for its first sheet</source>
            <translation type="unfinished" />
        </message>
    </context>
</TS>
