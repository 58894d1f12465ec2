#include "editors/Editors.h"

namespace v3 {

namespace {

// The item lists hold positions; the sixth one (the special shop) is stored
// as 11. A value that no entry stands for, and a list left with nothing
// selected, leave the cell as it was: the file keeps these values in one byte.
ControlDef itemList(const QString& name, int column, const QString& labelName, const QString& label) {
  ControlDef c = IndexList(name, column, labelName, label, ListSource::Language);
  c.storedAs = {{5, 11}};
  c.unselectedWritesNothing = true;
  return c;
}

EditorForm itemEditor() {
  EditorForm e;
  e.name = QStringLiteral("Item");
  e.captionColumns = {3};  // the item's name

  SectionDef top;
  top.perRow = 3;
  top.controls = {
      TextBox("Text(1)", 1, "Lb1", "编号"),     itemList("Combo(2)", 2, "Lb2", "种类"),
      TextBox("Text(3)", 3, "Lb3", "名称"),     itemList("Combo(4)", 4, "Lb4", "商店"),
      TextBox("Text(5)", 5, "Lb5", "图片编号"), TextBox("Text(6)", 6, "Lb6", "系统数量"),
      TextBox("Text(7)", 7, "Lb7", "价格"),     TextBox("Text(8)", 8, "Lb8", "拥有数量"),
      TextBox("Text(9)", 9, "Lb9", "证书编号"), itemList("Combo(10)", 10, "Lb10", "可赠送对象"),
  };

  // Friendliness towards the twenty characters, in the file's order.
  SectionDef friendliness;
  friendliness.headingName = QStringLiteral("Lb33");
  friendliness.heading = QStringLiteral("友好度");
  friendliness.perRow = 4;
  const QStringList characters{"席若芸", "舒芸晴", "凌天芸", "林晓薇", "苏映雪", "唐欣妍", "叶心怡",
                               "方诗涵", "何静雯", "罗佳琪", "江子豪", "韩宇辰", "沈浩然", "周俊宏",
                               "许志远", "未知",   "高云飞", "程亦凡", "杜明轩", "未知"};
  friendliness.controls = TextArray(11, 30, 11, 11, characters);
  QStringList targets;
  for (int i = 11; i <= 30; ++i) targets << QStringLiteral("Text(%1)").arg(i);
  friendliness.controls.push_back(FillIn("Text0", "Lb0", targets));

  SectionDef texts;
  texts.perRow = 1;
  ControlDef about = With(TextBox("Text(31)", 31, "Lb31", "物品简介"), ControlKind::MultiText);
  about.maxLength = 250;
  ControlDef effect = With(TextBox("Text(32)", 32, "Lb32", "物品作用"), ControlKind::MultiText);
  effect.maxLength = 250;
  texts.controls = {about, effect};

  e.sections = {top, friendliness, texts};
  return e;
}

}  // namespace

std::vector<const EditorForm*> ItemEditors() {
  static const EditorForm item = itemEditor();
  return {&item};
}

}  // namespace v3
