#include "tools/StandaloneCsv.h"

#include <QFileInfo>

#include <algorithm>

#include "text/Big5.h"
#include "text/Language.h"

namespace v3 {
namespace {

bool traditional(const LanguageFile& texts) { return !texts.isNone() && texts.script() == Script::Traditional; }

QString word(const LanguageFile& texts, const QString& simplified) {
  return traditional(texts) ? ToTraditional(simplified) : simplified;
}

// A caption of the window from the language file, or its design text.
QString windowText(const LanguageFile& texts, const QString& window, const QString& key, const QString& design) {
  return texts.text(window, key, word(texts, design));
}

}  // namespace

int StandaloneColumnCount(StandaloneKind kind) {
  switch (kind) {
    case StandaloneKind::Cons: return 3;
    case StandaloneKind::Dif: return 8;
    case StandaloneKind::Level: return 1;
    case StandaloneKind::Length: return 3;
  }
  return 1;
}

std::vector<QStringList> StandaloneRows(const StandaloneTable& table) {
  const int k = StandaloneColumnCount(table.kind());
  std::vector<QStringList> rows;
  QStringList row;
  for (const TableValue& v : table.values()) {
    row << v.text;
    if (row.size() == k) {
      rows.push_back(row);
      row.clear();
    }
  }
  return rows;
}

QStringList StandaloneHeader(StandaloneKind kind, const LanguageFile& texts) {
  switch (kind) {
    case StandaloneKind::Cons: {
      const QString start =
          windowText(texts, QStringLiteral("Cons"), QStringLiteral("Lb1"), QStringLiteral("开始时间"));
      return {windowText(texts, QStringLiteral("Cons"), QStringLiteral("Lb0"), QStringLiteral("星座")),
              start + windowText(texts, QStringLiteral("Cons"), QStringLiteral("Lb2(0)"), QStringLiteral("月")),
              start + windowText(texts, QStringLiteral("Cons"), QStringLiteral("Lb3(0)"), QStringLiteral("日"))};
    }
    case StandaloneKind::Dif: {
      const QString need = windowText(texts, QStringLiteral("Dif"), QStringLiteral("Lb1"), QStringLiteral("能力需求"));
      QStringList h;
      for (int r = 1; r <= 4; ++r) {
        h << QStringLiteral("%1 %2 %3").arg(need).arg(r).arg(word(texts, QStringLiteral("起点")));
        h << QStringLiteral("%1 %2 %3").arg(need).arg(r).arg(word(texts, QStringLiteral("终点")));
      }
      return h;
    }
    case StandaloneKind::Level:
      return {windowText(texts, QStringLiteral("Level"), QStringLiteral("Lb0"), QStringLiteral("能力值"))};
    case StandaloneKind::Length:
      return {windowText(texts, QStringLiteral("Length"), QStringLiteral("Lb3(0)"), QStringLiteral("通告期限")),
              windowText(texts, QStringLiteral("Length"), QStringLiteral("Lb4(0)"), QStringLiteral("一周工作")),
              windowText(texts, QStringLiteral("Length"), QStringLiteral("Lb5(0)"), QStringLiteral("完成需要"))};
  }
  return {};
}

bool SetStandaloneRows(StandaloneTable& table, const std::vector<QStringList>& rows, QString* reason) {
  const int k = StandaloneColumnCount(table.kind());
  const size_t want = table.values().size() / size_t(k);
  if (rows.size() != want) {
    *reason = QStringLiteral("%1 records, %2 has %3").arg(rows.size()).arg(table.info().fileName).arg(want);
    return false;
  }
  std::vector<QString> boxes;
  for (const TableValue& v : table.values()) boxes.push_back(v.box);
  for (size_t r = 0; r < rows.size(); ++r)
    for (int c = 0; c < k && c < rows[r].size(); ++c) table.setText(boxes[r * size_t(k) + size_t(c)], rows[r][c]);
  return true;
}

int MovedStandaloneRow(StandaloneKind kind, const std::vector<QStringList>& now, const std::vector<QStringList>& rows,
                       int* record) {
  auto identity = [kind](const QStringList& row) {
    return kind == StandaloneKind::Cons ? QStringList{row.value(0).trimmed()} : row;
  };
  const size_t n = std::min(now.size(), rows.size());
  std::vector<bool> away(n);
  for (size_t i = 0; i < n; ++i) away[i] = identity(rows[i]) != identity(now[i]);
  int first = -1, moved = 0;
  for (size_t j = 0; j < n; ++j) {
    if (!away[j]) continue;
    for (size_t i = 0; i < n; ++i)
      if (i != j && away[i] && identity(rows[j]) == identity(now[i])) {
        if (moved++ == 0) {
          first = int(j);
          *record = int(i);
        }
        break;
      }
  }
  return moved >= 2 ? first : -1;
}

const StandaloneInfo* FindStandaloneFile(const QString& fileName) {
  for (const StandaloneInfo& i : StandaloneTables())
    if (i.fileName.compare(fileName, Qt::CaseInsensitive) == 0) return &i;
  return nullptr;
}

}  // namespace v3
