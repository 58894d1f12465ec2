// The activity editors: training (TC), special (SC), release (RC) and work
// (WC) activities. They share one record layout and one set of controls and
// differ in labels, in the controls they hide (the columns the grid hides
// for the same table) and, in WC, in length limits. A hidden control is still
// filled from the row, so a modify leaves its column as it was.
#include "editors/Editors.h"

namespace v3 {

namespace {

struct ClassCaseKind {
  const char* name;
  const char* level;        // Lb3: level, or type in SC
  const char* money;        // Lb4: cost or income
  const char* requirement;  // Lb7: heading of the ability requirements
  bool hideRequirements;    // Text0, Text(7)..Text(15) with their labels
  bool hideLevel;           // Text(4) with Lb3
  bool hideDuration;        // Combo6 with Lb5 and Lb6
  bool shortFields;         // WC: four characters per ability box, three for stress and fatigue
};

// One ability group: five boxes on the first row, four and the box that
// sets all nine on the second.
SectionDef abilityGroup(const QString& headingName, const QString& heading, int first, int firstLabel,
                        const QString& fillName, int fillIndex) {
  return AbilityGroup(headingName, heading, first, firstLabel, fillName, QStringLiteral("Lable(%1)").arg(fillIndex), 5);
}

ControlDef named(ControlDef c) {
  c.chars = 10;
  return c;
}

void limit(SectionDef& s, int maxLength) {
  for (ControlDef& c : s.controls) c.maxLength = maxLength;
}

void hide(SectionDef& s) {
  for (ControlDef& c : s.controls) c.hidden = true;
}

EditorForm classCaseEditor(const ClassCaseKind& k) {
  EditorForm e;
  e.name = QString::fromLatin1(k.name);
  e.designCaption = QStringLiteral("修改");
  e.captionColumns = {3, 4};  // the name, a blank, the level or type

  SectionDef top;
  top.perRow = 3;
  ControlDef level = TextBox("Text(4)", 4, "Lb3", QString::fromUtf8(k.level));
  level.hidden = k.hideLevel;
  ControlDef duration = TextList("Combo6", 6, "Lb5", "时间", ListSource::Fixed, {"1", "7"});
  duration.unitName = QStringLiteral("Lb6");
  duration.unit = QStringLiteral("天");
  duration.hidden = k.hideDuration;
  top.controls = {
      TextBox("Text(1)", 1, "Lb0", "编号"),
      TextBox("Text(2)", 2, "Lb1", "lp4"),
      named(TextBox("Text(3)", 3, "Lb2", "名称")),
      level,
      TextBox("Text(5)", 5, "Lb4", QString::fromUtf8(k.money)),
      duration,
  };

  SectionDef required = abilityGroup("Lb7", QString::fromUtf8(k.requirement), 7, 8, "Text0", 0);
  SectionDef effect = abilityGroup("Lb17", "能力影响", 16, 18, "Text1", 1);
  SectionDef strain;
  strain.perRow = 5;  // in line with the ability groups
  strain.controls = {TextBox("Text(25)", 25, "Lb27", "压力"), TextBox("Text(26)", 26, "Lb28", "疲劳")};
  SectionDef ceiling = abilityGroup("Lb29", "能力上限", 27, 30, "Text2", 2);
  if (k.hideRequirements) hide(required);
  if (k.shortFields) {
    limit(required, 4);
    limit(effect, 4);
    limit(ceiling, 4);
    limit(strain, 3);
  }

  SectionDef flags;
  flags.perRow = 5;
  flags.controls = {
      CheckBox(ControlKind::Check01, "Check(36)", 36, "Lb39", "lpAC"),
      CheckBox(ControlKind::Check01, "Check(37)", 37, "Lb40", "lpB0"),
      CheckBox(ControlKind::Check01, "Check(39)", 39, "Lb41", "lp11C"),
  };
  SectionDef text;
  text.controls = {With(TextBox("Text(38)", 38, "Lb42", "简介"), ControlKind::MultiText)};

  e.sections = {top, required, effect, strain, ceiling, flags, text};
  return e;
}

}  // namespace

std::vector<const EditorForm*> ClassCaseEditors() {
  static const EditorForm tc = classCaseEditor({"TC", "等级", "花费", "能力要求", true, false, false, false});
  static const EditorForm sc = classCaseEditor({"SC", "类型", "收入", "能力要求", false, false, false, false});
  static const EditorForm rc = classCaseEditor({"RC", "等级", "花费", "能力要求", true, true, false, false});
  static const EditorForm wc = classCaseEditor({"WC", "等级", "收入", "升级要求", false, false, true, true});
  return {&tc, &sc, &rc, &wc};
}

}  // namespace v3
