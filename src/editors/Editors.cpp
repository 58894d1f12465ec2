#include "editors/Editors.h"

namespace v3 {

const std::vector<const EditorForm*>& AllEditorForms() {
  static const std::vector<const EditorForm*> all = [] {
    std::vector<const EditorForm*> v;
    for (auto family : {TeamEditors, CaseEditors, RequestEditors, ClassCaseEditors, StarEditors, FirmScheduleEditors,
                        ItemEditors, OfficeEditors, SmallTableEditors})
      for (const EditorForm* e : family()) v.push_back(e);
    return v;
  }();
  return all;
}

const EditorForm* FindEditorForm(const QString& name) {
  for (const EditorForm* e : AllEditorForms())
    if (e->name == name) return e;
  return nullptr;
}

ControlDef IndexList(const QString& name, int column, const QString& labelName, const QString& label, ListSource list) {
  ControlDef c = TextBox(name, column, labelName, label);
  c.kind = ControlKind::IndexList;
  c.list = list;
  return c;
}

ControlDef TextList(const QString& name, int column, const QString& labelName, const QString& label, ListSource list,
                    QStringList entries) {
  ControlDef c = TextBox(name, column, labelName, label);
  c.kind = ControlKind::TextList;
  c.list = list;
  c.entries = std::move(entries);
  return c;
}

ControlDef CheckBox(ControlKind kind, const QString& name, int column, const QString& labelName, const QString& label) {
  ControlDef c = TextBox(name, column, labelName, label);
  c.kind = kind;
  return c;
}

ControlDef FillIn(const QString& name, const QString& labelName, const QStringList& targets) {
  ControlDef c = TextBox(name, 0, labelName, QStringLiteral("全部修改为"));
  c.kind = ControlKind::FillIn;
  c.targets = targets;
  return c;
}

std::vector<ControlDef> TextArray(int first, int last, int firstColumn, int firstLabel, const QStringList& labels) {
  std::vector<ControlDef> v;
  for (int i = first; i <= last; ++i)
    v.push_back(TextBox(QStringLiteral("Text(%1)").arg(i), firstColumn + (i - first),
                        QStringLiteral("Lb%1").arg(firstLabel + (i - first)), labels.value(i - first)));
  return v;
}

SectionDef AbilityGroup(const QString& headingName, const QString& heading, int first, int firstLabel,
                        const QString& fillName, const QString& fillLabelName, int perRow) {
  SectionDef s;
  s.headingName = headingName;
  s.heading = heading;
  s.perRow = perRow;
  s.controls = TextArray(first, first + 8, first, firstLabel, AbilityLabels());
  QStringList targets;
  for (const ControlDef& c : s.controls) targets << c.name;
  s.controls.push_back(FillIn(fillName, fillLabelName, targets));
  return s;
}

const QStringList& AbilityLabels() {
  static const QStringList labels{"演技", "口才", "歌艺", "名气", "仪态", "动感", "体能", "才智", "自信"};
  return labels;
}

}  // namespace v3
