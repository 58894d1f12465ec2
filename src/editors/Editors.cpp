#include "editors/Editors.h"

namespace v3 {

const std::vector<const EditorForm*>& AllEditorForms() {
  static const std::vector<const EditorForm*> all = [] {
    std::vector<const EditorForm*> v;
    for (auto family : {TeamEditors, CaseEditors, RequestEditors, ClassCaseEditors, StarEditors, FirmScheduleEditors, ItemEditors, OfficeEditors, SmallTableEditors})
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

ControlSpec IndexList(const QString& name, int column, const QString& labelName, const QString& label, ListSource list) {
  ControlSpec c = TextBox(name, column, labelName, label);
  c.kind = ControlKind::IndexList;
  c.list = list;
  return c;
}

ControlSpec TextList(const QString& name, int column, const QString& labelName, const QString& label, ListSource list,
                     QStringList entries) {
  ControlSpec c = TextBox(name, column, labelName, label);
  c.kind = ControlKind::TextList;
  c.list = list;
  c.entries = std::move(entries);
  return c;
}

ControlSpec CheckBox(ControlKind kind, const QString& name, int column, const QString& labelName, const QString& label) {
  ControlSpec c = TextBox(name, column, labelName, label);
  c.kind = kind;
  return c;
}

ControlSpec FillIn(const QString& name, const QString& labelName, const QStringList& targets) {
  ControlSpec c = TextBox(name, 0, labelName, QStringLiteral("全部修改为"));
  c.kind = ControlKind::FillIn;
  c.targets = targets;
  return c;
}

std::vector<ControlSpec> TextArray(int first, int last, int firstColumn, int firstLabel, const QStringList& labels) {
  std::vector<ControlSpec> v;
  for (int i = first; i <= last; ++i)
    v.push_back(TextBox(QStringLiteral("Text(%1)").arg(i), firstColumn + (i - first),
                        QStringLiteral("Lb%1").arg(firstLabel + (i - first)), labels.value(i - first)));
  return v;
}

SectionSpec AbilityGroup(const QString& headingName, const QString& heading, int first, int firstLabel,
                         const QString& fillName, const QString& fillLabelName, int perRow) {
  SectionSpec s;
  s.headingName = headingName;
  s.heading = heading;
  s.perRow = perRow;
  s.controls = TextArray(first, first + 8, first, firstLabel, AbilityLabels());
  QStringList targets;
  for (const ControlSpec& c : s.controls) targets << c.name;
  s.controls.push_back(FillIn(fillName, fillLabelName, targets));
  return s;
}

const QStringList& AbilityLabels() {
  static const QStringList labels{"演技", "口才", "歌艺", "名气", "仪态", "动感", "体能", "才智", "自信"};
  return labels;
}

}  // namespace v3
