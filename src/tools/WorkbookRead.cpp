#include <QCoreApplication>
#include <QHash>
#include <QLocale>
#include <QXmlStreamReader>

#include <unzip.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "text/Convert.h"
#include "tools/Csv.h"
#include "tools/Workbook.h"

namespace v3 {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Tools)
};

// The most shared strings a workbook may list: more than a table has cells.
constexpr qsizetype kMaxSharedStrings = 4 * 1024 * 1024;

// The archive's bytes as minizip reads a file.
struct MemoryFile {
  const QByteArray* bytes = nullptr;
  qint64 pos = 0;
};

voidpf ZCALLBACK memoryOpen(voidpf opaque, const void*, int) {
  static_cast<MemoryFile*>(opaque)->pos = 0;
  return opaque;
}
uLong ZCALLBACK memoryRead(voidpf, voidpf stream, void* buf, uLong size) {
  auto* f = static_cast<MemoryFile*>(stream);
  const qint64 n = std::min<qint64>(qint64(size), f->bytes->size() - f->pos);
  if (n <= 0) return 0;
  std::memcpy(buf, f->bytes->constData() + f->pos, size_t(n));
  f->pos += n;
  return uLong(n);
}
uLong ZCALLBACK memoryWrite(voidpf, voidpf, const void*, uLong) { return 0; }
ZPOS64_T ZCALLBACK memoryTell(voidpf, voidpf stream) { return ZPOS64_T(static_cast<MemoryFile*>(stream)->pos); }
long ZCALLBACK memorySeek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  auto* f = static_cast<MemoryFile*>(stream);
  qint64 base = 0;
  if (origin == ZLIB_FILEFUNC_SEEK_CUR)
    base = f->pos;
  else if (origin == ZLIB_FILEFUNC_SEEK_END)
    base = f->bytes->size();
  if (offset > ZPOS64_T(f->bytes->size())) return -1;
  const qint64 to = base + qint64(offset);
  if (to < 0 || to > f->bytes->size()) return -1;
  f->pos = to;
  return 0;
}
int ZCALLBACK memoryClose(voidpf, voidpf) { return 0; }
int ZCALLBACK memoryError(voidpf, voidpf) { return 0; }

// A ZIP archive in memory, its parts read whole within kMaxWorkbookPart.
class Archive {
 public:
  explicit Archive(const QByteArray& bytes) {
    file_.bytes = &bytes;
    zlib_filefunc64_def io{};
    io.zopen64_file = memoryOpen;
    io.zread_file = memoryRead;
    io.zwrite_file = memoryWrite;
    io.ztell64_file = memoryTell;
    io.zseek64_file = memorySeek;
    io.zclose_file = memoryClose;
    io.zerror_file = memoryError;
    io.opaque = &file_;
    zip_ = unzOpen2_64("", &io);
  }
  ~Archive() {
    if (zip_) unzClose(zip_);
  }
  Archive(const Archive&) = delete;
  Archive& operator=(const Archive&) = delete;

  bool isOpen() const { return zip_ != nullptr; }
  bool has(const QString& name) const { return zip_ && unzLocateFile(zip_, name.toUtf8().constData(), 2) == UNZ_OK; }

  // The part's bytes; false with *error when it is missing, too large or damaged.
  bool read(const QString& name, QByteArray* out, QString* error) {
    out->clear();
    if (!has(name)) {
      *error = Texts::tr("the workbook has no part %1").arg(name);
      return false;
    }
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(zip_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
      *error = Texts::tr("the entry of %1 in the archive is damaged").arg(name);
      return false;
    }
    if (info.flag & 1) {
      *error = Texts::tr("%1 is encrypted").arg(name);
      return false;
    }
    if (info.uncompressed_size > ZPOS64_T(kMaxWorkbookPart)) {
      *error = Texts::tr("%1 unpacks to %2 bytes, more than the %3 MiB a workbook part may have")
                   .arg(name)
                   .arg(info.uncompressed_size)
                   .arg(kMaxWorkbookPart / (1024 * 1024));
      return false;
    }
    if (unzOpenCurrentFile(zip_) != UNZ_OK) {
      *error = Texts::tr("%1 cannot be unpacked (an unknown compression, or a damaged archive)").arg(name);
      return false;
    }
    out->reserve(qsizetype(std::min<ZPOS64_T>(info.uncompressed_size, 64 * 1024 * 1024)));
    char buffer[64 * 1024];
    int n = 0;
    while ((n = unzReadCurrentFile(zip_, buffer, sizeof buffer)) > 0) {
      if (out->size() + n > kMaxWorkbookPart) {
        unzCloseCurrentFile(zip_);
        out->clear();
        *error = Texts::tr("%1 unpacks to more than the %2 MiB a workbook part may have")
                     .arg(name)
                     .arg(kMaxWorkbookPart / (1024 * 1024));
        return false;
      }
      out->append(buffer, n);
    }
    const int closed = unzCloseCurrentFile(zip_);
    if (n < 0 || closed != UNZ_OK || ZPOS64_T(out->size()) != info.uncompressed_size) {
      out->clear();
      *error = closed == UNZ_CRCERROR ? Texts::tr("%1 is damaged (its checksum does not match)").arg(name)
                                      : Texts::tr("%1 is damaged and cannot be unpacked").arg(name);
      return false;
    }
    return true;
  }

 private:
  MemoryFile file_;
  unzFile zip_ = nullptr;
};

QStringView localAttribute(const QXmlStreamReader& xml, QLatin1StringView name) {
  const QXmlStreamAttributes attributes = xml.attributes();
  for (const QXmlStreamAttribute& a : attributes)
    if (a.name() == name) {
      // The view points into the reader's own attribute data, which lasts
      // until the next token.
      return a.value();
    }
  return {};
}

// An XML part, read with every refusal naming the part and its line.
class Part {
 public:
  Part(const QString& name, const QByteArray& bytes) : name_(name), xml_(bytes) {}
  QXmlStreamReader& xml() { return xml_; }
  // The next start or end element (text read by text()); false at the end or on an error.
  bool next() {
    while (!xml_.atEnd()) {
      switch (xml_.readNext()) {
        case QXmlStreamReader::StartElement:
        case QXmlStreamReader::EndElement: return true;
        case QXmlStreamReader::DTD:
          // Declarations of entities have no place in a workbook.
          xml_.raiseError(QStringLiteral("a document type declaration"));
          return false;
        default: break;
      }
    }
    return false;
  }
  bool isStart(QLatin1StringView name) const { return xml_.isStartElement() && xml_.name() == name; }
  bool isEnd(QLatin1StringView name) const { return xml_.isEndElement() && xml_.name() == name; }
  // An attribute by its local name, whatever its prefix.
  QStringView attribute(QLatin1StringView name) const { return localAttribute(xml_, name); }
  bool failed() const { return xml_.hasError(); }
  QString error() const {
    if (ownReason_) return QStringLiteral("%1, line %2: %3").arg(name_).arg(xml_.lineNumber()).arg(xml_.errorString());
    return Texts::tr("%1, line %2: malformed XML: %3").arg(name_).arg(xml_.lineNumber()).arg(xml_.errorString());
  }
  // Fails the reading with a reason of its own: well-formed XML that says
  // something a workbook cannot (a formula without its value, a cell out of
  // order).
  bool refuse(const QString& reason) {
    xml_.raiseError(reason);
    ownReason_ = true;
    return false;
  }

 private:
  QString name_;
  QXmlStreamReader xml_;
  bool ownReason_ = false;
};

// The _xHHHH_ escapes of OOXML text (characters XML cannot carry).
QString unescapeXlsxText(QString text) {
  if (!text.contains(QLatin1String("_x"))) return text;
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'_' && i + 6 < text.size() && text[i + 1] == u'x' && text[i + 6] == u'_') {
      bool ok = false;
      const uint code = text.mid(i + 2, 4).toUInt(&ok, 16);
      if (ok) {
        out += QChar(char16_t(code));
        i += 6;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

// The text of an element holding <t> runs (a shared string, an inline
// string), phonetic runs left out; the reader ends on the element's end.
QString runText(Part& part, QLatin1StringView element) {
  QString text;
  int phonetic = 0;
  while (part.next()) {
    if (part.isEnd(element)) break;
    if (part.isStart(QLatin1StringView("rPh")))
      ++phonetic;
    else if (part.isEnd(QLatin1StringView("rPh")))
      --phonetic;
    else if (part.isStart(QLatin1StringView("t"))) {
      const QString t = part.xml().readElementText();
      if (phonetic == 0) text += t;
    }
  }
  return unescapeXlsxText(text);
}

// A number cell's text: its digits as written, else the shortest decimal
// text of its value, never an exponent.
QString numberText(QStringView raw) {
  const QStringView v = raw.trimmed();
  qsizetype i = v.startsWith(u'-') ? 1 : 0;
  if (std::optional<QString> shared = SharedIntegerText(v)) return *shared;
  bool digits = v.size() > i;
  for (qsizetype k = i; k < v.size() && digits; ++k) digits = v[k] >= u'0' && v[k] <= u'9';
  if (digits) return v.toString();
  bool ok = false;
  const double d = v.toDouble(&ok);
  if (!ok || !qIsFinite(d)) return v.toString();
  if (d == 0) return QStringLiteral("0");
  return QString::number(d, 'f', QLocale::FloatingPointShortest);
}

// The letters of a column (0-based) in a cell reference.
QByteArray columnLetters(int column) {
  QByteArray letters;
  for (int c = column + 1; c > 0; c = (c - 1) / 26) letters.prepend(char('A' + (c - 1) % 26));
  return letters;
}

// "C5" -> column 2 (0-based) and row 5; false for anything else.
bool cellReference(QStringView ref, int* column, int* row) {
  qsizetype i = 0;
  qint64 c = 0;
  for (; i < ref.size() && ref[i].isLetter() && ref[i].unicode() < 128; ++i) {
    c = c * 26 + (ref[i].toUpper().unicode() - u'A' + 1);
    if (c > kMaxSheetColumns) return false;
  }
  if (i == 0) return false;
  bool ok = false;
  const qint64 r = ref.sliced(i).toLongLong(&ok);
  if (!ok || r < 1 || r > kMaxSheetRows) return false;
  *column = int(c - 1);
  *row = int(r);
  return true;
}

// What the reading of the sheet hands its rows to: blank rows between rows
// are handed over as empty rows, each row padded to the columns asked for.
class RowFeed {
 public:
  RowFeed(int columns, const std::function<bool(QStringList&, int)>& sink) : columns_(columns), sink_(sink) {}
  // Hands over the blank rows before `row` and then the row's cells.
  bool row(QStringList& cells, int row) {
    for (int r = last_ + 1; r < row; ++r)
      if (!blank(r)) return false;
    last_ = row;
    while (cells.size() > columns_ && cells.back().isEmpty()) cells.removeLast();
    while (cells.size() < columns_) cells << QString();
    return sink_(cells, row);
  }
  int last() const { return last_; }

 private:
  bool blank(int row) {
    QStringList none;
    return sink_(none, row);
  }
  int columns_;
  const std::function<bool(QStringList&, int)>& sink_;
  int last_ = 0;
};

// Tells `progress` how far the reading is through an XML part, once every
// 256 rows; false, with the refusal set, when it says stop.
bool reportRows(const Progress& progress, int rows, const QXmlStreamReader& xml, qint64 size, CsvRefusal* refusal) {
  if (!progress || rows % 256 != 0) return true;
  if (Report(progress, std::min(xml.characterOffset(), size), size)) return true;
  *refusal = {0, QStringLiteral("the reading was stopped")};
  return false;
}

// A part's target as a relationship names it, from the folder of the part
// that names it ("xl/").
QString partPath(const QString& folder, QStringView target) {
  if (target.startsWith(u'/')) return target.sliced(1).toString();
  QStringList parts = folder.split(u'/', Qt::SkipEmptyParts);
  for (const QStringView p : target.split(u'/', Qt::SkipEmptyParts)) {
    if (p == QLatin1String("..")) {
      if (!parts.isEmpty()) parts.removeLast();
    } else if (p != QLatin1String(".")) {
      parts << p.toString();
    }
  }
  return parts.join(u'/');
}

bool refuseWith(CsvRefusal* refusal, const QString& reason) {
  *refusal = {0, reason};
  return false;
}

// The first visible sheet of an XLSX workbook.
bool readXlsx(Archive& zip, int columns, const std::function<bool(QStringList&, int)>& sink, CsvRefusal* refusal,
              const Progress& progress) {
  QString error;
  QByteArray bytes;
  const QString workbookName = QStringLiteral("xl/workbook.xml");
  if (!zip.read(workbookName, &bytes, &error)) return refuseWith(refusal, error);
  QString sheetId;
  {
    Part book(workbookName, bytes);
    while (book.next()) {
      if (!book.isStart(QLatin1StringView("sheet"))) continue;
      const QStringView state = book.attribute(QLatin1StringView("state"));
      if (state == QLatin1String("hidden") || state == QLatin1String("veryHidden")) continue;
      for (const QXmlStreamAttribute& a : book.xml().attributes())
        if (a.name() == QLatin1String("id") && !a.namespaceUri().isEmpty()) sheetId = a.value().toString();
      break;
    }
    if (book.failed()) return refuseWith(refusal, book.error());
  }
  if (sheetId.isEmpty()) return refuseWith(refusal, Texts::tr("the workbook has no visible sheet"));

  QString sheetName, stringsName;
  const QString relsName = QStringLiteral("xl/_rels/workbook.xml.rels");
  if (!zip.read(relsName, &bytes, &error)) return refuseWith(refusal, error);
  {
    Part rels(relsName, bytes);
    while (rels.next()) {
      if (!rels.isStart(QLatin1StringView("Relationship"))) continue;
      const QStringView type = rels.attribute(QLatin1StringView("Type"));
      const QString target = partPath(QStringLiteral("xl"), rels.attribute(QLatin1StringView("Target")));
      if (rels.attribute(QLatin1StringView("Id")) == sheetId)
        sheetName = target;
      else if (type.endsWith(QLatin1String("/sharedStrings")))
        stringsName = target;
    }
    if (rels.failed()) return refuseWith(refusal, rels.error());
  }
  if (sheetName.isEmpty()) return refuseWith(refusal, Texts::tr("the workbook names no part for its first sheet"));

  // Shared strings, when the workbook has them.
  QStringList strings;
  if (!stringsName.isEmpty() && zip.has(stringsName)) {
    if (!zip.read(stringsName, &bytes, &error)) return refuseWith(refusal, error);
    Part sst(stringsName, bytes);
    while (sst.next()) {
      if (!sst.isStart(QLatin1StringView("si"))) continue;
      if (strings.size() >= kMaxSharedStrings) {
        sst.refuse(Texts::tr("more than %1 shared strings").arg(kMaxSharedStrings));
        break;
      }
      strings << runText(sst, QLatin1StringView("si"));
    }
    if (sst.failed()) return refuseWith(refusal, sst.error());
  }

  if (!zip.read(sheetName, &bytes, &error)) return refuseWith(refusal, error);
  bytes.squeeze();
  Part sheet(sheetName, bytes);
  RowFeed feed(columns, sink);
  bool stopped = false;
  QStringList cells;
  int rowNumber = 0, rowsRead = 0;
  while (!stopped && sheet.next()) {
    if (!sheet.isStart(QLatin1StringView("row"))) continue;
    // The row's number: as given, else the one after the last.
    if (const QStringView r = sheet.attribute(QLatin1StringView("r")); !r.isEmpty()) {
      bool ok = false;
      const qint64 n = r.toLongLong(&ok);
      if (!ok || n < 1 || n > kMaxSheetRows) {
        sheet.refuse(Texts::tr("row number %1 is outside the sheet (1 to %2)").arg(r).arg(kMaxSheetRows));
        break;
      }
      if (n <= feed.last()) {
        sheet.refuse(Texts::tr("row %1 comes after row %2").arg(n).arg(feed.last()));
        break;
      }
      rowNumber = int(n);
    } else {
      rowNumber = feed.last() + 1;
      if (rowNumber > kMaxSheetRows) {
        sheet.refuse(Texts::tr("more than %1 rows").arg(kMaxSheetRows));
        break;
      }
    }
    cells.clear();
    int column = -1;
    while (sheet.next() && !sheet.isEnd(QLatin1StringView("row"))) {
      if (!sheet.isStart(QLatin1StringView("c"))) continue;
      if (const QStringView ref = sheet.attribute(QLatin1StringView("r")); !ref.isEmpty()) {
        int c = 0, r = 0;
        if (!cellReference(ref, &c, &r) || r != rowNumber) {
          sheet.refuse(
              Texts::tr("cell %1 in row %2 is not a cell of that row within the sheet").arg(ref).arg(rowNumber));
          break;
        }
        if (c <= column) {
          sheet.refuse(Texts::tr("cell %1 comes after a cell to its right").arg(ref));
          break;
        }
        column = c;
      } else if (++column >= kMaxSheetColumns) {
        sheet.refuse(Texts::tr("row %1 has more than %2 cells").arg(rowNumber).arg(kMaxSheetColumns));
        break;
      }
      const QString type = sheet.attribute(QLatin1StringView("t")).toString();
      QString value, inlineText;
      bool hasValue = false, formula = false, inlined = false;
      while (sheet.next() && !sheet.isEnd(QLatin1StringView("c"))) {
        if (sheet.isStart(QLatin1StringView("v"))) {
          value = sheet.xml().readElementText();
          hasValue = true;
        } else if (sheet.isStart(QLatin1StringView("f"))) {
          formula = true;
        } else if (sheet.isStart(QLatin1StringView("is"))) {
          inlineText = runText(sheet, QLatin1StringView("is"));
          inlined = true;
        }
      }
      if (sheet.failed()) break;
      QString text;
      if (type == QLatin1String("inlineStr")) {
        text = inlined ? inlineText : unescapeXlsxText(value);  // some writers put its text in <v>
      } else if (formula && (!hasValue || (value.isEmpty() && type != QLatin1String("str")))) {
        sheet.refuse(
            Texts::tr("cell %1%2 holds a formula without its value (let a spreadsheet program compute and save it)")
                .arg(QString::fromLatin1(columnLetters(column)))
                .arg(rowNumber));
        break;
      } else if (type == QLatin1String("s")) {
        bool ok = false;
        const qsizetype index = value.trimmed().toLongLong(&ok);
        if (!ok || index < 0 || index >= strings.size()) {
          sheet.refuse(Texts::tr("row %1 names shared string %2, which the workbook does not have")
                           .arg(rowNumber)
                           .arg(value.trimmed()));
          break;
        }
        text = strings[index];
      } else if (type == QLatin1String("str") || type == QLatin1String("e") || type == QLatin1String("d")) {
        text = unescapeXlsxText(value);
      } else if (type == QLatin1String("b")) {
        text = value.trimmed() == QLatin1String("0") ? QStringLiteral("0") : QStringLiteral("1");
        if (!hasValue) text.clear();
      } else if (hasValue) {
        text = numberText(value);
      } else if (inlined) {
        text = inlineText;
      }
      if (text.isEmpty()) continue;
      if (cells.size() <= column) cells.resize(column + 1);
      cells[column] = text;
    }
    if (sheet.failed()) break;
    stopped = !feed.row(cells, rowNumber) || !reportRows(progress, ++rowsRead, sheet.xml(), bytes.size(), refusal);
  }
  if (stopped) return false;
  if (sheet.failed()) return refuseWith(refusal, sheet.error());
  return true;
}

// The text of an OpenDocument cell: its paragraphs, one a line, with the
// spaces, tabs and line breaks they mark (comments left out); the reader
// ends on the cell's end.
QString odsCellText(Part& part, QLatin1StringView element) {
  QXmlStreamReader& xml = part.xml();
  QString text;
  int paragraphs = 0, inParagraph = 0, inNote = 0;
  while (!xml.atEnd()) {
    const QXmlStreamReader::TokenType token = xml.readNext();
    if (token == QXmlStreamReader::EndElement && xml.name() == element) break;
    if (token == QXmlStreamReader::Characters) {
      if (inParagraph > 0 && inNote == 0) text += xml.text();
      continue;
    }
    const bool start = token == QXmlStreamReader::StartElement, end = token == QXmlStreamReader::EndElement;
    if (!start && !end) continue;
    const QStringView name = xml.name();
    if (name == QLatin1String("annotation")) {
      inNote += start ? 1 : -1;
    } else if (inNote > 0) {
      continue;
    } else if (name == QLatin1String("p") || name == QLatin1String("h")) {
      if (start && paragraphs++ > 0) text += u'\n';
      inParagraph += start ? 1 : -1;
    } else if (start && name == QLatin1String("s")) {
      text += QString(std::clamp(localAttribute(xml, QLatin1StringView("c")).toInt(), 1, 1024), u' ');
    } else if (start && name == QLatin1String("tab")) {
      text += u'\t';
    } else if (start && name == QLatin1String("line-break")) {
      text += u'\n';
    }
  }
  return text;
}

// The first table of an OpenDocument spreadsheet (content.xml).
bool readOds(Archive& zip, int columns, const std::function<bool(QStringList&, int)>& sink, CsvRefusal* refusal,
             const Progress& progress) {
  QString error;
  QByteArray bytes;
  const QString name = QStringLiteral("content.xml");
  if (!zip.read(name, &bytes, &error)) return refuseWith(refusal, error);
  Part content(name, bytes);
  QXmlStreamReader& xml = content.xml();
  RowFeed feed(columns, sink);
  bool inTable = false, stopped = false;
  int rowNumber = 0;
  while (!stopped && !xml.atEnd()) {
    const QXmlStreamReader::TokenType token = xml.readNext();
    if (token == QXmlStreamReader::DTD) {
      xml.raiseError(QStringLiteral("a document type declaration"));  // as the workbook's own parts
      break;
    }
    if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("table") && inTable) break;
    if (token != QXmlStreamReader::StartElement) continue;
    if (xml.name() == QLatin1String("table")) {
      inTable = true;
      continue;
    }
    if (!inTable || xml.name() != QLatin1String("table-row")) continue;
    const int repeated = std::max(1, content.attribute(QLatin1StringView("number-rows-repeated")).toInt());
    QStringList cells;
    qint64 column = 0;
    while (content.next() && !content.isEnd(QLatin1StringView("table-row"))) {
      if (!content.isStart(QLatin1StringView("table-cell")) &&
          !content.isStart(QLatin1StringView("covered-table-cell")))
        continue;
      const QLatin1StringView element(xml.name() == QLatin1String("table-cell") ? "table-cell" : "covered-table-cell");
      const qint64 span = std::max(1, content.attribute(QLatin1StringView("number-columns-repeated")).toInt());
      const QString type = content.attribute(QLatin1StringView("value-type")).toString();
      QString value;
      if (type == QLatin1String("float") || type == QLatin1String("percentage") || type == QLatin1String("currency"))
        value = numberText(content.attribute(QLatin1StringView("value")));
      else if (type == QLatin1String("boolean"))
        value = content.attribute(QLatin1StringView("boolean-value")) == QLatin1String("true") ? QStringLiteral("1")
                                                                                               : QStringLiteral("0");
      else if (type == QLatin1String("date"))
        value = content.attribute(QLatin1StringView("date-value")).toString();
      else if (type == QLatin1String("time"))
        value = content.attribute(QLatin1StringView("time-value")).toString();
      const QString text = odsCellText(content, element);
      if (value.isEmpty()) value = text;
      if (content.failed()) break;
      if (!value.isEmpty()) {
        if (column + span > kMaxSheetColumns) {
          content.refuse(Texts::tr("row %1 has more than %2 cells").arg(rowNumber + 1).arg(kMaxSheetColumns));
          break;
        }
        if (cells.size() < column + span) cells.resize(column + span);
        for (qint64 i = 0; i < span; ++i) cells[column + i] = value;
      }
      column += span;
    }
    if (content.failed()) break;
    bool blank = true;
    for (const QString& c : cells) blank = blank && c.isEmpty();
    if (blank && repeated > 1) {
      // Blank rows count where a row of values follows them.
      rowNumber = int(std::min<qint64>(qint64(rowNumber) + repeated, kMaxSheetRows));
      continue;
    }
    if (qint64(rowNumber) + repeated > kMaxSheetRows) {
      content.refuse(Texts::tr("more than %1 rows").arg(kMaxSheetRows));
      break;
    }
    for (int i = 0; i < repeated && !stopped; ++i) {
      QStringList copy = cells;
      stopped = !feed.row(copy, ++rowNumber);
    }
    stopped = stopped || !reportRows(progress, rowNumber, xml, bytes.size(), refusal);
  }
  if (stopped) return false;
  if (content.failed()) return refuseWith(refusal, content.error());
  return true;
}

}  // namespace

bool IsZipArchive(QByteArrayView bytes) { return bytes.startsWith("PK\x03\x04") || bytes.startsWith("PK\x05\x06"); }

bool ReadWorkbookRows(const QByteArray& bytes, int columns, const std::function<bool(QStringList&, int row)>& sink,
                      CsvRefusal* refusal, const Progress& progress) {
  Archive zip(bytes);
  if (!zip.isOpen()) return refuseWith(refusal, Texts::tr("not a readable ZIP archive (cut short or damaged)"));
  if (zip.has(QStringLiteral("xl/workbook.xml"))) return readXlsx(zip, columns, sink, refusal, progress);
  if (zip.has(QStringLiteral("content.xml"))) return readOds(zip, columns, sink, refusal, progress);
  return refuseWith(refusal, Texts::tr("a ZIP archive, but neither an XLSX nor an OpenDocument spreadsheet"));
}

bool WorkbookToRecords(const QByteArray& bytes, int fieldCount, const QString& tableName, const CsvOptions& options,
                       ImportedRows* out, CsvRefusal* refusal) {
  *out = {};
  ImportRowChecker checker(fieldCount, tableName, options, out, refusal);
  const bool read = ReadWorkbookRows(
      bytes, fieldCount, [&](QStringList& cells, int row) { return checker.take(cells, row); }, refusal,
      options.progress);
  if (read && checker.finish()) return true;
  *out = {};
  return false;
}

bool SheetFileToRecords(const QByteArray& bytes, int fieldCount, const QString& tableName, const CsvOptions& options,
                        ImportedRows* out, CsvRefusal* refusal) {
  if (IsZipArchive(bytes)) return WorkbookToRecords(bytes, fieldCount, tableName, options, out, refusal);
  return CsvToRecords(bytes, fieldCount, tableName, options, out, refusal);
}

}  // namespace v3
