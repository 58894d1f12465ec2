#include "model/ReferenceRemap.h"

#include <QCoreApplication>

#include <algorithm>
#include <memory>

#include "tables/ReferenceIndex.h"
#include "tables/Tables.h"
#include "text/Big5.h"

namespace v3 {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(References)
};

}  // namespace

int TargetChange::deleted() const {
  std::vector<bool> kept(before.size(), false);
  for (int o : origin)
    if (o >= 0 && size_t(o) < kept.size()) kept[size_t(o)] = true;
  return int(std::count(kept.begin(), kept.end(), false));
}

int TargetChange::added() const { return int(std::count(origin.begin(), origin.end(), -1)); }

int ReferenceTableUpdate::count(ReferenceCellUpdate::Kind kind) const {
  return int(std::count_if(cells.begin(), cells.end(), [&](const ReferenceCellUpdate& c) { return c.kind == kind; }));
}

bool ReferenceTableUpdate::changesCells() const {
  return count(ReferenceCellUpdate::Follows) + count(ReferenceCellUpdate::Cleared) > 0;
}

bool ReferencePlan::changesCells() const {
  for (const ReferenceTableUpdate& t : tables)
    if (t.changesCells()) return true;
  return false;
}

int ReferencePlan::count(ReferenceCellUpdate::Kind kind) const {
  int n = 0;
  for (const ReferenceTableUpdate& t : tables) n += t.count(kind);
  return n;
}

QString ReferencePlan::summary(bool traditional) const {
  if (!target || tables.empty()) return QString();
  QStringList what;
  if (deleted) what << Texts::tr("删除 %1 条").arg(deleted);
  if (added) what << Texts::tr("新增 %1 条").arg(added);
  if (reordered) what << Texts::tr("记录位置改变");
  if (what.isEmpty()) what << Texts::tr("记录编号改变");
  // The separators are the translation's too ("、" is ", " in English).
  const QString separator = Texts::tr("、");
  QString text = Texts::tr("%1：%2").arg(target->fileName, what.join(separator));
  auto perTable = [&](ReferenceCellUpdate::Kind kind) {
    QStringList parts;
    for (const ReferenceTableUpdate& t : tables)
      if (const int n = t.count(kind)) parts << Texts::tr("%1 %2 处").arg(t.table->fileName).arg(n);
    return parts.join(separator);
  };
  if (const QString s = perTable(ReferenceCellUpdate::Follows); !s.isEmpty())
    text += Texts::tr("；") + s + Texts::tr("引用将随之更新");
  if (const int n = count(ReferenceCellUpdate::Cleared))
    text += Texts::tr("；%1 处引用被删除的记录将清空（%2）").arg(n).arg(perTable(ReferenceCellUpdate::Cleared));
  if (const int n = count(ReferenceCellUpdate::Dangling))
    text += Texts::tr("；%1 处引用的记录已被删除，保持原值（%2）").arg(n).arg(perTable(ReferenceCellUpdate::Dangling));
  return traditional ? ToTraditional(text) : text;
}

QStringList ReferencePlan::details(const std::function<QString(const TableDef&, int row)>& recordName) const {
  QStringList lines;
  for (const ReferenceTableUpdate& t : tables)
    for (const ReferenceCellUpdate& c : t.cells) {
      const QString who = recordName ? recordName(*t.table, c.row) : QString();
      QString where = Texts::tr("%1 第 %2 行").arg(t.table->fileName).arg(c.row);
      if (!who.isEmpty()) where += Texts::tr("（%1）").arg(who);
      where += Texts::tr("第 %1 列").arg(c.column);
      switch (c.kind) {
        case ReferenceCellUpdate::Follows: lines << Texts::tr("%1：%2 → %3").arg(where, c.before, c.after); break;
        case ReferenceCellUpdate::Cleared:
          lines << Texts::tr("%1：%2 → %3（所引用的记录已删除）").arg(where, c.before, c.after);
          break;
        case ReferenceCellUpdate::Dangling:
          lines << Texts::tr("%1：%2（所引用的记录已删除）").arg(where, c.before);
          break;
      }
    }
  return lines;
}

void ReferenceJournal::record(const ReferencePlan& plan) {
  if (!plan.target) return;
  for (const ReferenceTableUpdate& t : plan.tables)
    for (const ReferenceCellUpdate& c : t.cells)
      if (c.kind == ReferenceCellUpdate::Cleared)
        cleared_.push_back({plan.target->fileName, c.targetKey, t.table->fileName, c.rowKey, c.column});
}

namespace {

// The journal's cleared references to records that `change` adds back.
void restore(const ReferenceJournal& journal, const TargetChange& change, const TableDef& referring,
             const ReferenceDef& ref, const std::vector<QStringList>& rows, ReferenceTableUpdate* update) {
  for (const ReferenceJournal::Cleared& c : journal.cleared()) {
    if (c.column != ref.column || c.referring != referring.fileName ||
        c.target.compare(change.table->fileName, Qt::CaseInsensitive) != 0)
      continue;
    int at = -1;
    for (size_t i = 0; i < change.after.size() && at < 0; ++i)
      if (change.origin[i] < 0 && ReferenceKeyText(change.after[i].value(0)) == c.targetKey) at = int(i);
    if (at < 0) continue;
    for (size_t r = 0; r < rows.size(); ++r) {
      if (ReferenceKeyText(rows[r].value(0)) != c.rowKey) continue;
      const QString cell = rows[r].value(ref.column - 1);
      const bool taken = std::any_of(update->cells.begin(), update->cells.end(), [&](const ReferenceCellUpdate& u) {
        return u.row == int(r) + 1 && u.column == ref.column;
      });
      if (taken || ReferenceKeyText(cell) != ReferenceKeyText(ref.empty)) break;
      ReferenceCellUpdate u;
      u.row = int(r) + 1;
      u.column = ref.column;
      u.before = cell;
      u.after = QString::number(at);
      u.rowKey = c.rowKey;
      u.targetKey = c.targetKey;
      update->cells.push_back(u);
      break;
    }
  }
}

}  // namespace

ReferencePlan PlanReferenceUpdates(
    const TargetChange& change, const std::function<const std::vector<QStringList>*(const TableDef& referring)>& rowsOf,
    const ReferenceJournal* journal) {
  ReferencePlan plan;
  plan.target = change.table;
  if (!change.table) return plan;
  plan.deleted = change.deleted();
  plan.added = change.added();
  // Where each loaded record stands after the save (-1: deleted).
  std::vector<int> now(change.before.size(), -1);
  for (size_t i = 0; i < change.origin.size(); ++i) {
    const int o = change.origin[i];
    if (o >= 0 && size_t(o) < now.size() && now[size_t(o)] < 0) now[size_t(o)] = int(i);
  }
  for (size_t p = 0; p < now.size(); ++p)
    if (now[p] >= 0 && now[p] != int(p)) plan.reordered = true;

  // The records as each kind of reference sees them, before and after: the
  // columns of a run (a team's members) see them alike, and are indexed once.
  struct Seen {
    const ReferenceDef* ref;
    ReferenceTargets was, will;
  };
  std::vector<std::unique_ptr<Seen>> seen;
  const auto targetsFor = [&](const ReferenceDef& ref) -> const Seen& {
    for (const std::unique_ptr<Seen>& s : seen)
      if (ReferenceTargets::alike(*s->ref, ref)) return *s;
    seen.push_back(std::make_unique<Seen>(Seen{&ref, {ref, change.before}, {ref, change.after}}));
    return *seen.back();
  };
  for (const TableDef* referring : AllTables()) {
    ReferenceTableUpdate update;
    update.table = referring;
    const std::vector<QStringList>* rows = nullptr;
    for (const ReferenceDef& ref : referring->references) {
      if (ref.target.compare(change.table->fileName, Qt::CaseInsensitive) != 0) continue;
      if (!rows && !(rows = rowsOf(*referring))) break;
      const Seen& targets = targetsFor(ref);
      const ReferenceTargets& was = targets.was;
      const ReferenceTargets& will = targets.will;
      for (size_t r = 0; r < rows->size(); ++r) {
        const QString cell = (*rows)[r].value(ref.column - 1);
        const int p = was.find(cell);
        if (p < 0) continue;  // empty, or naming no one already: nothing to keep
        ReferenceCellUpdate u;
        u.row = int(r) + 1;
        u.column = ref.column;
        u.before = cell;
        u.rowKey = ReferenceKeyText((*rows)[r].value(0));
        u.targetKey = ReferenceKeyText(change.before[size_t(p)].value(0));
        const int at = now[size_t(p)];
        if (at < 0) {
          u.kind = ref.by == RefersBy::Position ? ReferenceCellUpdate::Cleared : ReferenceCellUpdate::Dangling;
          u.after = u.kind == ReferenceCellUpdate::Cleared ? ref.empty : cell;
          update.cells.push_back(u);
          continue;
        }
        if (ref.cellShowsName) {
          // The cell shows the name, the file holds the number: a record
          // that got another number takes its references along as that
          // number (which a save stores and a load shows as the name again).
          if (was.key(p) == will.key(at)) continue;
          u.after = will.key(at);
        } else {
          // The cell already names the same record after the save: nothing to do.
          if (will.find(cell) == at) continue;
          u.after = will.cellFor(at);
        }
        update.cells.push_back(u);
      }
      if (rows && journal && ref.by == RefersBy::Position) restore(*journal, change, *referring, ref, *rows, &update);
    }
    if (!update.cells.empty()) plan.tables.push_back(std::move(update));
  }
  return plan;
}

void ApplyReferenceUpdates(const ReferenceTableUpdate& update, std::vector<QStringList>* rows) {
  for (const ReferenceCellUpdate& c : update.cells) {
    if (c.kind == ReferenceCellUpdate::Dangling || c.row < 1 || size_t(c.row) > rows->size()) continue;
    QStringList& row = (*rows)[size_t(c.row - 1)];
    while (row.size() < c.column) row << QString();
    row[c.column - 1] = c.after;
  }
}

}  // namespace v3
