#include "editors/Editors.h"

namespace v3 {

namespace {
EditorForm teamEditor() {
  EditorForm e;
  e.name = QStringLiteral("Team");
  e.captionColumns = {2};  // the team name
  SectionDef top;
  top.perRow = 2;
  top.controls = {
      TextBox("Text0", 1, "Lb0", "编号"),
      [] {
        ControlDef name = TextBox("Text1", 2, "Lb1", "团体名称");
        name.chars = 10;
        return name;
      }(),
      IndexList("Combo(0)", 3, "Lb2", "成员1", ListSource::Stars),
      IndexList("Combo(1)", 4, "Lb3", "成员2", ListSource::Stars),
      IndexList("Combo(2)", 5, "Lb4", "成员3", ListSource::Stars),
      IndexList("Combo(3)", 6, "Lb5", "成员4", ListSource::Stars),
  };
  SectionDef values;
  values.perRow = 3;
  values.controls = {
      TextBox("Text2", 7, "Lb6", "人气"),       TextBox("Text3", 8, "Lb7", "未知属性"),
      TextBox("Text4", 9, "Lb8", "未知属性"),   TextBox("Text5", 10, "Lb9", "未知属性"),
      TextBox("Text6", 11, "Lb10", "通告数量"),
  };
  e.sections = {top, values};
  return e;
}
}  // namespace

std::vector<const EditorForm*> TeamEditors() {
  static const EditorForm team = teamEditor();
  return {&team};
}

}  // namespace v3
