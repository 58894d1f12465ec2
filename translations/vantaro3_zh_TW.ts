<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
    <context>
        <name>Backups</name>
        <message>
            <source>无法读取 %1：%2</source>
            <translation>無法讀取 %1：%2</translation>
        </message>
        <message>
            <source>%1 是一个符号链接，备份历史不会写到链接所指之处</source>
            <translation>%1 是一個符號連結，備份歷史不會寫到連結所指之處</translation>
        </message>
        <message>
            <source>%1 不是文件夹</source>
            <translation>%1 不是資料夾</translation>
        </message>
        <message>
            <source>无法建立文件夹 %1：%2</source>
            <translation>無法建立資料夾 %1：%2</translation>
        </message>
        <message>
            <source>%1 没有较早的版本</source>
            <translation>%1 沒有較早的版本</translation>
        </message>
        <message>
            <source>%1 没有编号为 %2 的版本（有：%3）</source>
            <translation>%1 沒有編號為 %2 的版本（有：%3）</translation>
        </message>
        <message>
            <source>%1 不是普通文件</source>
            <translation>%1 不是一般檔案</translation>
        </message>
        <message>
            <source>%1：%2</source>
            <translation>%1：%2</translation>
        </message>
        <message>
            <source>无法删除备份历史中较早的版本 %1：%2</source>
            <translation>無法刪除備份歷史中較早的版本 %1：%2</translation>
        </message>
    </context>
    <context>
        <name>Batch</name>
        <message>
            <source>no column named</source>
            <translation>沒有寫欄名</translation>
        </message>
        <message>
            <source>no column %1 (the table has columns 1 to %2)</source>
            <translation>沒有第 %1 欄（此表有第 1 到 %2 欄）</translation>
        </message>
        <message>
            <source>no column is named %1</source>
            <translation>沒有名為 %1 的欄</translation>
        </message>
        <message>
            <source>%1 names columns %2: give the column's number</source>
            <translation>%1 是第 %2 欄的名稱：請寫欄號</translation>
        </message>
        <message>
            <source>, </source>
            <translation>、</translation>
        </message>
        <message>
            <source>%1 is not a number</source>
            <translation>%1 不是數字</translation>
        </message>
        <message>
            <source>line %1: %2</source>
            <translation>第 %1 行：%2</translation>
        </message>
        <message>
            <source>a set needs '=' (.COLUMN=VALUE)</source>
            <translation>修改指令需要「=」（.欄=值）</translation>
        </message>
        <message>
            <source>%1 is not a number (up to 12 digits and 6 decimals)</source>
            <translation>%1 不是數字（最多 12 位整數和 6 位小數）</translation>
        </message>
        <message>
            <source>not an instruction: a line starts with = ! &gt; &lt; ~ (a filter), . (a set) or # (a comment)</source>
            <translation>不是指令：每行以 = ! &gt; &lt; ~（篩選）、.（修改）或 #（註解）開頭</translation>
        </message>
        <message>
            <source>a filter needs '=' (%1COLUMN=VALUE)</source>
            <translation>篩選指令需要「=」（%1欄=值）</translation>
        </message>
        <message>
            <source>~ needs a text to look for</source>
            <translation>~ 需要要尋找的文字</translation>
        </message>
        <message>
            <source>%1: record %2 (row %3), column %4 (%5)</source>
            <translation>%1：記錄 %2（第 %3 行），第 %4 欄（%5）</translation>
        </message>
        <message>
            <source>, line %1</source>
            <translation>，指令第 %1 行</translation>
        </message>
        <message>
            <source>this table cannot be saved</source>
            <translation>此表不能儲存</translation>
        </message>
        <message>
            <source>a save does not store %1 here: the file would read %2</source>
            <translation>儲存不會在這裡存入 %1：檔案讀出來會是 %2</translation>
        </message>
        <message>
            <source>a save does not store this record</source>
            <translation>儲存不會存入這筆記錄</translation>
        </message>
        <message>
            <source>; nothing written</source>
            <translation>；未寫入任何內容</translation>
        </message>
    </context>
    <context>
        <name>Big5</name>
        <message>
            <source>换行符 %1：此栏只能有一行文字</source>
            <translation>換行字元 %1：此欄只能有一行文字</translation>
        </message>
        <message>
            <source>控制字符 %1 无法以 Big5 保存</source>
            <translation>控制字元 %1 無法以 Big5 儲存</translation>
        </message>
        <message>
            <source>“%1” 无法以 Big5 保存</source>
            <translation>「%1」無法以 Big5 儲存</translation>
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
            <translation>TABLE 是 Team.dat 這樣的檔名，不分大小寫（'vantaro3-cli tables' 列出全部）。
E 為 utf-8（預設）、gbk 或 big5。FILE 為 - 時讀標準輸入。
--locale N 設定系統地區 ID（2052 簡體，1028 繁體）：它決定表頭和欄名所用的
語言檔（CHS.txt 或 CHT.txt）以及文字的寫法（在 2052 上簡體字寫成繁體字）。
它可以寫在命令之前，也可以寫在命令的選項之間。
--lang L 選擇訊息的語言：zh_CN（簡體）、zh_TW（繁體）或 en；未給出時依
LC_ALL、LC_MESSAGES 或 LANG，再依 --locale 的地區 ID，否則為英文。
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
            <translation>結束狀態：
  0  成功；diff 沒有發現差異，check 和 lint 沒有發現問題
  1  有差異或問題：diff 發現差異；check 發現儲存後位元組會改變的表、儲存會拒絕
     的表或中斷的儲存留下的檔案；lint 發現問題；apply 發現衝突
  2  用法錯誤：未知的命令、選項或表，缺少或多出參數，選項的值不對
  3  無法讀取或寫入的檔案或資料夾（包括標準輸出：裝置已滿、管道已關閉），
     不含遊戲資料檔的資料夾，不存在的表，被拒絕的 CSV 或匯出，
     被拒絕或失敗的儲存
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

以與編輯器相同的程式讀取和儲存遊戲的資料表。
選項的值寫作 --option VALUE 或 --option=VALUE。

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
            <translation>系統地區 ID（見 'vantaro3-cli --help'）</translation>
        </message>
        <message>
            <source>the language of messages: zh_CN, zh_TW or en</source>
            <translation>訊息的語言：zh_CN、zh_TW 或 en</translation>
        </message>
        <message>
            <source>show this help</source>
            <translation>顯示此說明</translation>
        </message>
        <message>
            <source>Try '%1 --help'.</source>
            <translation>請試試 '%1 --help'。</translation>
        </message>
        <message>
            <source>Try '%1 help %2'.</source>
            <translation>請試試 '%1 help %2'。</translation>
        </message>
        <message>
            <source>unknown locale id "%1" (known: %2)</source>
            <translation>未知的地區 ID「%1」（已知：%2）</translation>
        </message>
        <message>
            <source>unknown language "%1" (zh_CN, zh_TW or en)</source>
            <translation>未知的語言「%1」（zh_CN、zh_TW 或 en）</translation>
        </message>
        <message>
            <source>the language of messages</source>
            <translation>訊息的語言</translation>
        </message>
        <message>
            <source>system locale id</source>
            <translation>系統地區 ID</translation>
        </message>
        <message>
            <source>show the help</source>
            <translation>顯示說明</translation>
        </message>
        <message>
            <source>missing %1</source>
            <translation>缺少 %1</translation>
        </message>
        <message>
            <source>unexpected argument "%1"</source>
            <translation>多餘的參數「%1」</translation>
        </message>
        <message>
            <source>%1: cannot write %2: %3</source>
            <translation>%1：無法寫入%2：%3</translation>
        </message>
        <message>
            <source>to standard output</source>
            <translation>標準輸出</translation>
        </message>
        <message>
            <source>standard input</source>
            <translation>標準輸入</translation>
        </message>
        <message>
            <source>cannot read standard input: %1</source>
            <translation>無法讀取標準輸入：%1</translation>
        </message>
        <message>
            <source>cannot read %1: %2</source>
            <translation>無法讀取 %1：%2</translation>
        </message>
        <message>
            <source>show the version</source>
            <translation>顯示版本</translation>
        </message>
        <message>
            <source>no command</source>
            <translation>沒有給出命令</translation>
        </message>
        <message>
            <source>help takes one COMMAND</source>
            <translation>help 只接受一個命令</translation>
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
            <translation>資料夾不存在：%1</translation>
        </message>
        <message>
            <source>%1 is not a folder</source>
            <translation>%1 不是資料夾</translation>
        </message>
        <message>
            <source>cannot read the folder %1</source>
            <translation>無法讀取資料夾 %1</translation>
        </message>
        <message>
            <source>%1 holds none of the game's data files</source>
            <translation>%1 中沒有遊戲的任何資料檔</translation>
        </message>
        <message>
            <source>%1: no such file in %2</source>
            <translation>%1：%2 中沒有這個檔案</translation>
        </message>
        <message>
            <source>unknown table: %1 (see 'vantaro3-cli tables')</source>
            <translation>未知的表：%1（見 'vantaro3-cli tables'）</translation>
        </message>
        <message numerus="yes">
            <source>%1: identical (%n record(s))
</source>
            <translation>
                <numerusform>%1：完全相同（%n 筆記錄）
</numerusform>
            </translation>
        </message>
        <message>
            <source>%1: differs at offset %2 (0x%3; file %4 bytes, saved %5 bytes)
</source>
            <translation>%1：在位移 %2 處不同（0x%3；檔案 %4 位元組，儲存後 %5 位元組）
</translation>
        </message>
        <message>
            <source>unknown encoding %1 (utf-8, gbk or big5)</source>
            <translation>未知的編碼 %1（utf-8、gbk 或 big5）</translation>
        </message>
        <message>
            <source>--bom is for UTF-8 only</source>
            <translation>--bom 只用於 UTF-8</translation>
        </message>
        <message>
            <source>export of %1</source>
            <translation>%1 的匯出</translation>
        </message>
        <message>
            <source>the CSV of %1</source>
            <translation>%1 的 CSV</translation>
        </message>
        <message numerus="yes">
            <source>%1: %n record(s) saved%2</source>
            <translation>
                <numerusform>%1：已儲存 %n 筆記錄%2</numerusform>
            </translation>
        </message>
        <message>
            <source> (unchanged)</source>
            <translation>（未改變）</translation>
        </message>
        <message>
            <source>(give --allow-empty to empty the table)</source>
            <translation>（要清空此表，請加上 --allow-empty）</translation>
        </message>
        <message>
            <source>%1 is read-only: nothing written</source>
            <translation>%1 是唯讀的：未寫入任何內容</translation>
        </message>
        <message numerus="yes">
            <source>%1: %n record(s) saved</source>
            <translation>
                <numerusform>%1：已儲存 %n 筆記錄</numerusform>
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
            <translation>%1：無法讀取：%2
</translation>
        </message>
        <message>
            <source>%1: would be refused: %2
</source>
            <translation>%1：儲存會被拒絕：%2
</translation>
        </message>
        <message numerus="yes">
            <source>%1: read-only, %n record(s) loaded
</source>
            <translation>
                <numerusform>%1：唯讀，已讀入 %n 筆記錄
</numerusform>
            </translation>
        </message>
        <message>
            <source>%1: temporary file left by an interrupted save: %2 (the next save of %1 removes it)
</source>
            <translation>%1：中斷的儲存留下的暫存檔：%2（下次儲存 %1 時會刪除它）
</translation>
        </message>
        <message>
            <source>no findings</source>
            <translation>沒有發現問題</translation>
        </message>
        <message numerus="yes">
            <source>%n finding(s)</source>
            <translation>
                <numerusform>發現 %n 個問題</numerusform>
            </translation>
        </message>
        <message>
            <source>the list</source>
            <translation>清單</translation>
        </message>
        <message>
            <source>no earlier versions</source>
            <translation>沒有較早的版本</translation>
        </message>
        <message>
            <source>restore: %1</source>
            <translation>restore：%1</translation>
        </message>
        <message>
            <source>%1 not restored: %2</source>
            <translation>%1 未還原：%2</translation>
        </message>
        <message>
            <source>%1: version %2 (%3) restored</source>
            <translation>%1：已還原版本 %2（%3）</translation>
        </message>
        <message>
            <source>bad value for --seed: %1</source>
            <translation>--seed 的值不對：%1</translation>
        </message>
        <message>
            <source>bad value for --records: %1 (1 to %2)</source>
            <translation>--records 的值不對：%1（應為 1 到 %2）</translation>
        </message>
        <message>
            <source>sample: %1 already holds %2; choose an empty folder, or give --force to replace them</source>
            <translation>sample：%1 中已有 %2；請選一個空資料夾，或加上 --force 取代它們</translation>
        </message>
        <message>
            <source>sample: %1</source>
            <translation>sample：%1</translation>
        </message>
        <message>
            <source>sample data folder written: %1</source>
            <translation>已寫好範例資料夾：%1</translation>
        </message>
        <message numerus="yes">
            <source>%1	%n column(s), read-only
</source>
            <translation>
                <numerusform>%1	%n 欄，唯讀
</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%1	%n column(s)
</source>
            <translation>
                <numerusform>%1	%n 欄
</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%1	%n column(s), patched in place
</source>
            <translation>
                <numerusform>%1	%n 欄，就地修改
</numerusform>
            </translation>
        </message>
        <message>
            <source>the CSV's encoding: utf-8 (the default), gbk or big5</source>
            <translation>CSV 的編碼：utf-8（預設）、gbk 或 big5</translation>
        </message>
        <message>
            <source>a UTF-8 byte order mark first (for spreadsheet programs)</source>
            <translation>開頭寫 UTF-8 位元組順序標記（供試算表程式使用）</translation>
        </message>
        <message>
            <source>the column headers of the language file first</source>
            <translation>開頭寫語言檔中的欄名</translation>
        </message>
        <message>
            <source>Write TABLE of the data folder as CSV (or an XLSX workbook) to standard output.</source>
            <translation>把資料夾中的 TABLE 以 CSV（或 XLSX 活頁簿）寫到標準輸出。</translation>
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
            <translation>每筆記錄一行，各欄按表格的順序（獨立的表：其視窗顯示的數值）。編碼容不下的
字元會中止匯出，並指出其行和欄。使用 --spreadsheet-safe 時，試算表程式會轉換為數字、日期或公式的儲存格（前導零、
長數字串、1/2、3e5、=1+1）都寫成 ="…"；匯入時再去掉這層保護。
使用 --format xlsx 時改寫 XLSX 活頁簿：凍結的標題列，文字欄為文字儲存格，數字欄為數字，
清單欄（旗標、年份、規模、製作人）附有其下拉清單。</translation>
        </message>
        <message>
            <source>a CSV without records empties the table</source>
            <translation>沒有記錄的 CSV 會清空此表</translation>
        </message>
        <message>
            <source>Replace TABLE's records with FILE's, CSV or a workbook (- for standard input), and save it.</source>
            <translation>用 FILE（CSV 或活頁簿；- 為標準輸入）中的記錄取代 TABLE 的記錄並儲存。</translation>
        </message>
        <message>
            <source>Load and save each table in memory; report whether its bytes stay identical.</source>
            <translation>在記憶體中讀入並儲存每個表，報告其位元組是否保持不變。</translation>
        </message>
        <message>
            <source>Without TABLE every table of the folder; one that is not there is listed as
missing. Temporary files left by an interrupted save are reported too.</source>
            <translation>不給出 TABLE 時檢查資料夾中的每個表；不存在的表列為不存在。中斷的儲存留下的
暫存檔也會報告。</translation>
        </message>
        <message>
            <source>write table,record,occurrence,change,column,column name,old,new</source>
            <translation>寫出 table,record,occurrence,change,column,column name,old,new</translation>
        </message>
        <message>
            <source>Record-level differences between two data folders.</source>
            <translation>兩個資料夾之間逐筆記錄的差異。</translation>
        </message>
        <message>
            <source>Records are matched by number (and occurrence); added and removed records are
listed, changed cells as "column: old → new".</source>
            <translation>記錄按編號（及出現次序）配對；列出增加和刪除的記錄，改變的格寫作
「欄：舊 → 新」。</translation>
        </message>
        <message>
            <source>Report what the game would trip over, with table, row and column.</source>
            <translation>報告遊戲會出錯的地方，指出表、行和欄。</translation>
        </message>
        <message>
            <source>Team members and firm artists past the end of StarRole.dat, producer numbers
without a Producer.tab record, repeated record numbers, cells a save would
refuse, Active.tab and Pression.tab without their 9 and 99 records.</source>
            <translation>超出 StarRole.dat 末尾的團體成員和公司藝人、Producer.tab 中沒有記錄的製作人
編號、重複的記錄編號、儲存會拒絕的格、缺少 9 筆和 99 筆記錄的 Active.tab
和 Pression.tab。</translation>
        </message>
        <message>
            <source>List the earlier versions each save kept, newest first.</source>
            <translation>列出每次儲存留下的較早版本，最新的在前。</translation>
        </message>
        <message>
            <source>One line each (in FOLDER/Vantaro3Backups): id, date and time, size in bytes
(and the table, when no TABLE is given). Config.ini's BackupVersions= sets
how many are kept.</source>
            <translation>每個一行（在 FOLDER/Vantaro3Backups 中）：編號、日期時間、位元組數（不給出
TABLE 時還有表名）。保留幾個由 Config.ini 的 BackupVersions= 決定。</translation>
        </message>
        <message>
            <source>Put version ID of TABLE back.</source>
            <translation>還原 TABLE 的版本 ID。</translation>
        </message>
        <message>
            <source>This is a save: the file it replaces goes into the history and TABLE.bak first.</source>
            <translation>這是一次儲存：被取代的檔案先存入備份歷史和 TABLE.bak。</translation>
        </message>
        <message>
            <source>the seed of the made-up values (default 1)</source>
            <translation>產生數值的種子（預設 1）</translation>
        </message>
        <message>
            <source>records per table, 1 to 32767 (default 20)</source>
            <translation>每個表的記錄數，1 到 32767（預設 20）</translation>
        </message>
        <message>
            <source>replace the game's files in OUTDIR</source>
            <translation>取代 OUTDIR 中遊戲的檔案</translation>
        </message>
        <message>
            <source>Write a sample data folder with every table.</source>
            <translation>寫出一個含有每個表的範例資料夾。</translation>
        </message>
        <message>
            <source>A folder that holds any of the game's files is refused unless --force is given.</source>
            <translation>含有遊戲檔案的資料夾會被拒絕，除非加上 --force。</translation>
        </message>
        <message>
            <source>List the tables.</source>
            <translation>列出各個表。</translation>
        </message>
        <message>
            <source>Options:
</source>
            <translation>選項：
</translation>
        </message>
        <message>
            <source>vantaro3-cli: warning: no column headers for %1: %2 is missing; the header line is empty</source>
            <translation>vantaro3-cli：警告：%1 沒有欄名：缺少 %2；表頭行是空的</translation>
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
            <translation>儲存與編輯器相同：TABLE.bak 和備份歷史保留舊檔案；獨立表像其視窗一樣就地修改。以下情況拒絕匯入，不寫任何檔案：CSV 的編碼無效（指出所在行和位元組）、某行的欄位數不對、某個儲存格無法存入、CSV 沒有記錄（除非給出 --allow-empty）。第一行若是該表任一種文字的標題列則略過，UTF-8 位元組順序標記也略過；全為空欄位的行和空行略過並計數。分隔符號（逗號、分號或定位字元）從第一行識別，除非由 --delimiter 指定。每次匯入都說明修改、新增、刪除和未變的記錄數；會刪除記錄的匯入被拒絕，除非給出 --allow-removal（或 --allow-empty）。同樣拒絕：儲存不寫入的欄中改動的儲存格（Active.tab 和 Pression.tab 保留第 2–3 欄）、獨立表的列與匯出時順序不同（依位置對應）、無法分辨是哪筆記錄的重複編號的列。TABLE 的記錄被刪除、新增或移動時，依位置引用它們的表（Team.dat 和 Firm.dat 引用 StarRole.dat）在同一次儲存中一併更新，所有檔案要麼全部寫入，要麼全部不變：引用跟隨其記錄，引用已刪除記錄的變為 -1；改變的內容先告知。</translation>
        </message>
        <message>
            <source>write table,row,record,record name,column,column name,reason</source>
            <translation>寫出 table,row,record,record name,column,column name,reason</translation>
        </message>
        <message>
            <source>%1: %2 changed, %3 added, %4 removed, %5 unchanged</source>
            <translation>%1：修改 %2 筆，新增 %3 筆，刪除 %4 筆，未變 %5 筆</translation>
        </message>
        <message numerus="yes">
            <source> (%n blank row(s) skipped)</source>
            <translation>
                <numerusform>（略過 %n 個空行）</numerusform>
            </translation>
        </message>
        <message>
            <source>%1: line %2: this row is record %3 of %4, which is matched by position: the rows are not in the order of the export; nothing written</source>
            <translation>%1：第 %2 行：這一行是 %4 的第 %3 筆記錄，而此表按位置對應：各行不是匯出時的順序；未寫入任何內容</translation>
        </message>
        <message>
            <source>the changes</source>
            <translation>變更內容</translation>
        </message>
        <message>
            <source> (dry run: nothing written)</source>
            <translation>（試執行：未寫入任何內容）</translation>
        </message>
        <message>
            <source>%1: line %2: %3 has several records numbered %4 and this row gives none of them back as exported: which one it is cannot be told; nothing written</source>
            <translation>%1：第 %2 行：%3 有多筆編號為 %4 的記錄，這一行與匯出時的任何一筆都不同，無法確定它是哪一筆；未寫入任何內容</translation>
        </message>
        <message>
            <source>%1: line %2, column %3 (%4): %5; nothing written</source>
            <translation>%1：第 %2 行，第 %3 欄（%4）：%5；未寫入任何內容</translation>
        </message>
        <message>
            <source>%1: line %2 (%3), column %4 (%5): %6; nothing written</source>
            <translation>%1：第 %2 行（%3），第 %4 欄（%5）：%6；未寫入任何內容</translation>
        </message>
        <message numerus="yes">
            <source>%1: the CSV would remove %n record(s): give --allow-removal to remove them; nothing written</source>
            <translation>
                <numerusform>%1：此 CSV 將刪除 %n 筆記錄：要刪除它們，請加上 --allow-removal；未寫入任何內容</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%1: the CSV would remove %n record(s): an import needs --allow-removal</source>
            <translation>
                <numerusform>%1：此 CSV 將刪除 %n 筆記錄：匯入時需加上 --allow-removal</numerusform>
            </translation>
        </message>
        <message>
            <source>unknown delimiter %1 (",", ";" or tab)</source>
            <translation>未知的分隔符 %1（「,」、「;」或 tab）</translation>
        </message>
        <message>
            <source>the field delimiter: "," (the default), ";" or tab</source>
            <translation>欄位分隔符：「,」（預設）、「;」或 tab</translation>
        </message>
        <message>
            <source>text cells as ="…", which spreadsheet programs keep as text</source>
            <translation>文字儲存格寫成 ="…"，試算表程式會將其保留為文字</translation>
        </message>
        <message>
            <source>let the CSV remove the records it does not hold</source>
            <translation>允許刪除 CSV 中沒有的記錄</translation>
        </message>
        <message>
            <source>%1: %2 records matched, %3 cells changed%4</source>
            <translation>%1：選中 %2 筆記錄，修改 %3 個儲存格%4</translation>
        </message>
        <message>
            <source> (%1 brought into range)</source>
            <translation>（%1 個取了最接近的可儲存值）</translation>
        </message>
        <message>
            <source>%1 refused: nothing written</source>
            <translation>%1 被拒絕：未寫入任何內容</translation>
        </message>
        <message>
            <source>; nothing written</source>
            <translation>；未寫入任何內容</translation>
        </message>
        <message>
            <source>: nothing written</source>
            <translation>：未寫入任何內容</translation>
        </message>
        <message>
            <source>%1: line %2: not UTF-8 text</source>
            <translation>%1：第 %2 行：不是 UTF-8 文字</translation>
        </message>
        <message>
            <source>%1: %2</source>
            <translation>%1：%2</translation>
        </message>
        <message>
            <source>conflict: </source>
            <translation>衝突：</translation>
        </message>
        <message>
            <source>nothing written: %1 changes find no record to change</source>
            <translation>未寫入任何內容：有 %1 處修改找不到要修改的記錄</translation>
        </message>
        <message>
            <source>nothing written (--force takes the patch's values)</source>
            <translation>未寫入任何內容（--force 採用修補檔的值）</translation>
        </message>
        <message>
            <source>patch not applied: %1</source>
            <translation>修補檔未套用：%1</translation>
        </message>
        <message>
            <source>%1: saved</source>
            <translation>%1：已儲存</translation>
        </message>
        <message>
            <source>write the differences as a patch that 'apply' carries out</source>
            <translation>把差異寫成可用 'apply' 套用的修補檔</translation>
        </message>
        <message>
            <source>--encoding, --delimiter, --bom and --spreadsheet-safe are for CSV; a workbook keeps its text cells as text</source>
            <translation>--encoding、--delimiter、--bom 和 --spreadsheet-safe 只用於 CSV；活頁簿本身就把文字儲存格保持為文字</translation>
        </message>
        <message>
            <source>a workbook is not written to a terminal: redirect the output into a file</source>
            <translation>活頁簿不寫到終端機：請把輸出重新導向到檔案</translation>
        </message>
        <message>
            <source>csv (the default) or xlsx, a workbook</source>
            <translation>csv（預設）或 xlsx（活頁簿）</translation>
        </message>
        <message>
            <source>the workbook of %1</source>
            <translation>%1 的活頁簿</translation>
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
            <translation>記錄 %1</translation>
        </message>
        <message>
            <source> (occurrence %1)</source>
            <translation>（第 %1 個）</translation>
        </message>
        <message>
            <source> “%1”</source>
            <translation>「%1」</translation>
        </message>
        <message>
            <source>%1: cannot be read in the first folder: %2
</source>
            <translation>%1：第一個資料夾中的無法讀取：%2
</translation>
        </message>
        <message>
            <source>%1: cannot be read in the second folder: %2
</source>
            <translation>%1：第二個資料夾中的無法讀取：%2
</translation>
        </message>
        <message>
            <source>%1: only in the second folder
</source>
            <translation>%1：只在第二個資料夾中
</translation>
        </message>
        <message>
            <source>%1: only in the first folder
</source>
            <translation>%1：只在第一個資料夾中
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
            <translation>%1：%2 已刪除：%3
</translation>
        </message>
        <message>
            <source>%1: bytes outside the fields of %2 changed
</source>
            <translation>%1：%2 各欄以外的位元組已改變
</translation>
        </message>
        <message>
            <source>%1: %2: %3: %4 → %5 (display only: the record's bytes are the same)
</source>
            <translation>%1：%2：%3：%4 → %5（只是顯示不同：記錄的位元組相同）
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
            <translation>%1：記錄的次序不同
</translation>
        </message>
        <message>
            <source>%1: bytes outside every record changed
</source>
            <translation>%1：所有記錄以外的位元組已改變
</translation>
        </message>
    </context>
    <context>
        <name>Disk</name>
        <message>
            <source>%1 %2：%3</source>
            <translation>%1 %2：%3</translation>
        </message>
        <message>
            <source>磁盘已满</source>
            <translation>磁碟已滿</translation>
        </message>
        <message>
            <source>超出磁盘配额</source>
            <translation>超出磁碟配額</translation>
        </message>
        <message>
            <source>磁盘读写错误</source>
            <translation>磁碟讀寫錯誤</translation>
        </message>
        <message>
            <source>没有访问权限</source>
            <translation>沒有存取權限</translation>
        </message>
        <message>
            <source>不允许此操作</source>
            <translation>不允許此操作</translation>
        </message>
        <message>
            <source>文件系统为只读</source>
            <translation>檔案系統為唯讀</translation>
        </message>
        <message>
            <source>文件或文件夹不存在</source>
            <translation>檔案或資料夾不存在</translation>
        </message>
        <message>
            <source>路径中有一项不是文件夹</source>
            <translation>路徑中有一項不是資料夾</translation>
        </message>
        <message>
            <source>这是一个文件夹</source>
            <translation>這是一個資料夾</translation>
        </message>
        <message>
            <source>文件过大</source>
            <translation>檔案過大</translation>
        </message>
        <message>
            <source>打开的文件过多</source>
            <translation>開啟的檔案過多</translation>
        </message>
        <message>
            <source>系统中打开的文件过多</source>
            <translation>系統中開啟的檔案過多</translation>
        </message>
        <message>
            <source>文件名过长</source>
            <translation>檔名過長</translation>
        </message>
        <message>
            <source>设备或资源正忙</source>
            <translation>裝置或資源正忙</translation>
        </message>
        <message>
            <source>文件正被使用</source>
            <translation>檔案正被使用</translation>
        </message>
        <message>
            <source>不在同一文件系统</source>
            <translation>不在同一檔案系統</translation>
        </message>
        <message>
            <source>操作被中断</source>
            <translation>操作被中斷</translation>
        </message>
        <message>
            <source>内存不足</source>
            <translation>記憶體不足</translation>
        </message>
        <message>
            <source>符号链接层数过多</source>
            <translation>符號連結層數過多</translation>
        </message>
        <message>
            <source>资源暂时不可用</source>
            <translation>資源暫時無法使用</translation>
        </message>
        <message>
            <source>网络文件已失效</source>
            <translation>網路檔案已失效</translation>
        </message>
        <message>
            <source>设备不存在</source>
            <translation>裝置不存在</translation>
        </message>
        <message>
            <source>参数无效</source>
            <translation>參數無效</translation>
        </message>
        <message>
            <source>文件已存在</source>
            <translation>檔案已存在</translation>
        </message>
        <message>
            <source>文件句柄无效</source>
            <translation>檔案代碼無效</translation>
        </message>
        <message>
            <source>不支持此操作</source>
            <translation>不支援此操作</translation>
        </message>
        <message>
            <source>操作超时</source>
            <translation>操作逾時</translation>
        </message>
        <message>
            <source>连接被重置</source>
            <translation>連線被重設</translation>
        </message>
        <message>
            <source>系统错误 %1（%2）</source>
            <translation>系統錯誤 %1（%2）</translation>
        </message>
        <message>
            <source>系统错误 %1</source>
            <translation>系統錯誤 %1</translation>
        </message>
        <message>
            <source>无法打开</source>
            <translation>無法開啟</translation>
        </message>
        <message>
            <source>无法读取</source>
            <translation>無法讀取</translation>
        </message>
        <message>
            <source>无法读取 %1：这是一个文件夹，不是文件</source>
            <translation>無法讀取 %1：這是一個資料夾，不是檔案</translation>
        </message>
        <message>
            <source>无法读取 %1：这不是普通文件</source>
            <translation>無法讀取 %1：這不是一般檔案</translation>
        </message>
        <message>
            <source>无法读取 %1：文件过大（%2 字节）</source>
            <translation>無法讀取 %1：檔案過大（%2 位元組）</translation>
        </message>
        <message>
            <source>无法读取（关闭文件时出错）</source>
            <translation>無法讀取（關閉檔案時出錯）</translation>
        </message>
        <message>
            <source>无法完整读取 %1：读到 %2 字节，文件有 %3 字节</source>
            <translation>無法完整讀取 %1：讀到 %2 位元組，檔案有 %3 位元組</translation>
        </message>
        <message>
            <source>%1 是只读文件（权限 %2），未改动；要保存它，先使它可写（例如 chmod u+w %3）</source>
            <translation>%1 是唯讀檔案（權限 %2），未改動；要儲存它，先使它可寫（例如 chmod u+w %3）</translation>
        </message>
        <message>
            <source>无法删除中断的保存留下的临时文件</source>
            <translation>無法刪除中斷的儲存留下的暫存檔</translation>
        </message>
        <message>
            <source>无法打开文件夹</source>
            <translation>無法開啟資料夾</translation>
        </message>
        <message>
            <source>另一个程序正在保存 %1 中的文件（等候 %2 秒后仍未结束），未写入；请稍后再试</source>
            <translation>另一個程式正在儲存 %1 中的檔案（等候 %2 秒後仍未結束），未寫入；請稍後再試</translation>
        </message>
        <message>
            <source>无法锁定文件夹</source>
            <translation>無法鎖定資料夾</translation>
        </message>
        <message>
            <source>无法写入</source>
            <translation>無法寫入</translation>
        </message>
        <message>
            <source>无法写入 %1：这是一个文件夹</source>
            <translation>無法寫入 %1：這是一個資料夾</translation>
        </message>
        <message>
            <source>无法写入 %1：这不是普通文件</source>
            <translation>無法寫入 %1：這不是一般檔案</translation>
        </message>
        <message>
            <source>，原文件未改动</source>
            <translation>，原檔案未改動</translation>
        </message>
        <message>
            <source>无法在文件夹中建立新文件以写入</source>
            <translation>無法在資料夾中建立新檔案以寫入</translation>
        </message>
        <message>
            <source>无法将新内容写到磁盘</source>
            <translation>無法將新內容寫到磁碟</translation>
        </message>
        <message>
            <source>写入 %1 不完整：写入 %2 字节，磁盘上只有 %3 字节</source>
            <translation>寫入 %1 不完整：寫入 %2 位元組，磁碟上只有 %3 位元組</translation>
        </message>
        <message>
            <source>（关闭文件时出错）</source>
            <translation>（關閉檔案時出錯）</translation>
        </message>
        <message>
            <source>无法用新内容替换</source>
            <translation>無法用新內容取代</translation>
        </message>
        <message>
            <source>无法将 %1 所在文件夹的更新写到磁盘：%2</source>
            <translation>無法將 %1 所在資料夾的更新寫到磁碟：%2</translation>
        </message>
        <message>
            <source>，未建立文件</source>
            <translation>，未建立檔案</translation>
        </message>
        <message>
            <source>；新内容已换入，但可能没有写到磁盘</source>
            <translation>；新內容已換入，但可能沒有寫到磁碟</translation>
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
            <translation>中斷的儲存留下的暫存檔：%1（下次儲存 %2 時會刪除）</translation>
        </message>
        <message>
            <source>cannot be read: %1</source>
            <translation>無法讀取：%1</translation>
        </message>
        <message>
            <source>record number %1 occurs again (first in row %2)</source>
            <translation>記錄編號 %1 重複出現（第一次在第 %2 行）</translation>
        </message>
        <message>
            <source>holds %1 records; the game reads exactly %2</source>
            <translation>有 %1 筆記錄；遊戲只讀取正好 %2 筆</translation>
        </message>
        <message>
            <source>is %1 bytes long; its %2 records need %3 (it ends inside record %4)</source>
            <translation>長 %1 位元組；%2 筆記錄需要 %3 位元組（檔案在第 %4 筆記錄中結束）</translation>
        </message>
        <message>
            <source>a save would refuse it: %1</source>
            <translation>儲存會拒絕：%1</translation>
        </message>
        <message>
            <source>%1: row %2 (record %3, %4)</source>
            <translation>%1：第 %2 行（記錄 %3，%4）</translation>
        </message>
        <message>
            <source>%1: row %2 (record %3)</source>
            <translation>%1：第 %2 行（記錄 %3）</translation>
        </message>
        <message>
            <source>%1: row %2</source>
            <translation>%1：第 %2 行</translation>
        </message>
        <message>
            <source>%1, column %2 (%3)</source>
            <translation>%1，第 %2 欄（%3）</translation>
        </message>
        <message>
            <source>%1: %2</source>
            <translation>%1：%2</translation>
        </message>
        <message>
            <source>star</source>
            <translation>藝人</translation>
        </message>
        <message>
            <source>producer</source>
            <translation>製作人</translation>
        </message>
        <message>
            <source>job</source>
            <translation>通告</translation>
        </message>
        <message>
            <source>record</source>
            <translation>記錄</translation>
        </message>
        <message>
            <source>%1 is no %2 (a position in %3, %4 for none)</source>
            <translation>%1 不是%2（應為 %3 中的位置，%4 表示沒有）</translation>
        </message>
        <message>
            <source>%1 is no %2 (positions in %3 start at 0, %4 is none)</source>
            <translation>%1 不是%2（%3 中的位置從 0 開始，%4 表示沒有）</translation>
        </message>
        <message>
            <source>%1 %2 is past the end of %3 (%4 records, positions 0..%5)</source>
            <translation>%1 %2 超出 %3 的末尾（%4 筆記錄，位置 0..%5）</translation>
        </message>
        <message>
            <source>%1 %2 has no %3 record</source>
            <translation>%1 %2 在 %3 中沒有記錄</translation>
        </message>
        <message>
            <source>%1 %2 is an empty record of %3 (record %4 has no name)</source>
            <translation>%1 %2 是 %3 中的空記錄（記錄 %4 沒有名稱）</translation>
        </message>
        <message>
            <source>%1 %2 is ambiguous: %3 records of %4 have it (the first is record %5)</source>
            <translation>%1 %2 不明確：%4 中有 %3 筆記錄使用它（第一筆是記錄 %5）</translation>
        </message>
    </context>
    <context>
        <name>Numbers</name>
        <message>
            <source>“%1”不是数字</source>
            <translation>「%1」不是數字</translation>
        </message>
        <message>
            <source>%1 超出范围 %2</source>
            <translation>%1 超出範圍 %2</translation>
        </message>
    </context>
    <context>
        <name>Patch</name>
        <message>
            <source>record %1 (occurrence %2)</source>
            <translation>記錄 %1（第 %2 次出現）</translation>
        </message>
        <message>
            <source>record %1</source>
            <translation>記錄 %1</translation>
        </message>
        <message>
            <source>record %1 (occurrence %2) “%3”</source>
            <translation>記錄 %1（第 %2 次出現）「%3」</translation>
        </message>
        <message>
            <source>record %1 “%2”</source>
            <translation>記錄 %1「%2」</translation>
        </message>
        <message>
            <source>%1: line %2: %3</source>
            <translation>%1：第 %2 行：%3</translation>
        </message>
        <message>
            <source>not UTF-8 text (byte %1)</source>
            <translation>不是 UTF-8 文字（第 %1 位元組）</translation>
        </message>
        <message>
            <source>not a patch: it starts with "%1" and the format's version</source>
            <translation>不是補丁：補丁以「%1」和格式版本開頭</translation>
        </message>
        <message>
            <source>%1 is no format version</source>
            <translation>%1 不是格式版本</translation>
        </message>
        <message>
            <source>format version %1 is not known (this program reads version %2)</source>
            <translation>不認識格式版本 %1（本程式讀取版本 %2）</translation>
        </message>
        <message>
            <source>the tables line ("tables" and the tables) must come second</source>
            <translation>第二行必須是表的清單（「tables」和各表）</translation>
        </message>
        <message>
            <source>unknown table %1</source>
            <translation>未知的表 %1</translation>
        </message>
        <message>
            <source>%1 is named twice</source>
            <translation>%1 出現了兩次</translation>
        </message>
        <message>
            <source>%1 is not one of the tables of the patch's second line</source>
            <translation>%1 不在補丁第二行列出的表中</translation>
        </message>
        <message>
            <source>no change: "changed", "added" or "removed" follows the table</source>
            <translation>沒有修改：表名後面應為「changed」「added」或「removed」</translation>
        </message>
        <message>
            <source>%1 fields where an order line has 4</source>
            <translation>有 %1 個欄位，順序行應有 4 個</translation>
        </message>
        <message>
            <source>a save sorts %1: its order is not the patch's to give</source>
            <translation>儲存時 %1 會排序：補丁不能指定它的順序</translation>
        </message>
        <message>
            <source>%1 is no record (KEY#OCCURRENCE)</source>
            <translation>%1 不是記錄（編號#第幾次出現）</translation>
        </message>
        <message>
            <source>%1 is no change: "changed", "added", "removed" or "order"</source>
            <translation>%1 不是修改：應為「changed」「added」「removed」或「order」</translation>
        </message>
        <message>
            <source>%1 fields where a %2 change of %3 has %4</source>
            <translation>有 %1 個欄位，%3 的 %2 修改應有 %4 個</translation>
        </message>
        <message>
            <source>%1 is no occurrence (1, 2, ...)</source>
            <translation>%1 不是出現次數（1、2……）</translation>
        </message>
        <message>
            <source>%1 is no column of %2 (1 to %3)</source>
            <translation>%1 不是 %2 的欄（1 到 %3）</translation>
        </message>
        <message>
            <source>%1 has a fixed set of records: none is added or removed</source>
            <translation>%1 的記錄是固定的：不能增加或刪除</translation>
        </message>
        <message>
            <source>%1 is no row (1, 2, ...)</source>
            <translation>%1 不是行號（1、2……）</translation>
        </message>
        <message>
            <source>empty: not a patch</source>
            <translation>空的：不是補丁</translation>
        </message>
        <message>
            <source>no tables line</source>
            <translation>沒有表的清單行</translation>
        </message>
        <message>
            <source>%1: expected %2, found %3, wanted %4%5</source>
            <translation>%1：應為 %2，實際是 %3，補丁要改為 %4%5</translation>
        </message>
        <message>
            <source> (the patch's value taken)</source>
            <translation>（已採用補丁的值）</translation>
        </message>
        <message>
            <source>(no such record)</source>
            <translation>（沒有這筆記錄）</translation>
        </message>
        <message>
            <source>%1 changes to apply, %2 already applied, %3 conflicts</source>
            <translation>%1 處修改可以套用，%2 處已經套用，%3 處衝突</translation>
        </message>
        <message>
            <source>%1: no such file in %2</source>
            <translation>%1：%2 中沒有這個檔案</translation>
        </message>
        <message>
            <source>%1 is read-only: nothing written</source>
            <translation>%1 是唯讀的：未寫入任何內容</translation>
        </message>
        <message>
            <source>cannot read %1: %2</source>
            <translation>無法讀取 %1：%2</translation>
        </message>
        <message>
            <source>; nothing written</source>
            <translation>；未寫入任何內容</translation>
        </message>
        <message>
            <source>%1: a save would not store the patch's values; nothing written</source>
            <translation>%1：儲存不會存入修補檔的值；未寫入任何內容</translation>
        </message>
    </context>
    <context>
        <name>References</name>
        <message>
            <source>，文件未改动</source>
            <translation>，檔案未改動</translation>
        </message>
        <message>
            <source>保存已取消，文件未改动</source>
            <translation>儲存已取消，檔案未改動</translation>
        </message>
        <message>
            <source>引用 %1 的记录无法随之更新（%2），所有文件均未改动</source>
            <translation>引用 %1 的記錄無法隨之更新（%2），所有檔案均未改動</translation>
        </message>
        <message>
            <source>删除 %1 条</source>
            <translation>刪除 %1 條</translation>
        </message>
        <message>
            <source>新增 %1 条</source>
            <translation>新增 %1 條</translation>
        </message>
        <message>
            <source>记录位置改变</source>
            <translation>記錄位置改變</translation>
        </message>
        <message>
            <source>记录编号改变</source>
            <translation>記錄編號改變</translation>
        </message>
        <message>
            <source>%1 %2 处</source>
            <translation>%1 %2 處</translation>
        </message>
        <message>
            <source>；</source>
            <translation>；</translation>
        </message>
        <message>
            <source>引用将随之更新</source>
            <translation>引用將隨之更新</translation>
        </message>
        <message>
            <source>；%1 处引用被删除的记录将清空（%2）</source>
            <translation>；%1 處引用被刪除的記錄將清空（%2）</translation>
        </message>
        <message>
            <source>；%1 处引用的记录已被删除，保持原值（%2）</source>
            <translation>；%1 處引用的記錄已被刪除，保持原值（%2）</translation>
        </message>
        <message>
            <source>%1 第 %2 行</source>
            <translation>%1 第 %2 列</translation>
        </message>
        <message>
            <source>（%1）</source>
            <translation>（%1）</translation>
        </message>
        <message>
            <source>第 %1 列</source>
            <translation>第 %1 欄</translation>
        </message>
        <message>
            <source>%1：%2 → %3</source>
            <translation>%1：%2 → %3</translation>
        </message>
        <message>
            <source>%1：%2 → %3（所引用的记录已删除）</source>
            <translation>%1：%2 → %3（所引用的記錄已刪除）</translation>
        </message>
        <message>
            <source>%1：%2（所引用的记录已删除）</source>
            <translation>%1：%2（所引用的記錄已刪除）</translation>
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
            <translation>，檔案未改動</translation>
        </message>
        <message>
            <source>%1 在读入之后已被改动（另一个程序或另一次保存），未写入；请重新读入后再改</source>
            <translation>%1 在讀入之後已被改動（另一個程式或另一次儲存），未寫入；請重新讀入後再改</translation>
        </message>
        <message>
            <source>无法把旧版本存入备份历史（%1），%2 未改动</source>
            <translation>無法把舊版本存入備份歷史（%1），%2 未改動</translation>
        </message>
        <message>
            <source>无法建立备份 %1.bak（%2），%1 未改动</source>
            <translation>無法建立備份 %1.bak（%2），%1 未改動</translation>
        </message>
        <message>
            <source>%1；备份在 %2.bak</source>
            <translation>%1；備份在 %2.bak</translation>
        </message>
        <message>
            <source>临时文件 %1 未能删除（下次保存 %2 时会再试）</source>
            <translation>暫存檔 %1 未能刪除（下次儲存 %2 時會再試）</translation>
        </message>
        <message>
            <source>%1 另有 %2 个硬链接：那些名称仍是旧内容（新内容只在 %1）</source>
            <translation>%1 另有 %2 個硬連結：那些名稱仍是舊內容（新內容只在 %1）</translation>
        </message>
        <message>
            <source>%1 的所有者未能保留：原为用户 %2、组 %3，现为用户 %4、组 %5</source>
            <translation>%1 的擁有者未能保留：原為使用者 %2、群組 %3，現為使用者 %4、群組 %5</translation>
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
            <translation>第 %1 行</translation>
        </message>
        <message>
            <source>第 %1 列</source>
            <translation>第 %1 欄</translation>
        </message>
        <message>
            <source>第 %1 列（%2）</source>
            <translation>第 %1 欄（%2）</translation>
        </message>
        <message>
            <source>%1 未保存：%2：%3</source>
            <translation>%1 未儲存：%2：%3</translation>
        </message>
        <message>
            <source>%1 保存失败：%2</source>
            <translation>%1 儲存失敗：%2</translation>
        </message>
        <message>
            <source>此表不能保存</source>
            <translation>此表不能儲存</translation>
        </message>
        <message>
            <source>，文件未改动</source>
            <translation>，檔案未改動</translation>
        </message>
    </context>
    <context>
        <name>Tables</name>
        <message>
            <source>%1 为只读</source>
            <translation>%1 為唯讀</translation>
        </message>
        <message>
            <source>%1：%2</source>
            <translation>%1：%2</translation>
        </message>
        <message>
            <source>第 %1 行第 %2 列</source>
            <translation>第 %1 行第 %2 欄</translation>
        </message>
        <message>
            <source>第 %1 行第 %2 列（%3）</source>
            <translation>第 %1 行第 %2 欄（%3）</translation>
        </message>
        <message>
            <source>文字过长：%1 字节，此栏最多 %2 字节</source>
            <translation>文字過長：%1 位元組，此欄最多 %2 位元組</translation>
        </message>
        <message>
            <source>编号只能由单字节字符组成：“%1”不是</source>
            <translation>編號只能由單位元組字元組成：「%1」不是</translation>
        </message>
        <message>
            <source>“%1”不是年份：应为 第一年、第二年、第三年、特殊 或年份代码</source>
            <translation>「%1」不是年份：應為 第一年、第二年、第三年、特殊 或年份代碼</translation>
        </message>
        <message>
            <source>年份 %1 超出范围 %2</source>
            <translation>年份 %1 超出範圍 %2</translation>
        </message>
        <message>
            <source>Producer.tab 中没有制作人“%1”</source>
            <translation>Producer.tab 中沒有製作人「%1」</translation>
        </message>
        <message>
            <source>制作人编号 %1 超出范围 %2</source>
            <translation>製作人編號 %1 超出範圍 %2</translation>
        </message>
        <message>
            <source>记录过多：最多 32767 条</source>
            <translation>記錄過多：最多 32767 筆</translation>
        </message>
        <message>
            <source>文件过大：超过 2 GB</source>
            <translation>檔案過大：超過 2 GB</translation>
        </message>
        <message>
            <source>此表固定有 %1 条记录，表中现有 %2 条；请重新载入后再保存</source>
            <translation>此表固定有 %1 筆記錄，表中現有 %2 筆；請重新載入後再儲存</translation>
        </message>
        <message>
            <source>文件只有 %1 字节，容不下 %2 条记录（需 %3 字节）</source>
            <translation>檔案只有 %1 位元組，容不下 %2 筆記錄（需 %3 位元組）</translation>
        </message>
        <message>
            <source>文件第 %1 条记录的编号是 %2，此行是“%3”：此表的记录不能增删或改号</source>
            <translation>檔案第 %1 筆記錄的編號是 %2，此行是「%3」：此表的記錄不能增刪或改號</translation>
        </message>
        <message>
            <source>文件尚未读取，没有可保存的数值</source>
            <translation>檔案尚未讀取，沒有可儲存的數值</translation>
        </message>
        <message>
            <source>%1 未保存：%2</source>
            <translation>%1 未儲存：%2</translation>
        </message>
        <message>
            <source>%1 未保存：%2：%3</source>
            <translation>%1 未儲存：%2：%3</translation>
        </message>
        <message>
            <source>%1 保存失败：%2</source>
            <translation>%1 儲存失敗：%2</translation>
        </message>
        <message>
            <source>星座 %1 的名称</source>
            <translation>星座 %1 的名稱</translation>
        </message>
        <message>
            <source>星座 %1 的开始月</source>
            <translation>星座 %1 的開始月</translation>
        </message>
        <message>
            <source>星座 %1 的开始日</source>
            <translation>星座 %1 的開始日</translation>
        </message>
        <message>
            <source>难度 %1 能力需求 %2 的终点</source>
            <translation>難度 %1 能力需求 %2 的終點</translation>
        </message>
        <message>
            <source>难度 %1 能力需求 %2 的起点</source>
            <translation>難度 %1 能力需求 %2 的起點</translation>
        </message>
        <message>
            <source>能力值 %1</source>
            <translation>能力值 %1</translation>
        </message>
        <message>
            <source>%1 的通告期限</source>
            <translation>%1 的通告期限</translation>
        </message>
        <message>
            <source>%1 的一周工作</source>
            <translation>%1 的一週工作</translation>
        </message>
        <message>
            <source>%1 的完成需要</source>
            <translation>%1 的完成需要</translation>
        </message>
        <message>
            <source>文件头的记录长度 %1 放不下每条记录的三个数值，数值会互相覆盖</source>
            <translation>檔頭的記錄長度 %1 放不下每筆記錄的三個數值，數值會互相覆蓋</translation>
        </message>
        <message>
            <source>名称有 %1 字节，最多 %2 字节</source>
            <translation>名稱有 %1 位元組，最多 %2 位元組</translation>
        </message>
        <message>
            <source>无法读取文件：%1</source>
            <translation>無法讀取檔案：%1</translation>
        </message>
        <message>
            <source>保存后的文件会被误认作另一种记录格式：请检查此行的名称、性别、年龄和生日</source>
            <translation>儲存後的檔案會被誤認作另一種記錄格式：請檢查此行的名稱、性別、年齡和生日</translation>
        </message>
        <message>
            <source>与另一数值的位置重叠</source>
            <translation>與另一數值的位置重疊</translation>
        </message>
        <message>
            <source>名称为空</source>
            <translation>名稱為空</translation>
        </message>
        <message>
            <source>此格只写入前两个字节，%1 会读作 %2</source>
            <translation>此格只寫入前兩個位元組，%1 會讀作 %2</translation>
        </message>
        <message>
            <source>数值为空</source>
            <translation>數值為空</translation>
        </message>
    </context>
    <context>
        <name>Tools</name>
        <message>
            <source>cannot create %1</source>
            <translation>無法建立 %1</translation>
        </message>
        <message>
            <source>column %1</source>
            <translation>第 %1 欄</translation>
        </message>
        <message>
            <source>%1 cannot be unpacked (an unknown compression, or a damaged archive)</source>
            <translation>無法解壓縮 %1（未知的壓縮方式，或壓縮檔已損壞）</translation>
        </message>
        <message>
            <source>%1 is damaged (its checksum does not match)</source>
            <translation>%1 已損壞（總和檢查碼不符）</translation>
        </message>
        <message>
            <source>%1 is damaged and cannot be unpacked</source>
            <translation>%1 已損壞，無法解壓縮</translation>
        </message>
        <message>
            <source>%1 is encrypted</source>
            <translation>%1 已加密</translation>
        </message>
        <message>
            <source>%1 unpacks to %2 bytes, more than the %3 MiB a workbook part may have</source>
            <translation>%1 解壓縮後有 %2 位元組，超過活頁簿的一個部分最多可有的 %3 MiB</translation>
        </message>
        <message>
            <source>%1 unpacks to more than the %2 MiB a workbook part may have</source>
            <translation>%1 解壓縮後超過活頁簿的一個部分最多可有的 %2 MiB</translation>
        </message>
        <message>
            <source>%1, line %2: malformed XML: %3</source>
            <translation>%1 第 %2 行：XML 格式錯誤：%3</translation>
        </message>
        <message>
            <source>a ZIP archive, but neither an XLSX nor an OpenDocument spreadsheet</source>
            <translation>是 ZIP 壓縮檔，但既不是 XLSX 也不是 OpenDocument 試算表</translation>
        </message>
        <message>
            <source>cell %1 comes after a cell to its right</source>
            <translation>儲存格 %1 排在其右邊的儲存格之後</translation>
        </message>
        <message>
            <source>cell %1 in row %2 is not a cell of that row within the sheet</source>
            <translation>第 %2 列中的儲存格 %1 不是工作表中該列的儲存格</translation>
        </message>
        <message>
            <source>cell %1%2 holds a formula without its value (let a spreadsheet program compute and save it)</source>
            <translation>儲存格 %1%2 是沒有計算結果的公式（請讓試算表程式計算並儲存）</translation>
        </message>
        <message>
            <source>more than %1 rows</source>
            <translation>超過 %1 列</translation>
        </message>
        <message>
            <source>more than %1 shared strings</source>
            <translation>共用字串超過 %1 個</translation>
        </message>
        <message>
            <source>no temporary folder for the workbook: %1</source>
            <translation>沒有可用於活頁簿的暫存資料夾：%1</translation>
        </message>
        <message>
            <source>not a readable ZIP archive (cut short or damaged)</source>
            <translation>不是可讀取的 ZIP 壓縮檔（被截斷或已損壞）</translation>
        </message>
        <message>
            <source>row %1 comes after row %2</source>
            <translation>第 %1 列排在第 %2 列之後</translation>
        </message>
        <message>
            <source>row %1 has more than %2 cells</source>
            <translation>第 %1 列超過 %2 個儲存格</translation>
        </message>
        <message>
            <source>row %1 names shared string %2, which the workbook does not have</source>
            <translation>第 %1 列參照共用字串 %2，但活頁簿中沒有</translation>
        </message>
        <message>
            <source>row %1, column %2: </source>
            <translation>第 %1 列，第 %2 欄：</translation>
        </message>
        <message>
            <source>row number %1 is outside the sheet (1 to %2)</source>
            <translation>列號 %1 超出工作表（1 到 %2）</translation>
        </message>
        <message>
            <source>the entry of %1 in the archive is damaged</source>
            <translation>壓縮檔中 %1 的項目已損壞</translation>
        </message>
        <message>
            <source>the workbook cannot be made</source>
            <translation>無法建立活頁簿</translation>
        </message>
        <message>
            <source>the workbook cannot be read back: %1</source>
            <translation>無法讀回活頁簿：%1</translation>
        </message>
        <message>
            <source>the workbook cannot be written: %1%2</source>
            <translation>無法寫入活頁簿：%1%2</translation>
        </message>
        <message>
            <source>the text is longer than the %1 characters a cell holds</source>
            <translation>文字超過一個儲存格可容納的 %1 個字元</translation>
        </message>
        <message>
            <source>the workbook has no part %1</source>
            <translation>活頁簿中沒有 %1 部分</translation>
        </message>
        <message>
            <source>the workbook has no visible sheet</source>
            <translation>活頁簿中沒有可見的工作表</translation>
        </message>
        <message>
            <source>the workbook names no part for its first sheet</source>
            <translation>活頁簿沒有指明其第一個工作表的部分</translation>
        </message>
    </context>
</TS>
