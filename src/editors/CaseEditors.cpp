// The job editors: CD, advertisement, film and television jobs (CDW, CF, MV,
// TV) and the fifth kind kept in SHCase.dat (SH). Every drop-down list here
// holds texts: the cell receives the list's text, never a position, and a
// list counts as changed only when the user picks one of its entries.
#include "editors/Editors.h"

namespace v3 {

namespace {

const QStringList kDifficulties{"1", "2", "3", "4", "5"};

// The job's name: up to 20 characters.
ControlDef jobName() {
  ControlDef c = TextBox("Text1", 2, "Lb1", "通告名称");
  c.chars = 20;
  return c;
}

ControlDef Synopsis(const QString& name, int column, const QString& labelName, int maxLength = 0) {
  ControlDef c = With(TextBox(name, column, labelName, QStringLiteral("简介")), ControlKind::MultiText);
  c.maxLength = maxLength;
  return c;
}

EditorForm cdEditor() {
  EditorForm e;
  e.name = QStringLiteral("CDW");
  e.captionColumns = {2};  // the job name
  SectionDef top;
  top.perRow = 2;
  top.controls = {
      TextBox("Text0", 1, "Lb0", "通告编号"),
      jobName(),
      TextList("Combo0", 3, "Lb2", "通告类型", ListSource::Language),
      TextList("Combo1", 4, "Lb3", "征求对象", ListSource::Language),
      TextList("Combo2", 5, "Lb4", "通告难度", ListSource::Fixed, kDifficulties),
      TextList("Combo3", 6, "Lb5", "时间", ListSource::Language),
      TextList("Combo4", 7, "Lb6", "制作人", ListSource::Producers),
      TextList("Combo5", 8, "Lb7", "制作公司", ListSource::Language),
      // A job can be meant for a group or for a single star.
      TextList("Combo6", 9, "Lb8", "默认艺人", ListSource::TeamsThenStars),
  };
  SectionDef images;
  images.headingName = QStringLiteral("Lb13");
  images.heading = QStringLiteral("特殊要求");
  images.perRow = 3;
  images.controls = {
      TextBox("Text3", 10, "Lb9", "叛逆"),
      TextBox("Text4", 11, "Lb10", "性感"),
      TextBox("Text5", 12, "Lb11", "亲和"),
  };
  SectionDef text;
  text.controls = {Synopsis("Text2", 13, "Lb12")};
  e.sections = {top, images, text};
  return e;
}

EditorForm cfEditor() {
  EditorForm e;
  e.name = QStringLiteral("CF");
  e.captionColumns = {2};
  SectionDef top;
  top.perRow = 2;
  ControlDef grade = TextList("Combo1", 4, QString(), QString(), ListSource::Fixed, {"S", "A", "B"});
  top.controls = {
      TextBox("Text0", 1, "Lb0", "通告编号"),
      jobName(),
      TextList("Combo0", 3, "Lb2", "通告等级", ListSource::Language),
      grade,  // the one-letter grade beside the level, without a label of its own
      TextList("Combo2", 5, "Lb3", "时间", ListSource::Language),
      TextList("Combo3", 6, "Lb4", "制作公司", ListSource::Language),
      TextList("Combo4", 7, "Lb5", "广告类型", ListSource::Language),
      CheckBox(ControlKind::CheckMark, "Check0", 8, "Lb6", "独家"),
      TextBox("Text3", 9, "Lb7", "分组"),
  };
  SectionDef text;
  text.controls = {Synopsis("Text2", 10, "Lb8")};
  e.sections = {top, text};
  return e;
}

EditorForm mvEditor() {
  EditorForm e;
  e.name = QStringLiteral("MV");
  e.captionColumns = {2};
  SectionDef top;
  top.perRow = 2;
  top.controls = {
      TextBox("Text0", 1, "Lb0", "通告编号"),
      jobName(),
      TextList("Combo0", 3, "Lb2", "通告类型", ListSource::Language),
      TextList("Combo1", 4, "Lb3", "时间", ListSource::Language),
      TextList("Combo4", 5, "Lb4", "制作人", ListSource::Producers),
      TextList("Combo3", 6, "Lb5", "制作公司", ListSource::Language),
  };
  SectionDef text;
  text.controls = {Synopsis("Text2", 7, "Lb6")};
  e.sections = {top, text};
  return e;
}

EditorForm tvEditor() {
  EditorForm e;
  e.name = QStringLiteral("TV");
  e.captionColumns = {2};
  SectionDef top;
  top.perRow = 2;
  top.controls = {
      TextBox("Text0", 1, "Lb0", "通告编号"),
      jobName(),
      TextList("Combo0", 3, "Lb2", "通告类型", ListSource::Language),
      TextList("Combo2", 4, "Lb3", "长度", ListSource::Language),
      TextList("Combo1", 5, "Lb4", "时间", ListSource::Language),
      TextList("Combo4", 6, "Lb5", "制作人", ListSource::Producers),
      TextList("Combo3", 7, "Lb6", "制作公司", ListSource::Language),
  };
  SectionDef text;
  text.controls = {Synopsis("Text2", 8, "Lb7")};
  e.sections = {top, text};
  return e;
}

EditorForm shEditor() {
  EditorForm e;
  e.name = QStringLiteral("SH");
  e.captionColumns = {2};
  SectionDef top;
  top.perRow = 2;
  // Two columns, as the labels are numbered: type and time, target and
  // producer, difficulty and company, then the default artist.
  top.controls = {
      TextBox("Text0", 1, "Lb0", "通告编号"),
      jobName(),
      TextList("Combo0", 3, "Lb2", "通告类型", ListSource::Language),
      TextList("Combo3", 6, "Lb3", "时间", ListSource::Language),
      TextList("Combo1", 4, "Lb4", "征求对象", ListSource::Language),
      TextList("Combo4", 7, "Lb5", "制作人", ListSource::Producers),
      TextList("Combo2", 5, "Lb6", "通告难度", ListSource::Fixed, kDifficulties),
      TextList("Combo5", 8, "Lb7", "制作公司", ListSource::Language),
      // No entries: nothing can be picked, so modify keeps the cell and add
      // copies it from the row the dialog opened on.
      TextList("Combo6", 9, "Lb8", "默认艺人", ListSource::None),
  };
  SectionDef flags;
  flags.headingName = QStringLiteral("Lb9");
  flags.heading = QStringLiteral("特殊要求");
  flags.perRow = 5;
  flags.controls = {
      CheckBox(ControlKind::CheckMark, "Check0", 10, "Lb10", "暴力"),
      CheckBox(ControlKind::CheckMark, "Check1", 11, "Lb11", "反派"),
      CheckBox(ControlKind::CheckMark, "Check2", 12, "Lb12", "裸露"),
      CheckBox(ControlKind::CheckMark, "Check3", 13, "Lb13", "反串"),
      CheckBox(ControlKind::CheckMark, "Check4", 14, "Lb14", "搞笑"),
      CheckBox(ControlKind::CheckMark, "Check5", 15, "Lb15", "丑化"),
      CheckBox(ControlKind::CheckMark, "Check6", 16, "Lb16", "吻戏"),
  };
  SectionDef images;
  images.perRow = 3;
  images.controls = {
      TextBox("Text3", 17, "Lb17", "叛逆"),
      TextBox("Text4", 18, "Lb18", "性感"),
      TextBox("Text5", 19, "Lb19", "亲和"),
  };
  SectionDef text;
  text.controls = {Synopsis("Text2", 20, "Lb20", 250)};
  e.sections = {top, flags, images, text};
  return e;
}

}  // namespace

std::vector<const EditorForm*> CaseEditors() {
  static const EditorForm cd = cdEditor(), cf = cfEditor(), mv = mvEditor(), tv = tvEditor(), sh = shEditor();
  return {&cd, &cf, &mv, &tv, &sh};
}

}  // namespace v3
