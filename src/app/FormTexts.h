#pragma once
#include <QString>

class QComboBox;
class QWidget;

namespace v3 {

class LanguageFile;

// Every window gets its texts from the language file the same way when it loads, keyed by object
// names: the language-file section is the window's objectName, key
// "Caption" its title, and each command button, label, frame (group box),
// menu and menu entry is looked up under its own objectName, its current
// text being the default. Check boxes, text boxes, drop-down lists and the
// grid keep their texts; a control without a name is skipped.
//
// Control arrays: element i of the array "Combo" is the widget whose
// objectName is "Combo(i)" (so "Text(1)", "Lable(0)", "Combo(10)"). Its
// text is looked up under "Combo(i)" first and then under the array's name
// "Combo", so one entry can serve every element of an array.
//
// Then, for the windows that have fixed lists (FixedLists() in
// text/Language.h), each list's entries are appended to its drop-down list.
void ApplyFormTexts(QWidget* window, const LanguageFile& texts);

// The window's drop-down list with the object name ("Combo6", "Combo(2)"),
// searched through all its children; nullptr when there is none.
QComboBox* FindCombo(QWidget* window, const QString& objectName);

// Replaces the drop-down list's entries at once (a list model sharing
// `entries`); the selected position stays when the list still has it.
void SetComboEntries(QComboBox* combo, const QStringList& entries);

// The lists read from the game's own tables, appended to the window's
// drop-down lists. Each reads the data folder anew from Config.ini in the
// program folder (the folder of the program file when empty) and never
// creates a missing file.
//   producer list -> Combo4 (CDW, SH, MV, TV)
//   star list     -> Combo(0)..Combo(5) in Firm, Combo(0)..Combo(3) in Team,
//                    Combo6 in every other window (CDW, CFR, MVR, TVR)
//   team list     -> Combo6 (CDW, before the star list)
void FillProducerList(QWidget* window, const QString& programFolder = QString());
void FillStarList(QWidget* window, const QString& programFolder = QString());
void FillTeamList(QWidget* window, const QString& programFolder = QString());

}  // namespace v3
