#pragma once
// What the fuzz targets share: the bytes as a QByteArray, a stop that
// libFuzzer reports with the input, and the seed corpus made from a sample
// data folder.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include <QStringList>

#include "tools/Sample.h"

namespace v3fuzz {

inline QByteArray Bytes(const uint8_t* data, size_t size) {
  return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A property that does not hold: abort, so libFuzzer keeps the input.
[[noreturn]] inline void Broken(const char* what) {
  std::fprintf(stderr, "broken: %s\n", what);
  std::abort();
}

// With V3_FUZZ_SEEDS=DIR in the environment the target writes its seed
// corpus there (made by `write` from a fresh sample data folder) and exits
// instead of fuzzing.
inline void WriteSeedsIfAsked(const std::function<void(const QString& sample, const QString& out)>& write) {
  const QByteArray out = qgetenv("V3_FUZZ_SEEDS");
  if (out.isEmpty()) return;
  QTemporaryDir dir;
  const QString sample = dir.filePath("sample");
  QString error;
  if (!v3::WriteSampleFolder(sample, 5, 12, &error)) {
    std::fprintf(stderr, "sample: %s\n", qPrintable(error));
    std::exit(1);
  }
  QDir().mkpath(QString::fromLocal8Bit(out));
  write(sample, QString::fromLocal8Bit(out));
  std::exit(0);
}

// Breaks with the first cell where two sets of records differ.
inline void SameRecords(const std::vector<QStringList>& a, const std::vector<QStringList>& b, const char* what) {
  if (a == b) return;
  if (a.size() != b.size()) {
    std::fprintf(stderr, "%zu records, then %zu\n", a.size(), b.size());
    Broken(what);
  }
  for (size_t r = 0; r < a.size(); ++r)
    for (qsizetype c = 0; c < std::max(a[r].size(), b[r].size()); ++c)
      if (a[r].value(c) != b[r].value(c)) {
        std::fprintf(stderr, "record %zu, field %lld: \"%s\", then \"%s\"\n", r + 1, (long long)c + 1,
                     qPrintable(a[r].value(c)), qPrintable(b[r].value(c)));
        Broken(what);
      }
}

inline void WriteSeed(const QString& folder, const QString& name, const QByteArray& bytes) {
  QFile f(QDir(folder).filePath(name));
  if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
    std::fprintf(stderr, "cannot write seed %s\n", qPrintable(name));
    std::exit(1);
  }
}

inline QByteArray ReadWhole(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace v3fuzz
