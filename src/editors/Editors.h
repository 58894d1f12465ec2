#pragma once
#include <QString>

#include <vector>

#include "editors/EditorForm.h"

namespace v3 {

// Every editor description, each declared once in the unit of its table family.
std::vector<const EditorForm*> TeamEditors();
std::vector<const EditorForm*> CaseEditors();          // CDW, CF, MV, TV, SH
std::vector<const EditorForm*> RequestEditors();       // CFR, MVR, TVR
std::vector<const EditorForm*> ClassCaseEditors();     // TC, SC, RC, WC
std::vector<const EditorForm*> StarEditors();          // Star
std::vector<const EditorForm*> FirmScheduleEditors();  // Firm, Sch
std::vector<const EditorForm*> ItemEditors();          // Item
std::vector<const EditorForm*> OfficeEditors();        // OC, OE
std::vector<const EditorForm*> SmallTableEditors();    // Active, PS, PD, Rich, World, NE

const std::vector<const EditorForm*>& AllEditorForms();
const EditorForm* FindEditorForm(const QString& name);  // by dialog name ("Team", "CDW"); nullptr if none

// Helpers for the descriptions.
ControlDef IndexList(const QString& name, int column, const QString& labelName, const QString& label, ListSource list);
ControlDef TextList(const QString& name, int column, const QString& labelName, const QString& label, ListSource list,
                    QStringList entries = {});
ControlDef CheckBox(ControlKind kind, const QString& name, int column, const QString& labelName, const QString& label);
ControlDef FillIn(const QString& name, const QString& labelName, const QStringList& targets);
// "Text(first)".."Text(last)" with the given label names and texts.
std::vector<ControlDef> TextArray(int first, int last, int firstColumn, int firstLabel, const QStringList& labels);

// The nine abilities in their fixed order.
const QStringList& AbilityLabels();

// One ability group: a heading, the nine boxes Text(first)..Text(first + 8)
// labelled Lb<firstLabel>.., perRow to a row, and after them the
// "全部修改为" box that sets all nine.
SectionDef AbilityGroup(const QString& headingName, const QString& heading, int first, int firstLabel,
                        const QString& fillName, const QString& fillLabelName, int perRow);

}  // namespace v3
