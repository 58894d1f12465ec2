#pragma once
// Helpers shared by the tests: temporary data folders and raw file bytes.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QtTest>

#include <initializer_list>

#include "tables/FixedLayout.h"
#include "text/Big5.h"
#include "text/Language.h"
#include "text/Script.h"

Q_DECLARE_METATYPE(v3::Script)

namespace v3test {

// The shipped language file of the script, built beside the test programs.
inline v3::LanguageFile ShippedLanguage(v3::Script script) {
  return v3::LanguageFile(script, QCoreApplication::applicationDirPath());
}

inline QByteArray ReadFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return QByteArray();
  return f.readAll();
}

inline bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return f.write(bytes) == bytes.size();
}

// Little-endian bytes for building fixtures.
inline QByteArray Le(qint64 value, int width) {
  QByteArray b(width, '\0');
  for (int i = 0; i < width; ++i) b[i] = char((quint64(value) >> (8 * i)) & 0xFF);
  return b;
}

inline QByteArray Header(int count, int recordSize) { return Le(1010, 4) + Le(count, 4) + Le(recordSize, 4); }

inline QByteArray Hex(const char* hex) { return QByteArray::fromHex(hex); }

// Places `bytes` at `offset` of `record`, growing it with zeros.
inline void Put(QByteArray& record, int offset, const QByteArray& bytes) {
  if (record.size() < offset + bytes.size()) record.append(QByteArray(offset + bytes.size() - record.size(), '\0'));
  record.replace(offset, bytes.size(), bytes);
}

// Runs the command-line tool (CTest puts its path in V3_CLI).
struct CliRun {
  int code;
  QByteArray out, err;
};
inline CliRun RunCli(const QStringList& args) {
  QProcess p;
  p.start(QString::fromLocal8Bit(qgetenv("V3_CLI")), args);
  if (!p.waitForFinished(120000)) return {-1, {}, {}};
  return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

// What a save without an edit makes of record k of a fixed-record file (the
// file as it is on disk): every field's bytes as they are, the type tags
// written, zeros where no field lies.
inline QByteArray KeptRecord(const v3::TableCodec* codec, const QByteArray& file, int k) {
  const auto* fixed = dynamic_cast<const v3::FixedCodec*>(codec);
  const v3::FixedLayout& layout = fixed->layoutFor(file);
  const QByteArray rec =
      file.mid(12 + qsizetype(k) * layout.recordSize, layout.recordSize).leftJustified(layout.recordSize, '\0', true);
  QByteArray out(layout.recordSize, '\0');
  for (const v3::FieldDef& f : layout.fields) {
    const QByteArray bytes = f.kind == v3::FieldKind::TypeTag ? v3::EncodeCodePage(QString::fromUtf8(f.tag), 950)
                                                              : rec.mid(f.offset, f.width);
    out.replace(f.offset, bytes.size(), bytes);
  }
  return out;
}

}  // namespace v3test
