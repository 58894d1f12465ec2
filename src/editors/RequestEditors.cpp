// The role editors of the advertisement, film and television jobs (CFR, MVR,
// TVR). The three are alike; only the entries of the wanted-target list
// differ, and those come from each dialog's own list in the language file.
// Each content flag is a check box held in the grid as "√" or an empty cell.
#include "editors/Editors.h"

namespace v3 {

namespace {

EditorForm requestEditor(const QString& name) {
  EditorForm e;
  e.name = name;
  e.captionColumns = {2, 3};  // the job number, a blank, the wanted target
  SectionDef top;
  top.perRow = 2;
  top.controls = {
      TextBox("Text0", 1, "Lb0", "角色编号"),
      TextBox("Text1", 2, "Lb1", "通告编号"),
      TextList("Combo0", 3, "Lb2", "征求对象", ListSource::Language),
      TextList("Combo1", 4, "Lb3", "通告难度", ListSource::Fixed, {"1", "2", "3", "4", "5"}),
      TextList("Combo6", 5, "Lb4", "默认艺人", ListSource::Stars),
  };
  // Five flags, then two, then the three image values on a row of their own.
  SectionDef demands;
  demands.headingName = QStringLiteral("Lb25");
  demands.heading = QStringLiteral("特殊要求");
  demands.perRow = 5;
  const QStringList flags{"暴力", "反派", "裸露", "反串", "搞笑", "丑化", "吻戏"};
  for (int i = 0; i < 7; ++i)
    demands.controls.push_back(CheckBox(ControlKind::CheckMark, QStringLiteral("Check%1").arg(i), 6 + i,
                                        QStringLiteral("Lb%1").arg(5 + i), flags[i]));
  const QStringList images{"叛逆", "性感", "亲和"};
  for (int i = 0; i < 3; ++i)
    demands.controls.push_back(
        TextBox(QStringLiteral("Text%1").arg(3 + i), 13 + i, QStringLiteral("Lb%1").arg(12 + i), images[i]));
  demands.controls[7].startsRow = true;
  SectionDef effects;
  effects.headingName = QStringLiteral("Lb26");
  effects.heading = QStringLiteral("能力影响");
  effects.perRow = 3;
  for (int i = 0; i < 9; ++i)
    effects.controls.push_back(
        TextBox(QStringLiteral("Text%1").arg(6 + i), 16 + i, QStringLiteral("Lb%1").arg(15 + i), AbilityLabels()[i]));
  SectionDef text;
  text.controls = {With(TextBox("Text2", 25, "Lb24", "简介"), ControlKind::MultiText)};
  e.sections = {top, demands, effects, text};
  return e;
}

}  // namespace

std::vector<const EditorForm*> RequestEditors() {
  static const EditorForm cf = requestEditor("CFR"), mv = requestEditor("MVR"), tv = requestEditor("TVR");
  return {&cf, &mv, &tv};
}

}  // namespace v3
