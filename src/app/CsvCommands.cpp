#include "app/CsvCommands.h"

#include "app/Texts.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGuiApplication>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>

#include "app/GridCommands.h"
#include "app/MainWindow.h"
#include "app/Messages.h"
#include "app/Progress.h"
#include "app/UiFront.h"
#include "model/TableIo.h"
#include "storage/FileStore.h"
#include "app/Catalogue.h"
#include "tools/StoredCells.h"
#include "tools/Workbook.h"

namespace v3 {
namespace {

// An export encodes this many records between two reports of its progress.
constexpr int kChunk = 2000;

QString tr(const Vantaro3& w, const QString& simplified) { return msg::Localised(w.script(), simplified); }

const TableDef* openTable(Vantaro3& w, UiFront& front) {
  const CatalogueEntry* entry = w.openEntry();
  const TableDef* table = entry ? entry->table() : nullptr;
  if (!table) front.message(&w, tr(w, QStringLiteral("请先打开一个数据表。")), UiFront::Icon::Information);
  return table;
}

// The formats a table file may have: a workbook (XLSX; an import reads ODS
// as well) or CSV.
QString exportFilter(const Vantaro3& w) {
  return tr(w, QStringLiteral("XLSX 工作簿 (*.xlsx);;CSV 文件 (*.csv);;所有文件 (*)"));
}
QString importFilter(const Vantaro3& w) {
  return tr(w, QStringLiteral("表格文件 (*.xlsx *.ods *.csv *.txt);;XLSX 工作簿 (*.xlsx);;ODS 电子表格 (*.ods);;"
                              "CSV 文件 (*.csv *.txt);;所有文件 (*)"));
}

bool isWorkbookName(const QString& path) {
  return QFileInfo(path).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0;
}

}  // namespace

CsvOptionsDialog::CsvOptionsDialog(bool exporting, Script script, QWidget* owner) : QDialog(owner) {
  auto t = [&script](const char16_t* s) { return msg::Localised(script, QString::fromUtf16(s)); };
  setObjectName(QStringLiteral("CsvOptions"));
  setWindowTitle(exporting ? t(u"导出 CSV") : t(u"导入 CSV"));
  auto* form = new QFormLayout(this);
  encoding_ = new QComboBox(this);
  encoding_->setObjectName(QStringLiteral("csvEncoding"));
  encoding_->addItem(QStringLiteral("UTF-8"), int(TextEncoding::Utf8));
  encoding_->addItem(QStringLiteral("GBK"), int(TextEncoding::Gbk));
  encoding_->addItem(QStringLiteral("Big5"), int(TextEncoding::Big5));
  form->addRow(t(u"编码："), encoding_);
  delimiter_ = new QComboBox(this);
  delimiter_->setObjectName(QStringLiteral("csvDelimiter"));
  if (!exporting) delimiter_->addItem(t(u"自动识别"), QChar());
  delimiter_->addItem(t(u"逗号 (,)"), QChar(u','));
  delimiter_->addItem(t(u"分号 (;)"), QChar(u';'));
  delimiter_->addItem(t(u"制表符"), QChar(u'\t'));
  form->addRow(t(u"分隔符："), delimiter_);
  if (exporting) {
    spreadsheet_ = new QCheckBox(t(u"供电子表格使用：文本单元格写成 =\"…\"，以免被转换为数字、日期或公式"), this);
    spreadsheet_->setObjectName(QStringLiteral("csvSpreadsheet"));
    form->addRow(spreadsheet_);
    header_ = new QCheckBox(t(u"第一行写入列标题"), this);
    header_->setObjectName(QStringLiteral("csvHeader"));
    form->addRow(header_);
    bom_ = new QCheckBox(t(u"写入 UTF-8 字节顺序标记（供电子表格程序识别）"), this);
    bom_->setObjectName(QStringLiteral("csvBom"));
    form->addRow(bom_);
    // The mark belongs to UTF-8 only.
    connect(encoding_, &QComboBox::currentIndexChanged, this, [this] {
      const bool utf8 = encoding_->currentData().toInt() == int(TextEncoding::Utf8);
      bom_->setEnabled(utf8);
      if (!utf8) bom_->setChecked(false);
    });
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(t(u"确定"));
  buttons->button(QDialogButtonBox::Cancel)->setText(t(u"取消"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  form->addRow(buttons);
}

CsvOptions CsvOptionsDialog::options() const {
  CsvOptions o;
  o.encoding = TextEncoding(encoding_->currentData().toInt());
  o.bom = bom_ && bom_->isChecked();
  o.delimiter = delimiter_->currentData().toChar();
  o.spreadsheetSafe = spreadsheet_ && spreadsheet_->isChecked();
  return o;
}

void AddCsvCommands(Vantaro3& window, QMenu* fileMenu, UiFront& front) {
  const bool traditional = window.script() == Script::Traditional;
  QAction* exportAction =
      fileMenu->addAction(traditional ? QStringLiteral("匯出表格檔案(&E)…") : QStringLiteral("导出表格文件(&E)…"));
  exportAction->setObjectName(QStringLiteral("mnu_csvExport"));
  QAction* importAction =
      fileMenu->addAction(traditional ? QStringLiteral("匯入表格檔案(&I)…") : QStringLiteral("导入表格文件(&I)…"));
  importAction->setObjectName(QStringLiteral("mnu_csvImport"));
  Vantaro3* w = &window;
  QObject::connect(fileMenu, &QMenu::aboutToShow, exportAction, [w, exportAction, importAction] {
    const CatalogueEntry* entry = w->openEntry();
    const TableDef* table = entry ? entry->table() : nullptr;
    exportAction->setEnabled(table != nullptr);
    importAction->setEnabled(table && !table->readOnly);
  });
  // The file first: its name says the format of an export (.xlsx a
  // workbook, anything else CSV), its content that of an import; only CSV
  // has options to ask for.
  QObject::connect(exportAction, &QAction::triggered, w, [w, &front] {
    if (!openTable(*w, front)) return;
    const QString path = front.chooseFile(w, tr(*w, QStringLiteral("导出表格文件")), exportFilter(*w), true);
    if (path.isEmpty()) return;
    if (isWorkbookName(path)) {
      ExportOpenTableXlsx(*w, path, front);
      return;
    }
    CsvOptionsDialog dialog(true, w->script(), w);
    if (dialog.exec() != QDialog::Accepted) return;
    CsvOptions options = dialog.options();
    if (dialog.headerBox()->isChecked())
      for (int c = 1; c <= w->grid().fieldCount(); ++c) options.header << w->grid().headerText(c);
    ExportOpenTableCsv(*w, path, options, front);
  });
  QObject::connect(importAction, &QAction::triggered, w, [w, &front] {
    if (!openTable(*w, front)) return;
    const QString path = front.chooseFile(w, tr(*w, QStringLiteral("导入表格文件")), importFilter(*w), false);
    if (path.isEmpty()) return;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && IsZipArchive(file.read(4))) {
      file.close();
      ImportOpenTableCsv(*w, path, CsvOptions(), front);
      return;
    }
    file.close();
    CsvOptionsDialog dialog(false, w->script(), w);
    if (dialog.exec() != QDialog::Accepted) return;
    ImportOpenTableCsv(*w, path, dialog.options(), front);
  });
}

namespace {

// Writes an exported table file in place of `path` and says so in the status line.
bool writeExported(Vantaro3& w, const QString& path, const QByteArray& bytes, const TableDef& table, size_t records,
                   UiFront& front) {
  QString error;
  if (!FileStore::disk().replace(path, bytes, &error)) {
    front.message(&w, tr(w, QStringLiteral("无法写入 %1：%2").arg(QDir::toNativeSeparators(path), error)),
                  UiFront::Icon::Warning);
    return false;
  }
  w.statusBar()->showMessage(
      tr(w,
         QStringLiteral("已导出 %1（%2 项）：%3").arg(table.fileName).arg(records).arg(QDir::toNativeSeparators(path))),
      10000);
  return true;
}

}  // namespace

bool ExportOpenTableCsv(Vantaro3& w, const QString& path, const CsvOptions& options, UiFront& front) {
  const TableDef* table = openTable(w, front);
  if (!table) return false;
  // In pieces, each piece's records decoded as it is written, so that the
  // progress dialog moves and 取消 stops the export before anything is
  // written; the header and the mark go first only.
  const RecordGrid& grid = w.grid();
  const int count = grid.recordCount();
  QByteArray csv;
  CsvRefusal refusal;
  bool refused = false, cancelled = false;
  {
    BusyCursor busy;
    ProgressDialogRun progress(&w, w.script(), QStringLiteral("正在导出 %1…").arg(table->fileName),
                               QStringLiteral("csvProgress"));
    CsvOptions piece = options;
    std::vector<QStringList> part;
    for (int first = 1; first <= count || first == 1; first += kChunk) {
      const int last = std::min(count, first + kChunk - 1);
      part.clear();
      for (int r = first; r <= last; ++r) part.push_back(grid.record(r));
      QByteArray bytes;
      if ((refused = !RecordsToCsv(part, piece, &bytes, &refusal))) {
        if (refusal.line > 0) refusal.line += first - 1 + (first > 1 && !options.header.isEmpty() ? 1 : 0);
        break;
      }
      csv += bytes;
      piece.header.clear();
      piece.bom = false;
      if ((cancelled = !progress.report(last, count)) || count == 0) break;
    }
  }
  // Told once the progress dialog is gone.
  if (refused) {
    front.message(
        &w,
        tr(w, QStringLiteral("%1 未导出：%2").arg(table->fileName, refusal.message(QDir::toNativeSeparators(path)))),
        UiFront::Icon::Warning);
    return false;
  }
  if (cancelled) {
    w.statusBar()->showMessage(tr(w, QStringLiteral("已取消导出 %1，未写入文件").arg(table->fileName)), 10000);
    return false;
  }
  return writeExported(w, path, csv, *table, size_t(count), front);
}

bool ExportOpenTableXlsx(Vantaro3& w, const QString& path, UiFront& front) {
  const TableDef* table = openTable(w, front);
  if (!table) return false;
  const std::vector<QStringList>& records = w.grid().records();
  ToolTable tool;
  tool.grid = table;
  tool.texts = w.texts();
  std::vector<SheetColumn> columns = SheetColumns(tool, w.dataFolder());
  for (int c = 1; c <= int(columns.size()); ++c) columns[size_t(c - 1)].header = w.grid().headerText(c);
  QByteArray xlsx;
  QString error;
  // A large table takes a few seconds (the workbook is compressed as it is written).
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  const bool made = RecordsToXlsx(records, columns, table->fileName, &xlsx, &error);
  QGuiApplication::restoreOverrideCursor();
  if (!made) {
    front.message(&w, tr(w, QStringLiteral("%1 未导出：%2").arg(table->fileName, error)), UiFront::Icon::Warning);
    return false;
  }
  return writeExported(w, path, xlsx, *table, records.size(), front);
}

bool ImportOpenTableCsv(Vantaro3& w, const QString& path, CsvOptions options, UiFront& front) {
  const TableDef* table = openTable(w, front);
  if (!table) return false;
  auto refuse = [&](const QString& simplified) {
    front.message(&w, tr(w, QStringLiteral("%1 未导入：%2").arg(table->fileName, simplified)), UiFront::Icon::Warning);
    return false;
  };
  if (table->readOnly) return refuse(QStringLiteral("此表为只读"));
  bool exists = false;
  QString error;
  const QByteArray bytes = FileStore::disk().read(path, &exists, &error);
  if (!exists) return refuse(QStringLiteral("找不到 %1").arg(QDir::toNativeSeparators(path)));
  if (!error.isEmpty()) return refuse(QStringLiteral("无法读取 %1：%2").arg(QDir::toNativeSeparators(path), error));

  RecordGrid& grid = w.grid();
  const int k = grid.fieldCount();
  options.knownHeaders = HeaderLinesOfBothScripts(w.texts(), table->fileName, k);
  ImportedRows imported;
  CsvRefusal refusal;
  const QString csvName = QFileInfo(path).fileName();
  bool read = false;
  {
    // A large file takes a while to read; 取消 leaves the table as it is.
    BusyCursor busy;
    ProgressDialogRun progress(&w, w.script(), QStringLiteral("正在读取 %1…").arg(csvName),
                               QStringLiteral("csvProgress"));
    options.progress = progress.callback();
    read = SheetFileToRecords(bytes, k, table->fileName, options, &imported, &refusal);
    options.progress = nullptr;
    if (progress.cancelled()) {
      w.statusBar()->showMessage(tr(w, QStringLiteral("已取消导入 %1，表格未改动").arg(table->fileName)), 10000);
      return false;
    }
  }
  if (!read) {
    const bool empty = refusal.noRecords && !options.allowEmpty;
    if (!empty) return refuse(refusal.message(csvName));
    // Emptying a table is what the user must ask for.
    if (!front.ask(&w, tr(w, QStringLiteral("%1 中没有记录。要清空 %2 的全部 %3 项记录吗？")
                                 .arg(csvName, table->fileName)
                                 .arg(grid.recordCount()))))
      return false;
    options.allowEmpty = true;
    if (!SheetFileToRecords(bytes, k, table->fileName, options, &imported, &refusal))
      return refuse(refusal.message(csvName));
  }
  const std::vector<QStringList>& records = imported.records;
  int ambiguous = -1;
  ImportCounts counts = CountReplace(grid, records, &ambiguous);
  counts.blank = imported.blankRows;
  if (ambiguous >= 0)
    return refuse(
        QStringLiteral("%1 第 %2 行：%3 有多项编号为 %4 的记录，这一行与其中任何一项都不同，无法确定它是哪一项")
            .arg(csvName)
            .arg(imported.lines[size_t(ambiguous)])
            .arg(table->fileName, records[size_t(ambiguous)].value(0)));

  // The save's own checks, on the records as the import leaves them: the
  // cells the CSV gives back as they are keep their bytes, as in the grid.
  {
    std::vector<TableRecord> now(grid.rows().begin(), grid.rows().end());
    RecordGrid check;
    check.resetRecords(k, MatchCsvRecords(records, now));
    QByteArray existing = FileStore::disk().read(DataFilePath(w.dataFolder(), table->fileName), &exists, &error);
    QByteArray out;
    const std::vector<int> order = SaveRowOrder(*table, check);
    SaveOutcome o = EncodeTable(*table, w.dataFolder(), w.systemScript(), check, order, existing, &out);
    // A changed cell in a column the save does not write is refused, not dropped.
    if (o.ok())
      if (const std::optional<CellProblem> p =
              FirstCellNotStored(*table, w.dataFolder(), w.systemScript(), check, order, out)) {
        return refuse(QStringLiteral("%1 第 %2 行，第 %3 列（%4）：%5")
                          .arg(csvName)
                          .arg(imported.lines[size_t(p->record - 1)])
                          .arg(p->column)
                          .arg(grid.headerText(p->column), p->reason));
      }
    if (!o.ok()) {
      const QString where = o.column > 0 ? QStringLiteral("%1 第 %2 项记录，第 %3 列（%4）")
                                               .arg(csvName)
                                               .arg(o.row)
                                               .arg(o.column)
                                               .arg(grid.headerText(o.column))
                                         : QStringLiteral("%1 第 %2 项记录").arg(csvName).arg(o.row);
      return refuse(QStringLiteral("%1：%2").arg(where, o.reason));
    }
  }

  // What the import does is told first; removing records needs a yes.
  const QString summary = QStringLiteral("修改 %1 项、新增 %2 项、删除 %3 项、未变 %4 项")
                              .arg(counts.changed)
                              .arg(counts.added)
                              .arg(counts.removed)
                              .arg(counts.unchanged) +
                          (counts.blank > 0 ? QStringLiteral("（跳过 %1 个空行）").arg(counts.blank) : QString());
  if (counts.removed > 0 && !records.empty() &&
      !front.ask(&w, tr(w, QStringLiteral("%1 比 %2 少了记录：导入将%3。要删除这 %4 项记录吗？")
                               .arg(csvName, table->fileName, summary)
                               .arg(counts.removed))))
    return false;

  {
    // The import is one step of the undo stack, however many changes it
    // makes; once it changes the table it is carried through.
    ProgressDialogRun progress(&w, w.script(), QStringLiteral("正在导入 %1…").arg(table->fileName),
                               QStringLiteral("csvProgress"));
    progress.setCancellable(false);
    UndoScope step(grid, QStringLiteral("导入表格文件"));
    ReplaceRecords(grid, records, [&progress, &records](int done) { progress.report(done, qint64(records.size())); });
  }
  w.updateSelectionLabel();
  w.statusBar()->showMessage(
      tr(w, QStringLiteral("已导入 %1 项记录到 %2（尚未保存）：%3").arg(records.size()).arg(table->fileName, summary)),
      10000);
  return true;
}

}  // namespace v3
