#include "editors/Editors.h"

namespace v3 {

namespace {

ControlDef fixedBox(const QString& name, int column, const QString& labelName, const QString& label) {
  ControlDef c = TextBox(name, column, labelName, label);
  c.alwaysDisabled = true;  // identifies the record; the save keeps it where it is
  return c;
}

// Active.tab and Pression.tab: three identifying fields shown, two values edited.
EditorForm fixedTableEditor(const QString& name, const QStringList& labels) {
  EditorForm e;
  e.name = name;
  e.designCaption = QStringLiteral("修改");
  e.captionColumns = {2, 3};
  SectionDef identity;
  identity.perRow = 3;
  for (int i = 0; i < 3; ++i)
    identity.controls.push_back(
        fixedBox(QStringLiteral("Text%1").arg(i), i + 1, QStringLiteral("Lb%1").arg(i), labels[i]));
  SectionDef values;
  values.perRow = 3;
  for (int i = 3; i < 5; ++i)
    values.controls.push_back(
        TextBox(QStringLiteral("Text%1").arg(i), i + 1, QStringLiteral("Lb%1").arg(i), labels[i]));
  e.sections = {identity, values};
  return e;
}

EditorForm producerEditor() {
  EditorForm e;
  e.name = QStringLiteral("PD");
  e.captionColumns = {2};  // the producer's name
  SectionDef s;
  s.perRow = 2;
  s.controls = {TextBox("Text0", 1, "Lb0", "编号"), TextBox("Text1", 2, "Lb1", "导演名称"),
                TextBox("Text2", 3, "Lb2", "唱片分组"), TextBox("Text3", 4, "Lb3", "戏剧分组")};
  e.sections = {s};
  return e;
}

EditorForm quizEditor() {
  EditorForm e;
  e.name = QStringLiteral("Rich");
  e.captionColumns = {1};  // the record number, not the question number
  SectionDef numbers;
  numbers.perRow = 2;
  numbers.controls = {TextBox("Text0", 1, "Lb0", "编号"), TextBox("Text1", 2, "Lb1", "题号")};
  SectionDef question;
  question.perRow = 1;
  ControlDef q = TextBox("Text2", 3, "Lb2", "问题");
  q.maxLength = 250;
  question.controls = {q};
  // Correct answers on the left, wrong ones on the right.
  SectionDef answers;
  answers.perRow = 2;
  answers.byColumn = true;
  const QStringList labels{"正确答案1", "正确答案2", "正确答案3", "错误答案1", "错误答案2", "错误答案3"};
  for (int i = 3; i <= 8; ++i)
    answers.controls.push_back(
        TextBox(QStringLiteral("Text%1").arg(i), i + 1, QStringLiteral("Lb%1").arg(i), labels[i - 3]));
  e.sections = {numbers, question, answers};
  e.minimumWidth = 480;
  return e;
}

EditorForm worldEditor() {
  EditorForm e;
  e.name = QStringLiteral("World");
  e.designCaption = QStringLiteral("修改");
  e.captionColumns = {3};  // the location's name
  // The text boxes are named by their column; Lb<c> labels column c.
  SectionDef top;
  top.perRow = 3;
  top.controls = {fixedBox("Text(1)", 1, "Lb1", "编号"), CheckBox(ControlKind::Check01, "Check0", 2, "Lb2", "开启"),
                  TextBox("Text(3)", 3, "Lb3", "名称")};
  SectionDef fares;
  fares.headingName = QStringLiteral("Lb14");
  fares.heading = QStringLiteral("票价");
  fares.perRow = 3;
  fares.controls =
      TextArray(4, 12, 4, 4, {"据点", "长城", "东京", "好莱坞", "巴黎", "维也纳", "夏威夷", "纽约", "开罗"});
  SectionDef description;
  description.perRow = 1;
  ControlDef d = With(TextBox("Text(13)", 13, "Lb13", "简介"), ControlKind::MultiText);
  d.maxLength = 250;
  description.controls = {d};
  e.sections = {top, fares, description};
  return e;
}

EditorForm needEffectEditor() {
  EditorForm e;
  e.name = QStringLiteral("NE");
  e.designCaption = QStringLiteral("修改");
  e.captionColumns = {2, 3};  // announcement type and person sought
  e.extraButtonName = QStringLiteral("Cmd");
  e.extraButton = QStringLiteral("查看能力需求具体数值");

  SectionDef identity;
  identity.perRow = 3;
  identity.controls = {fixedBox("Text0", 1, "Lb0", "编号"), fixedBox("Text1", 2, "Lb1", "通告类型"),
                       fixedBox("Text2", 3, "Lb2", "征求对象")};

  auto abilities = [](const QString& headingName, const QString& heading, int firstText, int firstColumn) {
    SectionDef s;
    s.headingName = headingName;
    s.heading = heading;
    s.perRow = 3;
    for (int i = 0; i < 9; ++i)
      s.controls.push_back(TextBox(QStringLiteral("Text%1").arg(firstText + i), firstColumn + i,
                                   QStringLiteral("Lb%1").arg(firstText + i), AbilityLabels()[i]));
    return s;
  };

  SectionDef demands;
  demands.headingName = QStringLiteral("Lb29");
  demands.heading = QStringLiteral("特殊要求");
  demands.perRow = 5;
  const QStringList demandLabels{"暴力", "反派", "裸露", "反串", "搞笑", "丑化", "吻戏"};
  for (int i = 0; i < 7; ++i)
    demands.controls.push_back(CheckBox(ControlKind::Check01, QStringLiteral("Check%1").arg(i), 13 + i,
                                        QStringLiteral("Lb%1").arg(12 + i), demandLabels[i]));

  // The effect boxes Text12..Text20 are labelled Lb19..Lb27.
  SectionDef effects = abilities("Lb30", "能力影响", 12, 20);
  for (int i = 0; i < 9; ++i) effects.controls[size_t(i)].labelName = QStringLiteral("Lb%1").arg(19 + i);

  e.sections = {identity, abilities("Lb28", "能力需求", 3, 4), demands, effects};
  return e;
}

}  // namespace

std::vector<const EditorForm*> SmallTableEditors() {
  static const EditorForm active = fixedTableEditor("Active", {"编号", "名称", "规模", "人数", "费用"});
  static const EditorForm pression = fixedTableEditor("PS", {"编号", "通告类型", "征求对象", "压力", "疲劳"});
  static const EditorForm producer = producerEditor();
  static const EditorForm quiz = quizEditor();
  static const EditorForm world = worldEditor();
  static const EditorForm needEffect = needEffectEditor();
  return {&active, &pression, &producer, &quiz, &world, &needEffect};
}

}  // namespace v3
