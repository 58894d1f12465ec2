#include "editors/Editors.h"

namespace v3 {

namespace {

EditorForm firmEditor() {
  EditorForm e;
  e.name = QStringLiteral("Firm");
  e.captionColumns = {2};  // the company name

  SectionDef names;
  names.perRow = 3;
  names.controls = {TextBox("Text0", 1, "Lb0", "编号"), TextBox("Text1", 2, "Lb1", "公司名称"),
                    TextBox("Text2", 3, "Lb2", "经纪人")};
  names.controls[1].chars = names.controls[2].chars = 10;

  // Artist k is a star's position in StarRole.dat, -1 for none.
  SectionDef artists;
  artists.perRow = 2;
  for (int i = 0; i < 6; ++i)
    artists.controls.push_back(IndexList(QStringLiteral("Combo(%1)").arg(i), i + 4, QStringLiteral("Lb%1").arg(i + 3),
                                         QStringLiteral("旗下艺人%1").arg(i + 1), ListSource::Stars));

  // The company image is a sentence of up to 16 characters: a line of its own.
  SectionDef standing;
  standing.perRow = 2;
  ControlDef image = TextBox("Text3", 10, "Lb9", "公司形象");
  image.chars = 16;
  image.wide = true;
  standing.controls = {image, TextBox("Text4", 11, "Lb10", "知名度"), TextBox("Text5", 12, "Lb11", "公关")};

  e.sections = {names, artists, standing};
  return e;
}

EditorForm scheduleEditor() {
  EditorForm e;
  e.name = QStringLiteral("Sch");
  e.designCaption = QStringLiteral("修改");
  e.captionColumns = {2};  // the schedule's name

  SectionDef top;
  top.perRow = 4;
  top.controls = {TextBox("Text(1)", 1, "Lb0", "编号"), TextBox("Text(2)", 2, "Lb1", "名称"),
                  TextBox("Text(3)", 3, "Lb2", "类型"),
                  // Day or night from the language file; any other text stays as it is.
                  TextList("Combo4", 4, "Lb3", "时间", ListSource::Language)};

  // Five abilities in the first row, four and the fill-in box in the second.
  auto group = [](const QString& headingName, const QString& heading, int first, int firstLabel, const QString& fillIn,
                  const QString& fillInLabel) {
    return AbilityGroup(headingName, heading, first, firstLabel, fillIn, fillInLabel, 5);
  };

  SectionDef strain;
  strain.perRow = 5;  // in line with the ability groups
  strain.controls = {TextBox("Text(14)", 14, "Lb14", "压力"), TextBox("Text(15)", 15, "Lb15", "疲劳"),
                     CheckBox(ControlKind::Check01, "Check(25)", 25, "Lb26", "lpB8")};

  SectionDef description;
  description.perRow = 1;
  description.controls = {With(TextBox("Text(26)", 26, "Lb27", "简介"), ControlKind::MultiText)};

  e.sections = {top, group("Lb4", "能力影响", 5, 5, "Text0", "Lable(0)"), strain,
                group("Lb16", "能力上限", 16, 17, "Text1", "Lable(1)"), description};
  return e;
}

}  // namespace

std::vector<const EditorForm*> FirmScheduleEditors() {
  static const EditorForm firm = firmEditor();
  static const EditorForm schedule = scheduleEditor();
  return {&firm, &schedule};
}

}  // namespace v3
