#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <algorithm>
#include <cctype>

#include "storage/FileStore.h"
#include "tables/ChoiceLists.h"
#include "tables/Table.h"
#include "text/DiskFile.h"
#include "tools/CsvCells.h"
#include "tools/Workbook.h"

namespace v3 {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Tools)
};

// A plain integer as a number cell writes it back: no leading zero, no
// sign on zero, at most 15 digits (all of them exact in a double).
bool plainInteger(const QString& cell, int64_t* value) {
  qsizetype i = cell.startsWith(u'-') ? 1 : 0;
  const qsizetype digits = cell.size() - i;
  if (digits < 1 || digits > 15 || (cell[i] == u'0' && (digits > 1 || i == 1))) return false;
  for (qsizetype k = i; k < cell.size(); ++k)
    if (cell[k] < u'0' || cell[k] > u'9') return false;
  *value = cell.toLongLong();
  return true;
}

// A text cell's text: the escapes of a CSV cell (a cell that reads as a
// spreadsheet's protection is protected once more, as an import takes it
// off), and the characters XML cannot carry, or would read as another line
// end (a CR), as \xHH.
QString sheetText(const QString& cell) {
  QString t = CsvProtectCell(CsvEscapeCell(cell), false);
  for (qsizetype i = 0; i < t.size(); ++i) {
    const char16_t c = t[i].unicode();
    if ((c < 0x20 && c != u'\t' && c != u'\n') || c == 0xFFFE || c == 0xFFFF) {
      const QString hex = QStringLiteral("\\x") + QString::number(uint(c & 0xFF), 16).toUpper().rightJustified(2, u'0');
      t.replace(i, 1, hex);
      i += hex.size() - 1;
    }
  }
  // A text that reads as OOXML's own escape of a character (_x0041_) has
  // its underscore escaped, as the format asks.
  for (qsizetype at = t.indexOf(QLatin1String("_x")); at >= 0; at = t.indexOf(QLatin1String("_x"), at + 1)) {
    bool hex = at + 6 < t.size() && t[at + 6] == u'_';
    for (qsizetype i = at + 2; hex && i < at + 6; ++i) hex = t[i].unicode() < 128 && isxdigit(t[i].unicode());
    if (hex) {
      t.replace(at, 1, QStringLiteral("_x005F_"));
      at += 6;
    }
  }
  return t;
}

// How many character widths a text takes on the screen: the characters of
// East Asian scripts two, the others one.
int shownWidth(const QString& text) {
  int w = 0;
  for (const QChar c : text) {
    if (c.isLowSurrogate()) continue;
    w += c.unicode() >= 0x1100 && (c.unicode() <= 0x115F || c.unicode() >= 0x2E80) ? 2 : 1;
  }
  return w;
}

// The letters of a column (0-based) in a cell reference.
QByteArray columnLetters(int column) {
  QByteArray letters;
  for (int c = column + 1; c > 0; c = (c - 1) / 26) letters.prepend(char('A' + (c - 1) % 26));
  return letters;
}

QString lxwReason(lxw_error e) { return QString::fromUtf8(lxw_strerror(e)); }

}  // namespace

std::vector<SheetColumn> SheetColumns(const ToolTable& table, const QString& folder) {
  const QStringList header = table.header();
  std::vector<SheetColumn> columns(size_t(table.fieldCount()));
  QStringList producers;
  bool producersRead = false;
  for (int c = 1; c <= table.fieldCount(); ++c) {
    SheetColumn& col = columns[size_t(c - 1)];
    col.header = header.value(c - 1);
    if (table.standalone) {
      // Every value of a standalone table is a number but a sign's name.
      col.number = !(table.standalone->kind == StandaloneKind::Cons && c == 1);
      col.min = -2147483647 - 1;
      col.max = 2147483647;
      continue;
    }
    const ColumnShape shape = table.grid->codec->columnShape(c);
    col.number = shape.kind == ColumnShape::Kind::Number;
    col.min = shape.min;
    col.max = shape.max;
    col.choices = shape.choices;
    if (shape.producerChoices) {
      if (!producersRead) {
        bool exists = false;
        QString error;
        const QByteArray tab = FileStore::disk().read(DataFilePath(folder, QStringLiteral("Producer.tab")), &exists, &error);
        for (const QString& name : ProducerListFromFile(tab))
          if (!name.isEmpty() && !producers.contains(name)) producers << name;
        producersRead = true;
      }
      col.choices = producers;
    }
  }
  return columns;
}

bool RecordsToXlsx(const std::vector<QStringList>& records, const std::vector<SheetColumn>& columns,
                   const QString& sheetName, QByteArray* xlsx, QString* error) {
  QTemporaryDir dir;
  if (!dir.isValid()) {
    *error = Texts::tr("no temporary folder for the workbook: %1").arg(dir.errorString());
    return false;
  }
  const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("sheet.xlsx")));
  QByteArray tmp = QFile::encodeName(dir.path());
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;  // rows go to a file as they are written
  options.tmpdir = tmp.data();
  lxw_workbook* book = workbook_new_opt(path.constData(), &options);
  if (!book) {
    *error = Texts::tr("the workbook cannot be made");
    return false;
  }
  lxw_error failed = LXW_NO_ERROR;
  QString where;
  auto check = [&](lxw_error e, int row = -1, int column = -1) {
    if (e != LXW_NO_ERROR && failed == LXW_NO_ERROR) {
      failed = e;
      if (row >= 0) where = Texts::tr("row %1, column %2: ").arg(row + 1).arg(column + 1);
    }
    return e == LXW_NO_ERROR;
  };

  lxw_worksheet* sheet = workbook_add_worksheet(book, sheetName.left(31).toUtf8().constData());
  lxw_format* textFormat = workbook_add_format(book);
  format_set_num_format(textFormat, "@");  // what is typed into a text column stays text
  lxw_format* headerFormat = workbook_add_format(book);
  format_set_bold(headerFormat);
  format_set_num_format(headerFormat, "@");

  const int k = int(columns.size());
  bool named = false;
  for (const SheetColumn& c : columns) named = named || !c.header.trimmed().isEmpty();
  const int first = named ? 1 : 0;  // the sheet row of the first record

  // Widths that fit the header and the cells, within bounds.
  std::vector<int> widths(size_t(k), 4);
  for (int c = 0; c < k; ++c) widths[size_t(c)] = std::max(widths[size_t(c)], shownWidth(columns[size_t(c)].header));
  for (const QStringList& r : records)
    for (int c = 0; c < k && c < r.size(); ++c)
      if (int& w = widths[size_t(c)]; w < 60 && r[c].size() * 2 > w) w = std::max(w, shownWidth(r[c]));
  for (int c = 0; c < k; ++c)
    check(worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), std::min(widths[size_t(c)], 60) + 2.0,
                               columns[size_t(c)].number ? nullptr : textFormat));

  // Lists on a hidden sheet, one column each (written a row at a time, as
  // the workbook's rows go to their file); a number column takes the field's range.
  std::vector<const QStringList*> listed;
  qsizetype longest = 0;
  for (const SheetColumn& col : columns)
    if (!col.choices.isEmpty()) {
      listed.push_back(&col.choices);
      longest = std::max(longest, col.choices.size());
    }
  if (!listed.empty()) {
    lxw_worksheet* lists = workbook_add_worksheet(book, "Lists");
    if (lists) {
      worksheet_hide(lists);
      for (qsizetype i = 0; i < longest; ++i)
        for (size_t l = 0; l < listed.size(); ++l)
          if (i < listed[l]->size())
            check(worksheet_write_string(lists, lxw_row_t(i), lxw_col_t(l), sheetText(listed[l]->at(i)).toUtf8().constData(),
                                         nullptr));
    }
  }
  int listColumn = 0;
  for (int c = 0; c < k && sheet; ++c) {
    const SheetColumn& col = columns[size_t(c)];
    lxw_data_validation v{};
    QByteArray formula;
    if (!col.choices.isEmpty()) {
      const QByteArray letters = columnLetters(listColumn);
      formula = "=Lists!$" + letters + "$1:$" + letters + "$" + QByteArray::number(col.choices.size());
      ++listColumn;
      v.validate = LXW_VALIDATION_TYPE_LIST_FORMULA;
      v.value_formula = formula.data();
      v.error_type = LXW_VALIDATION_ERROR_TYPE_WARNING;  // a value without a word is stored as its number
    } else if (col.number) {
      v.validate = LXW_VALIDATION_TYPE_INTEGER;
      v.criteria = LXW_VALIDATION_CRITERIA_BETWEEN;
      v.minimum_number = double(col.min);
      v.maximum_number = double(col.max);
      v.error_type = LXW_VALIDATION_ERROR_TYPE_STOP;
    } else {
      continue;
    }
    check(worksheet_data_validation_range(sheet, lxw_row_t(first), lxw_col_t(c), LXW_ROW_MAX - 1, lxw_col_t(c), &v));
  }

  if (named) {
    for (int c = 0; c < k; ++c)
      check(worksheet_write_string(sheet, 0, lxw_col_t(c), sheetText(columns[size_t(c)].header).toUtf8().constData(),
                                   headerFormat),
            0, c);
    worksheet_freeze_panes(sheet, 1, 0);
  }
  QByteArray utf8;
  for (size_t r = 0; r < records.size() && failed == LXW_NO_ERROR; ++r) {
    const QStringList& record = records[r];
    const lxw_row_t row = lxw_row_t(first + int(r));
    for (int c = 0; c < k && c < record.size(); ++c) {
      const QString& cell = record[c];
      if (cell.isEmpty()) continue;
      int64_t value = 0;
      if (columns[size_t(c)].number && plainInteger(cell, &value)) {
        check(worksheet_write_number(sheet, row, lxw_col_t(c), double(value), nullptr), int(row), c);
      } else {
        utf8 = sheetText(cell).toUtf8();
        check(worksheet_write_string(sheet, row, lxw_col_t(c), utf8.constData(), textFormat), int(row), c);
      }
    }
  }
  const lxw_error closed = workbook_close(book);
  if (failed == LXW_NO_ERROR) failed = closed;
  if (failed != LXW_NO_ERROR) {
    *error = Texts::tr("the workbook cannot be written: %1%2").arg(where, lxwReason(failed));
    return false;
  }
  QFile file(QString::fromLocal8Bit(path));
  if (!file.open(QIODevice::ReadOnly)) {
    *error = Texts::tr("the workbook cannot be read back: %1").arg(file.errorString());
    return false;
  }
  *xlsx = file.readAll();
  if (xlsx->size() != file.size()) {
    *error = Texts::tr("the workbook cannot be read back: %1").arg(file.errorString());
    return false;
  }
  return true;
}

}  // namespace v3
