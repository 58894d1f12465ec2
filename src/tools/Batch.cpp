#include "tools/Batch.h"

#include <QCoreApplication>
#include <QHash>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>

#include "storage/FileStore.h"
#include "tables/Producers.h"
#include "text/DiskFile.h"
#include "text/Big5.h"
#include "text/Convert.h"
#include "text/Language.h"
#include "tools/CsvImport.h"
#include "tools/CsvTable.h"
#include "tools/StandaloneCsv.h"
#include "tools/ToolTable.h"

namespace v3 {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Batch)
};

constexpr __int128 kUnit = 1000000;  // 10^Decimal::kPlaces

__int128 abs128(__int128 v) { return v < 0 ? -v : v; }

// v / d rounded to the nearest integer, an exact half to the even one (d > 0).
__int128 divideRounded(__int128 v, __int128 d) {
  __int128 q = v / d;
  const __int128 r = abs128(v % d);
  const int sign = v < 0 ? -1 : 1;
  if (r * 2 > d || (r * 2 == d && q % 2 != 0)) q += sign;
  return q;
}

QString integerText(__int128 v) {
  if (v == 0) return QStringLiteral("0");
  QString digits;
  for (__int128 a = abs128(v); a > 0; a /= 10) digits.prepend(QChar(u'0' + int(a % 10)));
  return v < 0 ? u'-' + digits : digits;
}

// The line without its comment, and with \# made a plain '#'.
QString withoutComment(const QString& line) {
  QString out;
  out.reserve(line.size());
  for (qsizetype i = 0; i < line.size(); ++i) {
    const QChar c = line[i];
    if (c == u'\\' && i + 1 < line.size() && (line[i + 1] == u'#' || line[i + 1] == u'\\')) {
      if (line[i + 1] == u'#')
        out += u'#';
      else
        out += QStringLiteral("\\\\");
      ++i;
    } else if (c == u'#' && (i == 0 || line[i - 1].isSpace())) {
      break;
    } else {
      out += c;
    }
  }
  return out.trimmed();
}

bool sameName(const QString& a, const QString& b) {
  const QString x = a.trimmed(), y = b.trimmed();
  return !x.isEmpty() && (x == y || ToTraditional(x) == ToTraditional(y));
}

// Column `text` as a number 1..K or by name; 0 with *reason when none.
int resolveColumn(const QString& text, const std::vector<QStringList>& names, int fieldCount, QString* reason) {
  const QString s = text.trimmed();
  if (s.isEmpty()) {
    *reason = Texts::tr("no column named");
    return 0;
  }
  bool isNumber = false;
  const int n = s.toInt(&isNumber);
  if (isNumber) {
    if (n >= 1 && n <= fieldCount) return n;
    *reason = Texts::tr("no column %1 (the table has columns 1 to %2)").arg(s).arg(fieldCount);
    return 0;
  }
  std::vector<int> found;
  for (size_t c = 0; c < names.size() && int(c) < fieldCount; ++c)
    for (const QString& name : names[c])
      if (sameName(name, s)) {
        found.push_back(int(c) + 1);
        break;
      }
  if (found.size() == 1) return found[0];
  if (found.empty()) {
    *reason = Texts::tr("no column is named %1").arg(s);
  } else {
    QStringList numbers;
    for (int c : found) numbers << QString::number(c);
    *reason = Texts::tr("%1 names columns %2: give the column's number").arg(s, numbers.join(Texts::tr(", ")));
  }
  return 0;
}

QStringList bothScripts(const QString& value) {
  QStringList texts{value};
  const QString traditional = ToTraditional(value);
  if (traditional != value) texts << traditional;
  return texts;
}

bool filterHolds(const BatchFilter& f, const QString& cell) {
  switch (f.op) {
    case BatchFilter::Equal:
    case BatchFilter::Differ: {
      const QString c = cell.trimmed();
      bool equal = f.texts.contains(c);
      Decimal d;
      if (!equal && f.hasNumber && Decimal::parse(c, &d)) equal = d.scaled == f.number.scaled;
      return equal == (f.op == BatchFilter::Equal);
    }
    case BatchFilter::Greater:
    case BatchFilter::Less: {
      Decimal d;
      if (!Decimal::parse(cell, &d)) return false;
      return f.op == BatchFilter::Greater ? d.scaled > f.number.scaled : d.scaled < f.number.scaled;
    }
    case BatchFilter::Contains:
      for (const QString& t : f.texts)
        if (cell.contains(t)) return true;
      return false;
  }
  return false;
}

// The cell after the set, or false with *reason.
bool carryOut(const BatchSet& s, const QStringList& cells, QString* out, QString* reason) {
  switch (s.op) {
    case BatchSet::Assign: *out = s.text; return true;
    case BatchSet::Copy: *out = cells.value(s.source - 1); return true;
    case BatchSet::Add:
    case BatchSet::Subtract:
    case BatchSet::Multiply: break;
  }
  const QString cell = cells.value(s.column - 1);
  Decimal now;
  if (cell.trimmed().isEmpty()) {
    now.scaled = 0;  // a save counts an empty cell as 0
  } else if (!Decimal::parse(cell, &now)) {
    *reason = Texts::tr("%1 is not a number").arg(cell);
    return false;
  }
  __int128 result = 0;
  if (s.op == BatchSet::Multiply)
    result = divideRounded(now.scaled * s.operand.scaled, kUnit * kUnit);
  else
    result =
        divideRounded(s.op == BatchSet::Add ? now.scaled + s.operand.scaled : now.scaled - s.operand.scaled, kUnit);
  *out = integerText(result);
  return true;
}

// Whether every filter holds for the record.
bool picks(const BatchProgram& program, const QStringList& cells) {
  for (const BatchFilter& f : program.filters)
    if (!filterHolds(f, cells.value(f.column - 1))) return false;
  return true;
}

// The record's cells once the sets are carried out (*now), with the set that
// wrote each column last; false, told to `refuse`, when one cannot be.
bool carryOutSets(const BatchProgram& program, const QStringList& cells, int fieldCount, QStringList* now,
                  std::map<int, const BatchSet*>* madeBy,
                  const std::function<void(int column, int line, const QString& reason)>& refuse) {
  *now = cells;
  while (now->size() < fieldCount) *now << QString();
  for (const BatchSet& s : program.sets) {
    QString value, reason;
    if (!carryOut(s, *now, &value, &reason)) {
      refuse(s.column, s.line, reason);
      return false;
    }
    (*now)[s.column - 1] = value;
    (*madeBy)[s.column] = &s;
  }
  return true;
}

// What a table's cells are encoded with.
struct EncodeContext {
  CodecContext ctx;
  ProducerDirectory producers;
  QString error;
  EncodeContext(const TableDef& table, const QString& folder, Script systemScript) : ctx(systemScript, folder) {
    if (table.codec && table.codec->needsProducers()) {
      producers = ProducerDirectory::load(folder);
      ctx.producers = &producers;
      error = producers.readError();
    }
  }
};

// The first cell of the record among `changed` that a save would refuse.
std::optional<CellProblem> problemOf(const TableDef& table, const EncodeContext& c, const TableRecord& record,
                                     const QByteArray& existing, const std::vector<int>& changed) {
  QByteArray out;
  std::optional<CellProblem> p = table.codec->encode({&record}, existing, c.ctx, &out);
  // A record alone can trip over what only concerns the table as a whole;
  // the save itself tells of that.
  if (p && std::find(changed.begin(), changed.end(), p->column) == changed.end()) return std::nullopt;
  return p;
}

// The integer nearest to `value` that the field holds, tried among the
// bounds of the widths the tables store numbers in.
std::optional<int64_t> clampInto(const TableDef& table, const EncodeContext& c, TableRecord record,
                                 const QByteArray& existing, int column, int64_t value) {
  static const IntWidth widths[] = {IntWidth::S32, IntWidth::S16, IntWidth::U8};
  for (IntWidth w : widths) {
    const int64_t bound = value > 0 ? MaxOf(w) : MinOf(w);
    if (value > 0 ? bound >= value : bound <= value) continue;
    record.cells[column - 1] = IntegerText(bound);
    QByteArray out;
    const std::optional<CellProblem> p = table.codec->encode({&record}, existing, c.ctx, &out);
    if (!p || p->column != column) return bound;
  }
  return std::nullopt;
}

}  // namespace

QString BatchError::message() const { return line > 0 ? Texts::tr("line %1: %2").arg(line).arg(reason) : reason; }

bool Decimal::parse(const QString& text, Decimal* out) {
  const QString t = text.trimmed();
  qsizetype i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) negative = t[i++] == u'-';
  __int128 whole = 0, fraction = 0;
  int wholeDigits = 0, places = 0;
  for (; i < t.size() && t[i] >= u'0' && t[i] <= u'9'; ++i, ++wholeDigits) {
    if (wholeDigits >= 12) return false;
    whole = whole * 10 + (t[i].unicode() - u'0');
  }
  if (i < t.size() && t[i] == u'.') {
    for (++i; i < t.size() && t[i] >= u'0' && t[i] <= u'9'; ++i, ++places) {
      if (places >= kPlaces) return false;
      fraction = fraction * 10 + (t[i].unicode() - u'0');
    }
  }
  if (i != t.size() || wholeDigits + places == 0) return false;
  for (int p = places; p < kPlaces; ++p) fraction *= 10;
  out->scaled = (whole * kUnit + fraction) * (negative ? -1 : 1);
  return true;
}

__int128 Decimal::rounded() const { return divideRounded(scaled, kUnit); }

std::vector<QStringList> BatchColumnNames(const LanguageFile& texts, const QString& tableFileName, int fieldCount) {
  std::vector<QStringList> names(size_t(std::max(fieldCount, 0)));
  for (const QStringList& header : HeaderLinesOfBothScripts(texts, tableFileName, fieldCount))
    for (qsizetype c = 0; c < header.size() && c < fieldCount; ++c)
      if (!header[c].trimmed().isEmpty() && !names[size_t(c)].contains(header[c].trimmed()))
        names[size_t(c)] << header[c].trimmed();
  return names;
}

bool ParseBatch(const QString& text, const std::vector<QStringList>& columnNames, int fieldCount, BatchProgram* program,
                BatchError* error) {
  *program = BatchProgram{};
  const QStringList lines = text.split(u'\n');
  auto fail = [error](int line, const QString& reason) {
    *error = {line, reason};
    return false;
  };
  for (qsizetype n = 0; n < lines.size(); ++n) {
    const int lineNo = int(n) + 1;
    QString line = withoutComment(lines[n]);
    if (line.isEmpty()) continue;
    const QChar kind = line[0];
    QString rest = line.mid(1);
    QString reason;
    if (kind == u'.') {
      BatchSet s;
      s.line = lineNo;
      static const QString clampWord = QStringLiteral("!clamp");
      if (rest.endsWith(clampWord) && rest.size() > clampWord.size() &&
          rest[rest.size() - clampWord.size() - 1].isSpace()) {
        s.clamp = true;
        rest = rest.chopped(clampWord.size()).trimmed();
      }
      const qsizetype eq = rest.indexOf(u'=');
      if (eq < 0) return fail(lineNo, Texts::tr("a set needs '=' (.COLUMN=VALUE)"));
      qsizetype columnEnd = eq;
      if (eq > 0 && (rest[eq - 1] == u'+' || rest[eq - 1] == u'-' || rest[eq - 1] == u'*')) {
        s.op = rest[eq - 1] == u'+' ? BatchSet::Add : rest[eq - 1] == u'-' ? BatchSet::Subtract : BatchSet::Multiply;
        columnEnd = eq - 1;
      }
      if (!(s.column = resolveColumn(rest.left(columnEnd), columnNames, fieldCount, &reason)))
        return fail(lineNo, reason);
      const QString value = rest.mid(eq + 1).trimmed();
      if (s.op != BatchSet::Assign) {
        if (!Decimal::parse(value, &s.operand))
          return fail(lineNo, Texts::tr("%1 is not a number (up to 12 digits and 6 decimals)").arg(value));
      } else if (value.startsWith(u'$')) {
        s.op = BatchSet::Copy;
        if (!(s.source = resolveColumn(value.mid(1), columnNames, fieldCount, &reason))) return fail(lineNo, reason);
      } else {
        s.text = CsvUnescapeCell(value.startsWith(QStringLiteral("\\$")) ? value.mid(1) : value);
      }
      program->sets.push_back(s);
      continue;
    }
    BatchFilter f;
    f.line = lineNo;
    switch (kind.unicode()) {
      case u'=': f.op = BatchFilter::Equal; break;
      case u'!': f.op = BatchFilter::Differ; break;
      case u'>': f.op = BatchFilter::Greater; break;
      case u'<': f.op = BatchFilter::Less; break;
      case u'~': f.op = BatchFilter::Contains; break;
      default:
        return fail(
            lineNo,
            Texts::tr("not an instruction: a line starts with = ! > < ~ (a filter), . (a set) or # (a comment)"));
    }
    const qsizetype eq = rest.indexOf(u'=');
    if (eq < 0) return fail(lineNo, Texts::tr("a filter needs '=' (%1COLUMN=VALUE)").arg(kind));
    if (!(f.column = resolveColumn(rest.left(eq), columnNames, fieldCount, &reason))) return fail(lineNo, reason);
    const QString value = CsvUnescapeCell(rest.mid(eq + 1).trimmed());
    if (f.op == BatchFilter::Contains && value.isEmpty()) return fail(lineNo, Texts::tr("~ needs a text to look for"));
    f.texts = bothScripts(value);
    f.hasNumber = Decimal::parse(value, &f.number);
    if ((f.op == BatchFilter::Greater || f.op == BatchFilter::Less) && !f.hasNumber)
      return fail(lineNo, Texts::tr("%1 is not a number (up to 12 digits and 6 decimals)").arg(value));
    program->filters.push_back(f);
  }
  return true;
}

QStringList BatchResult::refusalLines(const ToolTable& t) const {
  const QString tableFileName = t.fileName();
  QStringList out;
  for (const BatchRefusal& r : refusals) {
    QString where = Texts::tr("%1: record %2 (row %3), column %4 (%5)")
                        .arg(tableFileName, r.key)
                        .arg(r.row)
                        .arg(r.column)
                        .arg(t.columnName(r.column));
    if (r.line > 0) where += Texts::tr(", line %1").arg(r.line);
    out << where + QStringLiteral(": ") + r.reason;
  }
  return out;
}

BatchResult RunBatch(const BatchProgram& program, const TableDef& table, const QString& folder, Script systemScript,
                     const RecordStore& grid, const QByteArray* existingFile, const Progress& progress) {
  BatchResult result;
  const ToolTable tool{&table, nullptr, {}};
  const EncodeContext context(table, folder, systemScript);
  bool exists = false;
  QString readError;
  const QByteArray existing =
      existingFile ? *existingFile : FileStore::disk().read(DataFilePath(folder, table.fileName), &exists, &readError);
  for (int row = 1; row <= grid.recordCount(); ++row) {
    if (row % 256 == 0 && !Report(progress, row - 1, grid.recordCount())) {
      result = BatchResult{};
      result.stopped = true;
      return result;
    }
    const QStringList& cells = grid.record(row);
    if (!picks(program, cells)) continue;
    result.matched.push_back(row);
    QStringList now;
    std::map<int, const BatchSet*> madeBy;  // column -> the last set that wrote it
    auto refuse = [&](int column, int line, const QString& reason) {
      result.refusals.push_back({row, RecordKey(tool, cells, row), column, line, reason});
    };
    bool failed = false;
    if (!carryOutSets(program, cells, grid.fieldCount(), &now, &madeBy, refuse)) continue;
    std::vector<int> changed;
    for (int c = 1; c <= grid.fieldCount(); ++c)
      if (now[c - 1] != cells.value(c - 1)) changed.push_back(c);
    if (changed.empty()) continue;
    if (!table.codec || !context.error.isEmpty()) {
      refuse(changed.front(), 0, table.codec ? context.error : Texts::tr("this table cannot be saved"));
      continue;
    }
    // The record as the save would see it, checked cell by cell.
    TableRecord record = grid.rowAt(row);
    record.cells = now;
    for (int guard = 0; guard <= grid.fieldCount(); ++guard) {
      const std::optional<CellProblem> p = problemOf(table, context, record, existing, changed);
      if (!p) break;
      const auto by = madeBy.find(p->column);
      const BatchSet* set = by == madeBy.end() ? nullptr : by->second;
      int64_t value = 0;
      std::optional<int64_t> within;
      if (set && set->clamp && IsPlainInteger(record.cells[p->column - 1], &value))
        within = clampInto(table, context, record, existing, p->column, value);
      if (!within) {
        refuse(p->column, set ? set->line : 0, p->reason);
        failed = true;
        break;
      }
      record.cells[p->column - 1] = IntegerText(*within);
      ++result.clamped;
    }
    if (failed) continue;
    for (int c : changed)
      if (record.cells[c - 1] != cells.value(c - 1)) result.edits.push_back({row, c, record.cells[c - 1]});
  }
  return result;
}

std::vector<QStringList> BatchColumnNames(const ToolTable& table) {
  if (table.grid) return BatchColumnNames(table.texts, table.fileName(), table.fieldCount());
  const int k = table.fieldCount();
  std::vector<QStringList> names(size_t(std::max(k, 0)));
  auto add = [&names, k](const QStringList& header) {
    for (qsizetype c = 0; c < header.size() && c < k; ++c)
      if (!header[c].trimmed().isEmpty() && !names[size_t(c)].contains(header[c].trimmed()))
        names[size_t(c)] << header[c].trimmed();
  };
  const auto header = [&table](const LanguageFile& file) { return StandaloneHeader(table.standalone->kind, file); };
  for (const QStringList& h : HeaderLinesOfBothScripts(table.texts, header)) add(h);
  // The window's design texts name the columns also where the language files give other captions.
  for (const QStringList& h : HeaderLinesOfBothScripts(LanguageFile(), header)) add(h);
  return names;
}

namespace {

// A standalone table with one record's values set.
void setRecord(StandaloneTable& table, int row, const QStringList& cells) {
  const int k = StandaloneColumnCount(table.kind());
  const std::vector<TableValue>& values = table.values();
  std::vector<QString> boxes;
  for (int c = 0; c < k; ++c) boxes.push_back(values[size_t((row - 1) * k + c)].box);
  for (int c = 0; c < k; ++c) table.setText(boxes[size_t(c)], cells.value(c));
}

// The first changed column of the record that the save refuses or would
// not read back as given (0: none), with the reason.
int standaloneProblem(const StandaloneTable& table, int row, const QStringList& cells, const QByteArray& existing,
                      const std::vector<int>& changed, QString* reason) {
  StandaloneTable copy = table;
  setRecord(copy, row, cells);
  QByteArray out;
  const StandaloneSave o = copy.patch(existing, &out);
  const int k = StandaloneColumnCount(table.kind());
  if (!o.ok()) {
    *reason = o.reason;
    for (int c = 1; c <= k; ++c)
      if (!o.box.isEmpty() && copy.values()[size_t((row - 1) * k + c - 1)].box == o.box) return c;
    return changed.front();  // the file as a whole
  }
  StandaloneTable reread(table.kind(), table.systemScript());
  reread.loadBytes(out);
  const std::vector<QStringList> rows = StandaloneRows(reread);
  const QStringList read = size_t(row) <= rows.size() ? rows[size_t(row - 1)] : QStringList();
  for (int c : changed) {
    const QString wanted = CsvEscapeCell(cells.value(c - 1)), got = CsvEscapeCell(read.value(c - 1));
    if (got == wanted || got == ToTraditional(wanted)) continue;
    *reason =
        Texts::tr("a save does not store %1 here: the file would read %2")
            .arg(wanted.isEmpty() ? QStringLiteral("\"\"") : wanted, got.isEmpty() ? QStringLiteral("\"\"") : got);
    return c;
  }
  return 0;
}

}  // namespace

BatchResult RunStandaloneBatch(const BatchProgram& program, const StandaloneTable& table, const QByteArray& existing) {
  BatchResult result;
  const ToolTable tool{nullptr, &table.info(), {}};
  const int k = StandaloneColumnCount(table.kind());
  const std::vector<QStringList> rows = StandaloneRows(table);
  for (int row = 1; row <= int(rows.size()); ++row) {
    const QStringList& cells = rows[size_t(row - 1)];
    if (!picks(program, cells)) continue;
    result.matched.push_back(row);
    QStringList now;
    std::map<int, const BatchSet*> madeBy;
    auto refuse = [&](int column, int line, const QString& reason) {
      result.refusals.push_back({row, RecordKey(tool, cells, row), column, line, reason});
    };
    if (!carryOutSets(program, cells, k, &now, &madeBy, refuse)) continue;
    std::vector<int> changed;
    for (int c = 1; c <= k; ++c)
      if (now[c - 1] != cells.value(c - 1)) changed.push_back(c);
    if (changed.empty()) continue;
    bool failed = false;
    for (int guard = 0; guard <= k; ++guard) {
      QString reason;
      const int column = standaloneProblem(table, row, now, existing, changed, &reason);
      if (column == 0) break;
      const auto by = madeBy.find(column);
      const BatchSet* set = by == madeBy.end() ? nullptr : by->second;
      int64_t value = 0;
      std::optional<int64_t> within;
      if (set && set->clamp && IsPlainInteger(now[column - 1], &value)) {
        // The nearest bound of the widths the file stores numbers in that the save takes.
        static const IntWidth widths[] = {IntWidth::S32, IntWidth::S16, IntWidth::U8};
        for (IntWidth w : widths) {
          const int64_t bound = value > 0 ? MaxOf(w) : MinOf(w);
          if (value > 0 ? bound >= value : bound <= value) continue;
          QStringList tried = now;
          tried[column - 1] = IntegerText(bound);
          QString ignored;
          if (standaloneProblem(table, row, tried, existing, {column}, &ignored) == 0) {
            within = bound;
            break;
          }
        }
      }
      if (!within) {
        refuse(column, set ? set->line : 0, reason);
        failed = true;
        break;
      }
      now[column - 1] = IntegerText(*within);
      ++result.clamped;
    }
    if (failed) continue;
    for (int c : changed)
      if (now[c - 1] != cells.value(c - 1)) result.edits.push_back({row, c, now[c - 1]});
  }
  return result;
}

namespace {

// The changes of `result` as diff reports them; `record(r)` gives row r's cells.
TableDifference differenceOf(const ToolTable& tool, int count, const std::function<const QStringList&(int)>& record,
                             const BatchResult& result) {
  TableDifference d;
  d.table = tool;
  QHash<QString, int> seen;
  std::vector<int> occurrence(size_t(count) + 1, 0);
  for (int r = 1; r <= count; ++r) occurrence[size_t(r)] = ++seen[RecordKey(tool, record(r), r)];
  for (const RecordStore::CellEdit& e : result.edits) {
    if (d.records.empty() || d.records.back().rowA != e.row) {
      RecordDifference r;
      r.kind = RecordDifference::Changed;
      r.key = RecordKey(tool, record(e.row), e.row);
      r.occurrence = occurrence[size_t(e.row)];
      r.rowA = r.rowB = e.row;
      d.records.push_back(r);
    }
    d.records.back().changes.push_back({e.column, record(e.row).value(e.column - 1), e.text});
  }
  return d;
}

}  // namespace

TableDifference BatchDifference(const ToolTable& tool, const RecordStore& grid, const BatchResult& result) {
  return differenceOf(
      tool, grid.recordCount(), [&grid](int r) -> const QStringList& { return grid.record(r); }, result);
}

TableDifference BatchDifference(const ToolTable& tool, const std::vector<QStringList>& rows,
                                const BatchResult& result) {
  return differenceOf(
      tool, int(rows.size()), [&rows](int r) -> const QStringList& { return rows[size_t(r - 1)]; }, result);
}

}  // namespace v3
