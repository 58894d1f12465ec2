#pragma once
#include <QString>

#include <vector>

#include "editors/EditorSpec.h"

namespace v3 {

// Every editor description, each declared once in the unit of its table family.
std::vector<const EditorSpec*> TeamEditors();
std::vector<const EditorSpec*> CaseEditors();       // CDW, CF, MV, TV, SH
std::vector<const EditorSpec*> RequestEditors();    // CFR, MVR, TVR
std::vector<const EditorSpec*> ClassCaseEditors();  // TC, SC, RC, WC
std::vector<const EditorSpec*> StarEditors();          // Star
std::vector<const EditorSpec*> FirmScheduleEditors();  // Firm, Sch
std::vector<const EditorSpec*> ItemEditors();          // Item
std::vector<const EditorSpec*> OfficeEditors();        // OC, OE
std::vector<const EditorSpec*> SmallTableEditors();    // Active, PS, PD, Rich, World, NE

const std::vector<const EditorSpec*>& AllEditorSpecs();
const EditorSpec* FindEditorSpec(const QString& name);  // by dialog name ("Team", "CDW"); nullptr if none

// Helpers for the descriptions.
ControlSpec IndexList(const QString& name, int column, const QString& labelName, const QString& label, ListSource list);
ControlSpec TextList(const QString& name, int column, const QString& labelName, const QString& label, ListSource list,
                     QStringList entries = {});
ControlSpec CheckBox(ControlKind kind, const QString& name, int column, const QString& labelName, const QString& label);
ControlSpec FillIn(const QString& name, const QString& labelName, const QStringList& targets);
// "Text(first)".."Text(last)" with the given label names and texts.
std::vector<ControlSpec> TextArray(int first, int last, int firstColumn, int firstLabel, const QStringList& labels);

// The nine abilities in their fixed order.
const QStringList& AbilityLabels();

}  // namespace v3
