<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
    <context>
        <name>Backups</name>
        <message>
            <source>无法读取 %1：%2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 是一个符号链接，备份历史不会写到链接所指之处</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 不是文件夹</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法建立文件夹 %1：%2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 没有较早的版本</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 没有编号为 %2 的版本（有：%3）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 不是普通文件</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：%2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法删除备份历史中较早的版本 %1：%2</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>Batch</name>
        <message>
            <source>no column named</source>
            <translation>没有写列名</translation>
        </message>
        <message>
            <source>no column %1 (the table has columns 1 to %2)</source>
            <translation>没有第 %1 列（此表有第 1 到 %2 列）</translation>
        </message>
        <message>
            <source>no column is named %1</source>
            <translation>没有名为 %1 的列</translation>
        </message>
        <message>
            <source>%1 names columns %2: give the column's number</source>
            <translation>%1 是第 %2 列的名称：请写列号</translation>
        </message>
        <message>
            <source>, </source>
            <translation>、</translation>
        </message>
        <message>
            <source>%1 is not a number</source>
            <translation>%1 不是数字</translation>
        </message>
        <message>
            <source>line %1: %2</source>
            <translation>第 %1 行：%2</translation>
        </message>
        <message>
            <source>a set needs '=' (.COLUMN=VALUE)</source>
            <translation>修改指令需要“=”（.列=值）</translation>
        </message>
        <message>
            <source>%1 is not a number (up to 12 digits and 6 decimals)</source>
            <translation>%1 不是数字（最多 12 位整数和 6 位小数）</translation>
        </message>
        <message>
            <source>not an instruction: a line starts with = ! &gt; &lt; ~ (a filter), . (a set) or # (a comment)</source>
            <translation>不是指令：每行以 = ! &gt; &lt; ~（筛选）、.（修改）或 #（注释）开头</translation>
        </message>
        <message>
            <source>a filter needs '=' (%1COLUMN=VALUE)</source>
            <translation>筛选指令需要“=”（%1列=值）</translation>
        </message>
        <message>
            <source>~ needs a text to look for</source>
            <translation>~ 需要要查找的文字</translation>
        </message>
        <message>
            <source>%1: record %2 (row %3), column %4 (%5)</source>
            <translation>%1：记录 %2（第 %3 行），第 %4 列（%5）</translation>
        </message>
        <message>
            <source>, line %1</source>
            <translation>，指令第 %1 行</translation>
        </message>
        <message>
            <source>this table cannot be saved</source>
            <translation>此表不能保存</translation>
        </message>
        <message>
            <source>a save does not store %1 here: the file would read %2</source>
            <translation>保存不会在这里存入 %1：文件读出来会是 %2</translation>
        </message>
        <message>
            <source>a save does not store this record</source>
            <translation>保存不会存入这条记录</translation>
        </message>
        <message>
            <source>; nothing written</source>
            <translation>；未写入任何内容</translation>
        </message>
    </context>
    <context>
        <name>Big5</name>
        <message>
            <source>换行符 %1：此栏只能有一行文字</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>控制字符 %1 无法以 Big5 保存</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>“%1” 无法以 Big5 保存</source>
            <translation type="unfinished" />
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
            <translation>TABLE 是 Team.dat 这样的文件名，不分大小写（'vantaro3-cli tables' 列出全部）。
E 为 utf-8（默认）、gbk 或 big5。FILE 为 - 时读标准输入。
--locale N 设定系统区域 ID（2052 简体，1028 繁体）：它决定表头和栏名所用的
语言文件（CHS.txt 或 CHT.txt）以及文字的写法（在 2052 上简体字写成繁体字）。
它可以写在命令之前，也可以写在命令的选项之间。
--lang L 选择消息的语言：zh_CN（简体）、zh_TW（繁体）或 en；未给出时依
LC_ALL、LC_MESSAGES 或 LANG，再依 --locale 的区域 ID，否则为英文。
</translation>
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
            <translation>退出状态：
  0  成功；diff 没有发现差异，check 和 lint 没有发现问题
  1  有差异或问题：diff 发现差异；check 发现保存后字节会改变的表、保存会拒绝
     的表或中断的保存留下的文件；lint 发现问题；apply 发现冲突
  2  用法错误：未知的命令、选项或表，缺少或多出参数，选项的值不对
  3  无法读取或写入的文件或文件夹（包括标准输出：设备已满、管道已关闭），
     不含游戏数据文件的文件夹，不存在的表，被拒绝的 CSV 或导出，
     被拒绝或失败的保存
</translation>
        </message>
        <message>
            <source>Usage: vantaro3-cli [--locale N] [--lang L] COMMAND [ARGUMENT ...] [OPTION ...]
       vantaro3-cli help COMMAND     (or: COMMAND --help, COMMAND -h)
       vantaro3-cli --help | --version

Loads and saves the game's data tables with the same routines as the editor.
Options take their value as --option VALUE or --option=VALUE.

Commands:
</source>
            <translation>用法：vantaro3-cli [--locale N] [--lang L] COMMAND [ARGUMENT ...] [OPTION ...]
      vantaro3-cli help COMMAND     （或：COMMAND --help、COMMAND -h）
      vantaro3-cli --help | --version

以与编辑器相同的程序读取和保存游戏的数据表。
选项的值写作 --option VALUE 或 --option=VALUE。

命令：
</translation>
        </message>
        <message>
            <source>Usage: vantaro3-cli [--locale N] [--lang L] %1

</source>
            <translation>用法：vantaro3-cli [--locale N] [--lang L] %1

</translation>
        </message>
        <message>
            <source>the system locale id (see 'vantaro3-cli --help')</source>
            <translation>系统区域 ID（见 'vantaro3-cli --help'）</translation>
        </message>
        <message>
            <source>the language of messages: zh_CN, zh_TW or en</source>
            <translation>消息的语言：zh_CN、zh_TW 或 en</translation>
        </message>
        <message>
            <source>show this help</source>
            <translation>显示此帮助</translation>
        </message>
        <message>
            <source>Try '%1 --help'.</source>
            <translation>请试试 '%1 --help'。</translation>
        </message>
        <message>
            <source>Try '%1 help %2'.</source>
            <translation>请试试 '%1 help %2'。</translation>
        </message>
        <message>
            <source>unknown locale id "%1" (known: %2)</source>
            <translation>未知的区域 ID “%1”（已知：%2）</translation>
        </message>
        <message>
            <source>unknown language "%1" (zh_CN, zh_TW or en)</source>
            <translation>未知的语言 “%1”（zh_CN、zh_TW 或 en）</translation>
        </message>
        <message>
            <source>the language of messages</source>
            <translation>消息的语言</translation>
        </message>
        <message>
            <source>system locale id</source>
            <translation>系统区域 ID</translation>
        </message>
        <message>
            <source>show the help</source>
            <translation>显示帮助</translation>
        </message>
        <message>
            <source>missing %1</source>
            <translation>缺少 %1</translation>
        </message>
        <message>
            <source>unexpected argument "%1"</source>
            <translation>多余的参数 “%1”</translation>
        </message>
        <message>
            <source>%1: cannot write %2: %3</source>
            <translation>%1：无法写入%2：%3</translation>
        </message>
        <message>
            <source>to standard output</source>
            <translation>标准输出</translation>
        </message>
        <message>
            <source>standard input</source>
            <translation>标准输入</translation>
        </message>
        <message>
            <source>cannot read standard input: %1</source>
            <translation>无法读取标准输入：%1</translation>
        </message>
        <message>
            <source>cannot read %1: %2</source>
            <translation>无法读取 %1：%2</translation>
        </message>
        <message>
            <source>show the version</source>
            <translation>显示版本</translation>
        </message>
        <message>
            <source>no command</source>
            <translation>没有给出命令</translation>
        </message>
        <message>
            <source>help takes one COMMAND</source>
            <translation>help 只接受一个命令</translation>
        </message>
        <message>
            <source>unknown command: %1</source>
            <translation>未知的命令：%1</translation>
        </message>
        <message>
            <source>vantaro3-cli: warning: %1</source>
            <translation>vantaro3-cli：警告：%1</translation>
        </message>
        <message>
            <source>no such folder: %1</source>
            <translation>文件夹不存在：%1</translation>
        </message>
        <message>
            <source>%1 is not a folder</source>
            <translation>%1 不是文件夹</translation>
        </message>
        <message>
            <source>cannot read the folder %1</source>
            <translation>无法读取文件夹 %1</translation>
        </message>
        <message>
            <source>%1 holds none of the game's data files</source>
            <translation>%1 中没有游戏的任何数据文件</translation>
        </message>
        <message>
            <source>%1: no such file in %2</source>
            <translation>%1：%2 中没有这个文件</translation>
        </message>
        <message>
            <source>unknown table: %1 (see 'vantaro3-cli tables')</source>
            <translation>未知的表：%1（见 'vantaro3-cli tables'）</translation>
        </message>
        <message numerus="yes">
            <source>%1: identical (%n record(s))
</source>
            <translation>
                <numerusform>%1：完全相同（%n 条记录）
</numerusform>
            </translation>
        </message>
        <message>
            <source>%1: differs at offset %2 (0x%3; file %4 bytes, saved %5 bytes)
</source>
            <translation>%1：在偏移 %2 处不同（0x%3；文件 %4 字节，保存后 %5 字节）
</translation>
        </message>
        <message>
            <source>unknown encoding %1 (utf-8, gbk or big5)</source>
            <translation>未知的编码 %1（utf-8、gbk 或 big5）</translation>
        </message>
        <message>
            <source>--bom is for UTF-8 only</source>
            <translation>--bom 只用于 UTF-8</translation>
        </message>
        <message>
            <source>export of %1</source>
            <translation>%1 的导出</translation>
        </message>
        <message>
            <source>the CSV of %1</source>
            <translation>%1 的 CSV</translation>
        </message>
        <message numerus="yes">
            <source>%1: %n record(s) saved%2</source>
            <translation>
                <numerusform>%1：已保存 %n 条记录%2</numerusform>
            </translation>
        </message>
        <message>
            <source> (unchanged)</source>
            <translation>（未改变）</translation>
        </message>
        <message>
            <source>(give --allow-empty to empty the table)</source>
            <translation>（要清空此表，请加上 --allow-empty）</translation>
        </message>
        <message>
            <source>%1 is read-only: nothing written</source>
            <translation>%1 是只读的：未写入任何内容</translation>
        </message>
        <message numerus="yes">
            <source>%1: %n record(s) saved</source>
            <translation>
                <numerusform>%1：已保存 %n 条记录</numerusform>
            </translation>
        </message>
        <message>
            <source>%1: missing
</source>
            <translation>%1：不存在
</translation>
        </message>
        <message>
            <source>%1: cannot be read: %2
</source>
            <translation>%1：无法读取：%2
</translation>
        </message>
        <message>
            <source>%1: would be refused: %2
</source>
            <translation>%1：保存会被拒绝：%2
</translation>
        </message>
        <message numerus="yes">
            <source>%1: read-only, %n record(s) loaded
</source>
            <translation>
                <numerusform>%1：只读，已读入 %n 条记录
</numerusform>
            </translation>
        </message>
        <message>
            <source>%1: temporary file left by an interrupted save: %2 (the next save of %1 removes it)
</source>
            <translation>%1：中断的保存留下的临时文件：%2（下次保存 %1 时会删除它）
</translation>
        </message>
        <message>
            <source>no findings</source>
            <translation>没有发现问题</translation>
        </message>
        <message numerus="yes">
            <source>%n finding(s)</source>
            <translation>
                <numerusform>发现 %n 个问题</numerusform>
            </translation>
        </message>
        <message>
            <source>the list</source>
            <translation>列表</translation>
        </message>
        <message>
            <source>no earlier versions</source>
            <translation>没有较早的版本</translation>
        </message>
        <message>
            <source>restore: %1</source>
            <translation>restore：%1</translation>
        </message>
        <message>
            <source>%1 not restored: %2</source>
            <translation>%1 未恢复：%2</translation>
        </message>
        <message>
            <source>%1: version %2 (%3) restored</source>
            <translation>%1：已恢复版本 %2（%3）</translation>
        </message>
        <message>
            <source>bad value for --seed: %1</source>
            <translation>--seed 的值不对：%1</translation>
        </message>
        <message>
            <source>bad value for --records: %1 (1 to %2)</source>
            <translation>--records 的值不对：%1（应为 1 到 %2）</translation>
        </message>
        <message>
            <source>sample: %1 already holds %2; choose an empty folder, or give --force to replace them</source>
            <translation>sample：%1 中已有 %2；请选一个空文件夹，或加上 --force 替换它们</translation>
        </message>
        <message>
            <source>sample: %1</source>
            <translation>sample：%1</translation>
        </message>
        <message>
            <source>sample data folder written: %1</source>
            <translation>已写好示例数据文件夹：%1</translation>
        </message>
        <message numerus="yes">
            <source>%1	%n column(s), read-only
</source>
            <translation>
                <numerusform>%1	%n 栏，只读
</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%1	%n column(s)
</source>
            <translation>
                <numerusform>%1	%n 栏
</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%1	%n column(s), patched in place
</source>
            <translation>
                <numerusform>%1	%n 栏，就地修改
</numerusform>
            </translation>
        </message>
        <message>
            <source>the CSV's encoding: utf-8 (the default), gbk or big5</source>
            <translation>CSV 的编码：utf-8（默认）、gbk 或 big5</translation>
        </message>
        <message>
            <source>a UTF-8 byte order mark first (for spreadsheet programs)</source>
            <translation>开头写 UTF-8 字节顺序标记（供电子表格程序使用）</translation>
        </message>
        <message>
            <source>the column headers of the language file first</source>
            <translation>开头写语言文件中的栏名</translation>
        </message>
        <message>
            <source>Write TABLE of the data folder as CSV (or an XLSX workbook) to standard output.</source>
            <translation>把数据文件夹中的 TABLE 以 CSV（或 XLSX 工作簿）写到标准输出。</translation>
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
            <translation>每条记录一行，各栏按表格的顺序（独立的表：其窗口显示的数值）。编码容不下的
字符会中止导出，并指出其行和栏。使用 --spreadsheet-safe 时，电子表格程序会转换为数字、日期或公式的单元格（前导零、
长数字串、1/2、3e5、=1+1）都写成 ="…"；导入时再去掉这层保护。
使用 --format xlsx 时改写 XLSX 工作簿：冻结的标题行，文字栏为文本单元格，数字栏为数字，
列表栏（旗标、年份、规模、制作人）带有其下拉列表。</translation>
        </message>
        <message>
            <source>a CSV without records empties the table</source>
            <translation>没有记录的 CSV 会清空此表</translation>
        </message>
        <message>
            <source>Replace TABLE's records with FILE's, CSV or a workbook (- for standard input), and save it.</source>
            <translation>用 FILE（CSV 或工作簿；- 为标准输入）中的记录替换 TABLE 的记录并保存。</translation>
        </message>
        <message>
            <source>Load and save each table in memory; report whether its bytes stay identical.</source>
            <translation>在内存中读入并保存每个表，报告其字节是否保持不变。</translation>
        </message>
        <message>
            <source>Without TABLE every table of the folder; one that is not there is listed as
missing. Temporary files left by an interrupted save are reported too.</source>
            <translation>不给出 TABLE 时检查文件夹中的每个表；不存在的表列为不存在。中断的保存留下的
临时文件也会报告。</translation>
        </message>
        <message>
            <source>write table,record,occurrence,change,column,column name,old,new</source>
            <translation>写出 table,record,occurrence,change,column,column name,old,new</translation>
        </message>
        <message>
            <source>Record-level differences between two data folders.</source>
            <translation>两个数据文件夹之间逐条记录的差异。</translation>
        </message>
        <message>
            <source>Records are matched by number (and occurrence); added and removed records are
listed, changed cells as "column: old → new".</source>
            <translation>记录按编号（及出现次序）配对；列出增加和删除的记录，改变的格写作
“栏：旧 → 新”。</translation>
        </message>
        <message>
            <source>Report what the game would trip over, with table, row and column.</source>
            <translation>报告游戏会出错的地方，指出表、行和栏。</translation>
        </message>
        <message>
            <source>Team members and firm artists past the end of StarRole.dat, producer numbers
without a Producer.tab record, repeated record numbers, cells a save would
refuse, Active.tab and Pression.tab without their 9 and 99 records.</source>
            <translation>超出 StarRole.dat 末尾的团体成员和公司艺人、Producer.tab 中没有记录的制作人
编号、重复的记录编号、保存会拒绝的格、缺少 9 条和 99 条记录的 Active.tab
和 Pression.tab。</translation>
        </message>
        <message>
            <source>List the earlier versions each save kept, newest first.</source>
            <translation>列出每次保存留下的较早版本，最新的在前。</translation>
        </message>
        <message>
            <source>One line each (in FOLDER/Vantaro3Backups): id, date and time, size in bytes
(and the table, when no TABLE is given). Config.ini's BackupVersions= sets
how many are kept.</source>
            <translation>每个一行（在 FOLDER/Vantaro3Backups 中）：编号、日期时间、字节数（不给出
TABLE 时还有表名）。保留几个由 Config.ini 的 BackupVersions= 决定。</translation>
        </message>
        <message>
            <source>Put version ID of TABLE back.</source>
            <translation>恢复 TABLE 的版本 ID。</translation>
        </message>
        <message>
            <source>This is a save: the file it replaces goes into the history and TABLE.bak first.</source>
            <translation>这是一次保存：被替换的文件先存入备份历史和 TABLE.bak。</translation>
        </message>
        <message>
            <source>the seed of the made-up values (default 1)</source>
            <translation>生成数值的种子（默认 1）</translation>
        </message>
        <message>
            <source>records per table, 1 to 32767 (default 20)</source>
            <translation>每个表的记录数，1 到 32767（默认 20）</translation>
        </message>
        <message>
            <source>replace the game's files in OUTDIR</source>
            <translation>替换 OUTDIR 中游戏的文件</translation>
        </message>
        <message>
            <source>Write a sample data folder with every table.</source>
            <translation>写出一个含有每个表的示例数据文件夹。</translation>
        </message>
        <message>
            <source>A folder that holds any of the game's files is refused unless --force is given.</source>
            <translation>含有游戏文件的文件夹会被拒绝，除非加上 --force。</translation>
        </message>
        <message>
            <source>List the tables.</source>
            <translation>列出各个表。</translation>
        </message>
        <message>
            <source>Options:
</source>
            <translation>选项：
</translation>
        </message>
        <message>
            <source>vantaro3-cli: warning: no column headers for %1: %2 is missing; the header line is empty</source>
            <translation>vantaro3-cli：警告：%1 没有栏名：缺少 %2；表头行是空的</translation>
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
            <translation>保存与编辑器相同：TABLE.bak 和备份历史保留旧文件；独立表像其窗口一样就地修改。以下情况拒绝导入，不写任何文件：CSV 的编码无效（指出所在行和字节）、某行的字段数不对、某个单元格无法存入、CSV 没有记录（除非给出 --allow-empty）。第一行若是该表任一种文字的标题行则跳过，UTF-8 字节顺序标记也跳过；全为空字段的行和空行跳过并计数。分隔符（逗号、分号或制表符）从第一行识别，除非由 --delimiter 指定。每次导入都说明修改、新增、删除和未变的记录数；会删除记录的导入被拒绝，除非给出 --allow-removal（或 --allow-empty）。同样拒绝：保存不写入的列中改动的单元格（Active.tab 和 Pression.tab 保留第 2–3 列）、独立表的行与导出时顺序不同（按位置对应）、无法分辨是哪条记录的重复编号的行。TABLE 的记录被删除、新增或移动时，按位置引用它们的表（Team.dat 和 Firm.dat 引用 StarRole.dat）在同一次保存中一并更新，所有文件要么全部写入，要么全部不变：引用跟随其记录，引用已删除记录的变为 -1；改变的内容先告知。</translation>
        </message>
        <message>
            <source>write table,row,record,record name,column,column name,reason</source>
            <translation>写出 table,row,record,record name,column,column name,reason</translation>
        </message>
        <message>
            <source>%1: %2 changed, %3 added, %4 removed, %5 unchanged</source>
            <translation>%1：修改 %2 条，新增 %3 条，删除 %4 条，未变 %5 条</translation>
        </message>
        <message numerus="yes">
            <source> (%n blank row(s) skipped)</source>
            <translation>
                <numerusform>（跳过 %n 个空行）</numerusform>
            </translation>
        </message>
        <message>
            <source>%1: line %2: this row is record %3 of %4, which is matched by position: the rows are not in the order of the export; nothing written</source>
            <translation>%1：第 %2 行：这一行是 %4 的第 %3 条记录，而此表按位置对应：各行不是导出时的顺序；未写入任何内容</translation>
        </message>
        <message>
            <source>the changes</source>
            <translation>变更内容</translation>
        </message>
        <message>
            <source> (dry run: nothing written)</source>
            <translation>（试运行：未写入任何内容）</translation>
        </message>
        <message>
            <source>%1: line %2: %3 has several records numbered %4 and this row gives none of them back as exported: which one it is cannot be told; nothing written</source>
            <translation>%1：第 %2 行：%3 有多条编号为 %4 的记录，这一行与导出时的任何一条都不同，无法确定它是哪一条；未写入任何内容</translation>
        </message>
        <message>
            <source>%1: line %2, column %3 (%4): %5; nothing written</source>
            <translation>%1：第 %2 行，第 %3 栏（%4）：%5；未写入任何内容</translation>
        </message>
        <message>
            <source>%1: line %2 (%3), column %4 (%5): %6; nothing written</source>
            <translation>%1：第 %2 行（%3），第 %4 栏（%5）：%6；未写入任何内容</translation>
        </message>
        <message numerus="yes">
            <source>%1: the CSV would remove %n record(s): give --allow-removal to remove them; nothing written</source>
            <translation>
                <numerusform>%1：此 CSV 将删除 %n 条记录：要删除它们，请加上 --allow-removal；未写入任何内容</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%1: the CSV would remove %n record(s): an import needs --allow-removal</source>
            <translation>
                <numerusform>%1：此 CSV 将删除 %n 条记录：导入时需加上 --allow-removal</numerusform>
            </translation>
        </message>
        <message>
            <source>unknown delimiter %1 (",", ";" or tab)</source>
            <translation>未知的分隔符 %1（“,”、“;”或 tab）</translation>
        </message>
        <message>
            <source>the field delimiter: "," (the default), ";" or tab</source>
            <translation>栏位分隔符：“,”（默认）、“;”或 tab</translation>
        </message>
        <message>
            <source>text cells as ="…", which spreadsheet programs keep as text</source>
            <translation>文本单元格写成 ="…"，电子表格程序会将其保留为文本</translation>
        </message>
        <message>
            <source>let the CSV remove the records it does not hold</source>
            <translation>允许删除 CSV 中没有的记录</translation>
        </message>
        <message>
            <source>%1: %2 records matched, %3 cells changed%4</source>
            <translation>%1：选中 %2 条记录，修改 %3 个单元格%4</translation>
        </message>
        <message>
            <source> (%1 brought into range)</source>
            <translation>（%1 个取了最接近的可保存值）</translation>
        </message>
        <message>
            <source>%1 refused: nothing written</source>
            <translation>%1 被拒绝：未写入任何内容</translation>
        </message>
        <message>
            <source>; nothing written</source>
            <translation>；未写入任何内容</translation>
        </message>
        <message>
            <source>: nothing written</source>
            <translation>：未写入任何内容</translation>
        </message>
        <message>
            <source>%1: line %2: not UTF-8 text</source>
            <translation>%1：第 %2 行：不是 UTF-8 文本</translation>
        </message>
        <message>
            <source>%1: %2</source>
            <translation>%1：%2</translation>
        </message>
        <message>
            <source>conflict: </source>
            <translation>冲突：</translation>
        </message>
        <message>
            <source>nothing written: %1 changes find no record to change</source>
            <translation>未写入任何内容：有 %1 处修改找不到要修改的记录</translation>
        </message>
        <message>
            <source>nothing written (--force takes the patch's values)</source>
            <translation>未写入任何内容（--force 采用补丁的值）</translation>
        </message>
        <message>
            <source>patch not applied: %1</source>
            <translation>补丁未应用：%1</translation>
        </message>
        <message>
            <source>%1: saved</source>
            <translation>%1：已保存</translation>
        </message>
        <message>
            <source>write the differences as a patch that 'apply' carries out</source>
            <translation>把差别写成可用 'apply' 应用的补丁</translation>
        </message>
        <message>
            <source>--encoding, --delimiter, --bom and --spreadsheet-safe are for CSV; a workbook keeps its text cells as text</source>
            <translation>--encoding、--delimiter、--bom 和 --spreadsheet-safe 只用于 CSV；工作簿本身就把文字单元格保持为文本</translation>
        </message>
        <message>
            <source>a workbook is not written to a terminal: redirect the output into a file</source>
            <translation>工作簿不写到终端：请把输出重定向到文件</translation>
        </message>
        <message>
            <source>csv (the default) or xlsx, a workbook</source>
            <translation>csv（默认）或 xlsx（工作簿）</translation>
        </message>
        <message>
            <source>the workbook of %1</source>
            <translation>%1 的工作簿</translation>
        </message>
        <message>
            <source>unknown format %1 (csv or xlsx)</source>
            <translation>未知的格式 %1（csv 或 xlsx）</translation>
        </message>
    </context>
    <context>
        <name>Diff</name>
        <message>
            <source>record %1</source>
            <translation>记录 %1</translation>
        </message>
        <message>
            <source> (occurrence %1)</source>
            <translation>（第 %1 个）</translation>
        </message>
        <message>
            <source> “%1”</source>
            <translation>“%1”</translation>
        </message>
        <message>
            <source>%1: cannot be read in the first folder: %2
</source>
            <translation>%1：第一个文件夹中的无法读取：%2
</translation>
        </message>
        <message>
            <source>%1: cannot be read in the second folder: %2
</source>
            <translation>%1：第二个文件夹中的无法读取：%2
</translation>
        </message>
        <message>
            <source>%1: only in the second folder
</source>
            <translation>%1：只在第二个文件夹中
</translation>
        </message>
        <message>
            <source>%1: only in the first folder
</source>
            <translation>%1：只在第一个文件夹中
</translation>
        </message>
        <message>
            <source>%1: %2 added: %3
</source>
            <translation>%1：%2 已增加：%3
</translation>
        </message>
        <message>
            <source>%1: %2 removed: %3
</source>
            <translation>%1：%2 已删除：%3
</translation>
        </message>
        <message>
            <source>%1: bytes outside the fields of %2 changed
</source>
            <translation>%1：%2 各栏以外的字节已改变
</translation>
        </message>
        <message>
            <source>%1: %2: %3: %4 → %5 (display only: the record's bytes are the same)
</source>
            <translation>%1：%2：%3：%4 → %5（只是显示不同：记录的字节相同）
</translation>
        </message>
        <message>
            <source>%1: %2: %3: %4 → %5
</source>
            <translation>%1：%2：%3：%4 → %5
</translation>
        </message>
        <message>
            <source>%1: the records are in another order
</source>
            <translation>%1：记录的次序不同
</translation>
        </message>
        <message>
            <source>%1: bytes outside every record changed
</source>
            <translation>%1：所有记录以外的字节已改变
</translation>
        </message>
    </context>
    <context>
        <name>Disk</name>
        <message>
            <source>%1 %2：%3</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>磁盘已满</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>超出磁盘配额</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>磁盘读写错误</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>没有访问权限</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>不允许此操作</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文件系统为只读</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文件或文件夹不存在</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>路径中有一项不是文件夹</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>这是一个文件夹</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文件过大</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>打开的文件过多</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>系统中打开的文件过多</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文件名过长</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>设备或资源正忙</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文件正被使用</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>不在同一文件系统</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>操作被中断</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>内存不足</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>符号链接层数过多</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>资源暂时不可用</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>网络文件已失效</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>设备不存在</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>参数无效</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文件已存在</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文件句柄无效</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>不支持此操作</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>操作超时</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>连接被重置</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>系统错误 %1（%2）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>系统错误 %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法打开</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法读取</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法读取 %1：这是一个文件夹，不是文件</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法读取 %1：这不是普通文件</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法读取 %1：文件过大（%2 字节）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法读取（关闭文件时出错）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法完整读取 %1：读到 %2 字节，文件有 %3 字节</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 是只读文件（权限 %2），未改动；要保存它，先使它可写（例如 chmod u+w %3）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法删除中断的保存留下的临时文件</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法打开文件夹</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>另一个程序正在保存 %1 中的文件（等候 %2 秒后仍未结束），未写入；请稍后再试</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法锁定文件夹</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法写入</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法写入 %1：这是一个文件夹</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法写入 %1：这不是普通文件</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>，原文件未改动</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法在文件夹中建立新文件以写入</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法将新内容写到磁盘</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>写入 %1 不完整：写入 %2 字节，磁盘上只有 %3 字节</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>（关闭文件时出错）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法用新内容替换</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法将 %1 所在文件夹的更新写到磁盘：%2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>，未建立文件</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>；新内容已换入，但可能没有写到磁盘</source>
            <translation type="unfinished" />
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
            <translation>中断的保存留下的临时文件：%1（下次保存 %2 时会删除）</translation>
        </message>
        <message>
            <source>cannot be read: %1</source>
            <translation>无法读取：%1</translation>
        </message>
        <message>
            <source>record number %1 occurs again (first in row %2)</source>
            <translation>记录编号 %1 重复出现（第一次在第 %2 行）</translation>
        </message>
        <message>
            <source>holds %1 records; the game reads exactly %2</source>
            <translation>有 %1 条记录；游戏只读取正好 %2 条</translation>
        </message>
        <message>
            <source>is %1 bytes long; its %2 records need %3 (it ends inside record %4)</source>
            <translation>长 %1 字节；%2 条记录需要 %3 字节（文件在第 %4 条记录中结束）</translation>
        </message>
        <message>
            <source>a save would refuse it: %1</source>
            <translation>保存会拒绝：%1</translation>
        </message>
        <message>
            <source>%1: row %2 (record %3, %4)</source>
            <translation>%1：第 %2 行（记录 %3，%4）</translation>
        </message>
        <message>
            <source>%1: row %2 (record %3)</source>
            <translation>%1：第 %2 行（记录 %3）</translation>
        </message>
        <message>
            <source>%1: row %2</source>
            <translation>%1：第 %2 行</translation>
        </message>
        <message>
            <source>%1, column %2 (%3)</source>
            <translation>%1，第 %2 列（%3）</translation>
        </message>
        <message>
            <source>%1: %2</source>
            <translation>%1：%2</translation>
        </message>
        <message>
            <source>star</source>
            <translation>艺人</translation>
        </message>
        <message>
            <source>producer</source>
            <translation>制作人</translation>
        </message>
        <message>
            <source>job</source>
            <translation>通告</translation>
        </message>
        <message>
            <source>record</source>
            <translation>记录</translation>
        </message>
        <message>
            <source>%1 is no %2 (a position in %3, %4 for none)</source>
            <translation>%1 不是%2（应为 %3 中的位置，%4 表示没有）</translation>
        </message>
        <message>
            <source>%1 is no %2 (positions in %3 start at 0, %4 is none)</source>
            <translation>%1 不是%2（%3 中的位置从 0 开始，%4 表示没有）</translation>
        </message>
        <message>
            <source>%1 %2 is past the end of %3 (%4 records, positions 0..%5)</source>
            <translation>%1 %2 超出 %3 的末尾（%4 条记录，位置 0..%5）</translation>
        </message>
        <message>
            <source>%1 %2 has no %3 record</source>
            <translation>%1 %2 在 %3 中没有记录</translation>
        </message>
        <message>
            <source>%1 %2 is an empty record of %3 (record %4 has no name)</source>
            <translation>%1 %2 是 %3 中的空记录（记录 %4 没有名称）</translation>
        </message>
        <message>
            <source>%1 %2 is ambiguous: %3 records of %4 have it (the first is record %5)</source>
            <translation>%1 %2 不明确：%4 中有 %3 条记录使用它（第一条是记录 %5）</translation>
        </message>
    </context>
    <context>
        <name>Numbers</name>
        <message>
            <source>“%1”不是数字</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 超出范围 %2</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>Patch</name>
        <message>
            <source>record %1 (occurrence %2)</source>
            <translation>记录 %1（第 %2 次出现）</translation>
        </message>
        <message>
            <source>record %1</source>
            <translation>记录 %1</translation>
        </message>
        <message>
            <source>record %1 (occurrence %2) “%3”</source>
            <translation>记录 %1（第 %2 次出现）“%3”</translation>
        </message>
        <message>
            <source>record %1 “%2”</source>
            <translation>记录 %1“%2”</translation>
        </message>
        <message>
            <source>%1: line %2: %3</source>
            <translation>%1：第 %2 行：%3</translation>
        </message>
        <message>
            <source>not UTF-8 text (byte %1)</source>
            <translation>不是 UTF-8 文字（第 %1 字节）</translation>
        </message>
        <message>
            <source>not a patch: it starts with "%1" and the format's version</source>
            <translation>不是补丁：补丁以“%1”和格式版本开头</translation>
        </message>
        <message>
            <source>%1 is no format version</source>
            <translation>%1 不是格式版本</translation>
        </message>
        <message>
            <source>format version %1 is not known (this program reads version %2)</source>
            <translation>不认识格式版本 %1（本程序读取版本 %2）</translation>
        </message>
        <message>
            <source>the tables line ("tables" and the tables) must come second</source>
            <translation>第二行必须是表的列表（“tables”和各表）</translation>
        </message>
        <message>
            <source>unknown table %1</source>
            <translation>未知的表 %1</translation>
        </message>
        <message>
            <source>%1 is named twice</source>
            <translation>%1 出现了两次</translation>
        </message>
        <message>
            <source>%1 is not one of the tables of the patch's second line</source>
            <translation>%1 不在补丁第二行列出的表中</translation>
        </message>
        <message>
            <source>no change: "changed", "added" or "removed" follows the table</source>
            <translation>没有修改：表名后面应为“changed”“added”或“removed”</translation>
        </message>
        <message>
            <source>%1 fields where an order line has 4</source>
            <translation>有 %1 个字段，顺序行应有 4 个</translation>
        </message>
        <message>
            <source>a save sorts %1: its order is not the patch's to give</source>
            <translation>保存时 %1 会排序：补丁不能指定它的顺序</translation>
        </message>
        <message>
            <source>%1 is no record (KEY#OCCURRENCE)</source>
            <translation>%1 不是记录（编号#第几次出现）</translation>
        </message>
        <message>
            <source>%1 is no change: "changed", "added", "removed" or "order"</source>
            <translation>%1 不是修改：应为“changed”“added”“removed”或“order”</translation>
        </message>
        <message>
            <source>%1 fields where a %2 change of %3 has %4</source>
            <translation>有 %1 个字段，%3 的 %2 修改应有 %4 个</translation>
        </message>
        <message>
            <source>%1 is no occurrence (1, 2, ...)</source>
            <translation>%1 不是出现次数（1、2……）</translation>
        </message>
        <message>
            <source>%1 is no column of %2 (1 to %3)</source>
            <translation>%1 不是 %2 的列（1 到 %3）</translation>
        </message>
        <message>
            <source>%1 has a fixed set of records: none is added or removed</source>
            <translation>%1 的记录是固定的：不能增加或删除</translation>
        </message>
        <message>
            <source>%1 is no row (1, 2, ...)</source>
            <translation>%1 不是行号（1、2……）</translation>
        </message>
        <message>
            <source>empty: not a patch</source>
            <translation>空的：不是补丁</translation>
        </message>
        <message>
            <source>no tables line</source>
            <translation>没有表的列表行</translation>
        </message>
        <message>
            <source>%1: expected %2, found %3, wanted %4%5</source>
            <translation>%1：应为 %2，实际是 %3，补丁要改为 %4%5</translation>
        </message>
        <message>
            <source> (the patch's value taken)</source>
            <translation>（已采用补丁的值）</translation>
        </message>
        <message>
            <source>(no such record)</source>
            <translation>（没有这条记录）</translation>
        </message>
        <message>
            <source>%1 changes to apply, %2 already applied, %3 conflicts</source>
            <translation>%1 处修改可以应用，%2 处已经应用，%3 处冲突</translation>
        </message>
        <message>
            <source>%1: no such file in %2</source>
            <translation>%1：%2 中没有这个文件</translation>
        </message>
        <message>
            <source>%1 is read-only: nothing written</source>
            <translation>%1 是只读的：未写入任何内容</translation>
        </message>
        <message>
            <source>cannot read %1: %2</source>
            <translation>无法读取 %1：%2</translation>
        </message>
        <message>
            <source>; nothing written</source>
            <translation>；未写入任何内容</translation>
        </message>
        <message>
            <source>%1: a save would not store the patch's values; nothing written</source>
            <translation>%1：保存不会存入补丁的值；未写入任何内容</translation>
        </message>
    </context>
    <context>
        <name>References</name>
        <message>
            <source>，文件未改动</source>
            <translation>，文件未改动</translation>
        </message>
        <message>
            <source>保存已取消，文件未改动</source>
            <translation>保存已取消，文件未改动</translation>
        </message>
        <message>
            <source>引用 %1 的记录无法随之更新（%2），所有文件均未改动</source>
            <translation>引用 %1 的记录无法随之更新（%2），所有文件均未改动</translation>
        </message>
        <message>
            <source>删除 %1 条</source>
            <translation>删除 %1 条</translation>
        </message>
        <message>
            <source>新增 %1 条</source>
            <translation>新增 %1 条</translation>
        </message>
        <message>
            <source>记录位置改变</source>
            <translation>记录位置改变</translation>
        </message>
        <message>
            <source>记录编号改变</source>
            <translation>记录编号改变</translation>
        </message>
        <message>
            <source>%1 %2 处</source>
            <translation>%1 %2 处</translation>
        </message>
        <message>
            <source>；</source>
            <translation>；</translation>
        </message>
        <message>
            <source>引用将随之更新</source>
            <translation>引用将随之更新</translation>
        </message>
        <message>
            <source>；%1 处引用被删除的记录将清空（%2）</source>
            <translation>；%1 处引用被删除的记录将清空（%2）</translation>
        </message>
        <message>
            <source>；%1 处引用的记录已被删除，保持原值（%2）</source>
            <translation>；%1 处引用的记录已被删除，保持原值（%2）</translation>
        </message>
        <message>
            <source>%1 第 %2 行</source>
            <translation>%1 第 %2 行</translation>
        </message>
        <message>
            <source>（%1）</source>
            <translation>（%1）</translation>
        </message>
        <message>
            <source>第 %1 列</source>
            <translation>第 %1 列</translation>
        </message>
        <message>
            <source>%1：%2 → %3</source>
            <translation>%1：%2 → %3</translation>
        </message>
        <message>
            <source>%1：%2 → %3（所引用的记录已删除）</source>
            <translation>%1：%2 → %3（所引用的记录已删除）</translation>
        </message>
        <message>
            <source>%1：%2（所引用的记录已删除）</source>
            <translation>%1：%2（所引用的记录已删除）</translation>
        </message>
        <message>
            <source>、</source>
            <translation>、</translation>
        </message>
        <message>
            <source>%1：%2</source>
            <translation>%1：%2</translation>
        </message>
    </context>
    <context>
        <name>Save</name>
        <message>
            <source>，文件未改动</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 在读入之后已被改动（另一个程序或另一次保存），未写入；请重新读入后再改</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法把旧版本存入备份历史（%1），%2 未改动</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法建立备份 %1.bak（%2），%1 未改动</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1；备份在 %2.bak</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>临时文件 %1 未能删除（下次保存 %2 时会再试）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 另有 %2 个硬链接：那些名称仍是旧内容（新内容只在 %1）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 的所有者未能保留：原为用户 %2、组 %3，现为用户 %4、组 %5</source>
            <translation type="unfinished" />
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
            <translation type="unfinished" />
        </message>
        <message>
            <source>第 %1 列</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>第 %1 列（%2）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 未保存：%2：%3</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 保存失败：%2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>此表不能保存</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>，文件未改动</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>Tables</name>
        <message>
            <source>%1 为只读</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1：%2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>第 %1 行第 %2 列</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>第 %1 行第 %2 列（%3）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文字过长：%1 字节，此栏最多 %2 字节</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>编号只能由单字节字符组成：“%1”不是</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>“%1”不是年份：应为 第一年、第二年、第三年、特殊 或年份代码</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>年份 %1 超出范围 %2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>Producer.tab 中没有制作人“%1”</source>
            <translation>Producer.tab 中没有制作人“%1”</translation>
        </message>
        <message>
            <source>制作人编号 %1 超出范围 %2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>记录过多：最多 32767 条</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文件过大：超过 2 GB</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>此表固定有 %1 条记录，表中现有 %2 条；请重新载入后再保存</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文件只有 %1 字节，容不下 %2 条记录（需 %3 字节）</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文件第 %1 条记录的编号是 %2，此行是“%3”：此表的记录不能增删或改号</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文件尚未读取，没有可保存的数值</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 未保存：%2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 未保存：%2：%3</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 保存失败：%2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>星座 %1 的名称</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>星座 %1 的开始月</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>星座 %1 的开始日</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>难度 %1 能力需求 %2 的终点</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>难度 %1 能力需求 %2 的起点</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>能力值 %1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 的通告期限</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 的一周工作</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>%1 的完成需要</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>文件头的记录长度 %1 放不下每条记录的三个数值，数值会互相覆盖</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>名称有 %1 字节，最多 %2 字节</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>无法读取文件：%1</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>保存后的文件会被误认作另一种记录格式：请检查此行的名称、性别、年龄和生日</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>与另一数值的位置重叠</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>名称为空</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>此格只写入前两个字节，%1 会读作 %2</source>
            <translation type="unfinished" />
        </message>
        <message>
            <source>数值为空</source>
            <translation type="unfinished" />
        </message>
    </context>
    <context>
        <name>Tools</name>
        <message>
            <source>cannot create %1</source>
            <translation>无法建立 %1</translation>
        </message>
        <message>
            <source>column %1</source>
            <translation>第 %1 列</translation>
        </message>
        <message>
            <source>%1 cannot be unpacked (an unknown compression, or a damaged archive)</source>
            <translation>无法解压 %1（未知的压缩方式，或压缩包已损坏）</translation>
        </message>
        <message>
            <source>%1 is damaged (its checksum does not match)</source>
            <translation>%1 已损坏（校验和不符）</translation>
        </message>
        <message>
            <source>%1 is damaged and cannot be unpacked</source>
            <translation>%1 已损坏，无法解压</translation>
        </message>
        <message>
            <source>%1 is encrypted</source>
            <translation>%1 已加密</translation>
        </message>
        <message>
            <source>%1 unpacks to %2 bytes, more than the %3 MiB a workbook part may have</source>
            <translation>%1 解压后有 %2 字节，超过工作簿的一个部分最多可有的 %3 MiB</translation>
        </message>
        <message>
            <source>%1 unpacks to more than the %2 MiB a workbook part may have</source>
            <translation>%1 解压后超过工作簿的一个部分最多可有的 %2 MiB</translation>
        </message>
        <message>
            <source>%1, line %2: malformed XML: %3</source>
            <translation>%1 第 %2 行：XML 格式错误：%3</translation>
        </message>
        <message>
            <source>a ZIP archive, but neither an XLSX nor an OpenDocument spreadsheet</source>
            <translation>是 ZIP 压缩包，但既不是 XLSX 也不是 OpenDocument 电子表格</translation>
        </message>
        <message>
            <source>cell %1 comes after a cell to its right</source>
            <translation>单元格 %1 排在其右边的单元格之后</translation>
        </message>
        <message>
            <source>cell %1 in row %2 is not a cell of that row within the sheet</source>
            <translation>第 %2 行中的单元格 %1 不是工作表中该行的单元格</translation>
        </message>
        <message>
            <source>cell %1%2 holds a formula without its value (let a spreadsheet program compute and save it)</source>
            <translation>单元格 %1%2 是没有计算结果的公式（请让电子表格程序计算并保存）</translation>
        </message>
        <message>
            <source>more than %1 rows</source>
            <translation>超过 %1 行</translation>
        </message>
        <message>
            <source>more than %1 shared strings</source>
            <translation>共享字符串超过 %1 个</translation>
        </message>
        <message>
            <source>no temporary folder for the workbook: %1</source>
            <translation>没有可用于工作簿的临时文件夹：%1</translation>
        </message>
        <message>
            <source>not a readable ZIP archive (cut short or damaged)</source>
            <translation>不是可读取的 ZIP 压缩包（被截断或已损坏）</translation>
        </message>
        <message>
            <source>row %1 comes after row %2</source>
            <translation>第 %1 行排在第 %2 行之后</translation>
        </message>
        <message>
            <source>row %1 has more than %2 cells</source>
            <translation>第 %1 行超过 %2 个单元格</translation>
        </message>
        <message>
            <source>row %1 names shared string %2, which the workbook does not have</source>
            <translation>第 %1 行引用共享字符串 %2，但工作簿中没有</translation>
        </message>
        <message>
            <source>row %1, column %2: </source>
            <translation>第 %1 行，第 %2 列：</translation>
        </message>
        <message>
            <source>row number %1 is outside the sheet (1 to %2)</source>
            <translation>行号 %1 超出工作表（1 到 %2）</translation>
        </message>
        <message>
            <source>the entry of %1 in the archive is damaged</source>
            <translation>压缩包中 %1 的条目已损坏</translation>
        </message>
        <message>
            <source>the workbook cannot be made</source>
            <translation>无法建立工作簿</translation>
        </message>
        <message>
            <source>the workbook cannot be read back: %1</source>
            <translation>无法读回工作簿：%1</translation>
        </message>
        <message>
            <source>the workbook cannot be written: %1%2</source>
            <translation>无法写入工作簿：%1%2</translation>
        </message>
        <message>
            <source>the text is longer than the %1 characters a cell holds</source>
            <translation>文本超过一个单元格可容纳的 %1 个字符</translation>
        </message>
        <message>
            <source>the workbook has no part %1</source>
            <translation>工作簿中没有 %1 部分</translation>
        </message>
        <message>
            <source>the workbook has no visible sheet</source>
            <translation>工作簿中没有可见的工作表</translation>
        </message>
        <message>
            <source>the workbook names no part for its first sheet</source>
            <translation>工作簿没有指明其第一个工作表的部分</translation>
        </message>
    </context>
</TS>
