#include "editors/Editors.h"

namespace v3 {

namespace {

ControlDef withUnit(ControlDef c, const QString& unitName, const QString& unit) {
  c.unitName = unitName;
  c.unit = unit;
  return c;
}

EditorForm starEditor() {
  EditorForm e;
  e.name = QStringLiteral("Star");
  e.captionColumns = {2};  // the star's name

  SectionDef person;
  person.perRow = 4;
  ControlDef weight = TextBox("Text(46)", 46, "Lb8", "体重");
  weight.maxLength = 250;
  ControlDef name = TextBox("Text(2)", 2, "Lb1", "名称");
  name.chars = 10;
  ControlDef day = withUnit(TextBox("Text(6)", 6, QString(), QString()), "Lb6", "日");
  day.joinsPrevious = true;  // beside the month: "生日 [2] 月 [7] 日"
  person.controls = {
      TextBox("Text(1)", 1, "Lb0", "编号"),
      name,
      TextList("Combo3", 3, "Lb2", "性别", ListSource::Language),  // the words of StarSex; only "女" is female
      TextBox("Text(4)", 4, "Lb3", "年龄"),
      withUnit(TextBox("Text(5)", 5, "Lb4", "生日"), "Lb5", "月"),
      day,
      TextBox("Text(45)", 45, "Lb7", "身高"),
      weight,
  };

  SectionDef character;
  character.perRow = 6;
  character.controls = TextArray(16, 21, 16, 19, {"叛逆", "性感", "亲和", "人气", "曝光", "lp7C"});

  SectionDef flags;
  flags.perRow = 7;
  const QStringList flagLabels{"lp80", "lp84", "lp88", "lp8C", "lp90", "lp94", "lp98"};
  for (int c = 22; c <= 28; ++c)
    flags.controls.push_back(CheckBox(ControlKind::Check01, QStringLiteral("Check(%1)").arg(c), c,
                                      QStringLiteral("Lb%1").arg(c + 3), flagLabels[c - 22]));

  SectionDef announcements;
  announcements.headingName = QStringLiteral("Lb32");
  announcements.heading = QStringLiteral("通告数量");
  announcements.perRow = 7;
  announcements.controls = TextArray(29, 34, 29, 33, {"广告", "电视", "电影", "唱片", "主持", "演唱会"});
  announcements.controls.push_back(
      FillIn("Text1", "Lable(1)", {"Text(29)", "Text(30)", "Text(31)", "Text(32)", "Text(33)", "Text(34)"}));

  // Columns 35..42 have no control: kept on modify, empty in an added row.
  // The unnamed values in one grid: four on the first line, six on each of two more.
  SectionDef unnamed;
  unnamed.perRow = 6;
  unnamed.controls = {TextBox("Text(43)", 43, "Lb39", "lpD4"), TextBox("Text(44)", 44, "Lb40", "lpD8"),
                      TextBox("Text(47)", 47, "Lb41", "lpE4"), TextBox("Text(48)", 48, "Lb42", "lpE8")};
  for (const std::vector<ControlDef>& line :
       {TextArray(49, 54, 49, 43, {"lpEC", "lpF0", "lpF4", "lpF8", "lpFC", "lp100"}),
        TextArray(55, 60, 55, 49, {"lp104", "lp108", "lp10C", "lp110", "lp114", "lp118"})}) {
    unnamed.controls.insert(unnamed.controls.end(), line.begin(), line.end());
    unnamed.controls[unnamed.controls.size() - line.size()].startsRow = true;
  }

  SectionDef success;
  success.perRow = 6;
  success.controls = {TextBox("Text(79)", 79, "Lb75", "成功率")};

  e.sections = {person,
                AbilityGroup("Lb9", "初始能力", 7, 10, "Text0", "Lable(0)", 6),
                character,
                flags,
                announcements,
                unnamed,
                AbilityGroup("Lb55", "能力成长率", 61, 56, "Text2", "Lable(2)", 6),
                AbilityGroup("Lb65", "能力上限", 70, 66, "Text3", "Lable(3)", 6),
                success};
  return e;
}

}  // namespace

std::vector<const EditorForm*> StarEditors() {
  static const EditorForm star = starEditor();
  return {&star};
}

}  // namespace v3
