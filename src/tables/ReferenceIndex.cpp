#include "tables/ReferenceIndex.h"

#include "tables/Tables.h"

namespace v3 {

std::vector<ReferringColumn> ReferencesTo(const QString& targetFile) {
  std::vector<ReferringColumn> found;
  for (const TableDef* t : AllTables())
    for (const ReferenceDef& r : t->references)
      if (r.target.compare(targetFile, Qt::CaseInsensitive) == 0) found.push_back({t, &r});
  return found;
}

QString ReferenceKeyText(const QString& cell) {
  qsizetype end = cell.size();
  while (end > 0 && (cell[end - 1] == QChar(u'\0') || cell[end - 1].isSpace())) --end;
  qsizetype begin = 0;
  while (begin < end && cell[begin].isSpace()) ++begin;
  return cell.mid(begin, end - begin);
}

namespace {

// A decimal integer's canonical text ("007" and "+7" name what "7" names).
QString numberKey(const QString& text) {
  bool ok = false;
  const qlonglong v = text.toLongLong(&ok);
  return ok ? QString::number(v) : text;
}

}  // namespace

ReferenceTargets::ReferenceTargets(const ReferenceDef& reference, const std::vector<QStringList>& targetRows)
    : ref_(reference),
      emptyKey_(ReferenceKeyText(reference.empty)),
      emptyNumber_(numberKey(reference.empty).toLongLong()) {
  names_.reserve(qsizetype(targetRows.size()));
  for (const QStringList& row : targetRows) {
    const int position = int(names_.size());
    names_ << ReferenceKeyText(row.value(ref_.targetName - 1));
    if (ref_.by == RefersBy::Position) continue;
    QString key = ReferenceKeyText(row.value(ref_.targetKey - 1));
    if (ref_.by == RefersBy::Number) key = numberKey(key);
    keys_ << key;
    byKey_.insert(key, byKey_.value(key, position));
    keyCount_[key] += 1;
    if (ref_.cellShowsName && !names_.back().isEmpty())
      byName_.insert(names_.back(), byName_.value(names_.back(), position));
  }
}

bool ReferenceTargets::alike(const ReferenceDef& a, const ReferenceDef& b) {
  return a.target.compare(b.target, Qt::CaseInsensitive) == 0 && a.by == b.by && a.empty == b.empty &&
         a.targetKey == b.targetKey && a.targetName == b.targetName && a.cellShowsName == b.cellShowsName;
}

QList<int> ReferenceTargets::columnsRead(const ReferenceDef& reference) {
  QList<int> columns{reference.targetName};
  if (reference.by != RefersBy::Position && reference.targetKey != reference.targetName) columns << reference.targetKey;
  return columns;
}

int ReferenceTargets::find(const QString& cell) const {
  QString key = ReferenceKeyText(cell);
  if (key == emptyKey_) return kEmpty;
  if (ref_.by == RefersBy::Position) {
    bool ok = false;
    const qlonglong v = key.toLongLong(&ok);
    if (!ok) return kMissing;
    if (v == emptyNumber_) return kEmpty;
    return v >= 0 && v < count() ? int(v) : kMissing;
  }
  if (ref_.by == RefersBy::Number) {
    bool ok = false;
    key.toLongLong(&ok);
    if (ok) {
      key = numberKey(key);
      if (key == QLatin1String("0") && ref_.cellShowsName) return kEmpty;  // number 0 shows as no producer
      return byKey_.value(key, kMissing);
    }
    return ref_.cellShowsName ? byName_.value(key, kMissing) : kMissing;
  }
  return byKey_.value(key, kMissing);
}

int ReferenceTargets::holders(int position) const {
  if (ref_.by == RefersBy::Position || position < 0 || position >= keys_.size()) return 1;
  return keyCount_.value(keys_[position], 1);
}

QString ReferenceTargets::key(int position) const {
  if (ref_.by == RefersBy::Position) return QString::number(position);
  return position >= 0 && position < keys_.size() ? keys_[position] : QString();
}

QString ReferenceTargets::cellFor(int position) const {
  if (position < 0) return ref_.empty;
  if (ref_.by == RefersBy::Position) return QString::number(position);
  if (ref_.cellShowsName) return name(position);
  return position < keys_.size() ? keys_[position] : QString();
}

}  // namespace v3
