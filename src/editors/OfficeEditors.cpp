#include "editors/Editors.h"

namespace v3 {

namespace {

// The twenty stars of the office events in the game's cast order.
const QStringList& castNames() {
  static const QStringList names{"席若芸", "舒芸晴", "凌天芸", "林晓薇", "苏映雪", "唐欣妍", "叶心怡",
                                 "方诗涵", "何静雯", "罗佳琪", "江子豪", "韩宇辰", "沈浩然", "周俊宏",
                                 "许志远", "陆天翔", "高云飞", "程亦凡", "杜明轩", "顾以诚"};
  return names;
}

// One line per star: Text(first).. shows column first + 2.., labelled Lb<first>..;
// stars 1..10 in the left column, 11..20 in the right.
SectionDef starLines(int first) {
  SectionDef s;
  s.perRow = 2;
  s.byColumn = true;
  s.controls = TextArray(first, first + 19, first + 2, first, castNames());
  return s;
}

EditorForm officeComEditor() {
  EditorForm e;
  e.name = QStringLiteral("OC");
  e.designCaption = QStringLiteral("修改");
  e.captionColumns = {1};  // the event number
  e.sections = {starLines(0)};
  e.minimumWidth = 520;
  return e;
}

EditorForm officeEmoEditor() {
  EditorForm e;
  e.name = QStringLiteral("OE");
  e.designCaption = QStringLiteral("修改");
  e.captionColumns = {1};
  SectionDef top;
  top.perRow = 2;
  ControlDef unknown = TextBox("Text(0)", 2, "Lb0", "未知");  // a number
  ControlDef agent = TextBox("Text(1)", 3, "Lb1", "经纪人");
  top.controls = {unknown, agent};
  e.sections = {top, starLines(2)};
  e.minimumWidth = 760;  // its lines are longer than those of OfficeCom.dat
  return e;
}

}  // namespace

std::vector<const EditorForm*> OfficeEditors() {
  static const EditorForm com = officeComEditor();
  static const EditorForm emo = officeEmoEditor();
  return {&com, &emo};
}

}  // namespace v3
