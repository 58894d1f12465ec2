#include "tools/ReferenceLint.h"

#include <QCoreApplication>

#include "tables/ReferenceIndex.h"
#include "text/Convert.h"

namespace v3 {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Lint)
};

// What a target's records are called in the findings.
QString what(const ReferenceDef& ref) {
  if (ref.target.compare(QLatin1String("StarRole.dat"), Qt::CaseInsensitive) == 0) return Texts::tr("star");
  if (ref.target.compare(QLatin1String("Producer.tab"), Qt::CaseInsensitive) == 0) return Texts::tr("producer");
  if (ref.by == RefersBy::Code) return Texts::tr("job");
  return Texts::tr("record");
}

}  // namespace

std::vector<ReferenceProblem> CheckReferences(
    const TableDef& table, const std::vector<QStringList>& rows,
    const std::function<const std::vector<QStringList>*(const QString& targetFile)>& targetRows) {
  std::vector<ReferenceProblem> found;
  static const std::vector<QStringList> kNone;
  for (const ReferenceDef& ref : table.references) {
    const std::vector<QStringList>* target = targetRows(ref.target);
    if (!target) target = &kNone;
    const ReferenceTargets targets(ref, *target);
    const QString kind = what(ref);
    for (size_t r = 0; r < rows.size(); ++r) {
      const QString cell = ReferenceKeyText(rows[r].value(ref.column - 1));
      auto add = [&](const QString& reason) { found.push_back({int(r) + 1, ref.column, reason}); };
      const int at = targets.find(cell);
      if (at == ReferenceTargets::kEmpty) continue;
      if (at == ReferenceTargets::kMissing) {
        int64_t v = 0;
        const bool number = IsPlainInteger(cell, &v);
        switch (ref.by) {
          case RefersBy::Position:
            if (!number)
              add(Texts::tr("%1 is no %2 (a position in %3, %4 for none)").arg(cell, kind, ref.target, ref.empty));
            else if (v < 0)
              add(Texts::tr("%1 is no %2 (positions in %3 start at 0, %4 is none)")
                      .arg(v)
                      .arg(kind, ref.target, ref.empty));
            else
              add(Texts::tr("%1 %2 is past the end of %3 (%4 records, positions 0..%5)")
                      .arg(kind)
                      .arg(v)
                      .arg(ref.target)
                      .arg(targets.count())
                      .arg(targets.count() - 1));
            break;
          case RefersBy::Number:
            // A column that shows names shows a number only when no record has it.
            if (number || !ref.cellShowsName) add(Texts::tr("%1 %2 has no %3 record").arg(kind, cell, ref.target));
            break;
          case RefersBy::Code: add(Texts::tr("%1 %2 has no %3 record").arg(kind, cell, ref.target)); break;
        }
        continue;
      }
      if (targets.name(at).isEmpty())
        add(Texts::tr("%1 %2 is an empty record of %3 (record %4 has no name)")
                .arg(kind, cell, ref.target)
                .arg(at + 1));
      if (const int n = targets.holders(at); n > 1)
        add(Texts::tr("%1 %2 is ambiguous: %3 records of %4 have it (the first is record %5)")
                .arg(kind, cell)
                .arg(n)
                .arg(ref.target)
                .arg(at + 1));
    }
  }
  return found;
}

}  // namespace v3
