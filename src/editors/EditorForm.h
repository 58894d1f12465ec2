#pragma once
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace v3 {

// An editor dialog declared as data: its controls in the order they are
// filled from the first selected row and written back, grouped into the
// sections of its layout. One dialog class (RecordDialog) builds and runs
// every editor from such a description.

enum class ControlKind {
  Text,       // text box: the cell's text
  MultiText,  // text box of several lines
  FillIn,     // "全部修改为": every change is copied into the text boxes of `targets`; not stored
  IndexList,  // drop-down list whose value is the selected position
  TextList,   // drop-down list whose value is its text; counts as changed only when the user picks an entry
  Check01,    // check box carried as "0" / "1" (a cell of 2 shows a greyed box)
  CheckMark,  // check box carried as "√" / empty
};

// Where a drop-down list's entries come from. Lists from the language file
// and from the game's tables are filled by the window-text layer by the
// window's and the list's names; `Fixed` entries live in the description.
enum class ListSource { None, Language, Fixed, Producers, Stars, TeamsThenStars };

struct ControlDef {
  ControlKind kind = ControlKind::Text;
  QString name;       // object name: "Text0", "Text(7)", "Combo(2)", "Check0"
  int column = 0;     // grid column 1..K; 0 for a fill-in box
  QString labelName;  // object name of its label ("Lb3", "Lable(0)"), empty for none
  QString label;      // the label's design text
  ListSource list = ListSource::None;
  QStringList entries;          // Fixed list entries
  int maxLength = 0;            // characters; 0 = no limit
  QStringList targets;          // FillIn: the text boxes it sets
  bool alwaysDisabled = false;  // shown but never editable (identifying fields of Active, PS, NE)
  bool hidden = false;          // filled from the grid but not shown; never changed by the user
  bool startsRow = false;       // begins a new row of its section
  bool wide = false;            // takes a row of its section to itself
  bool joinsPrevious = false;   // shares the previous control's place: "生日 [2] 月 [7] 日"
  int chars = 0;                // text boxes: the field's width in characters (0: a number)
  QString unitName, unit;       // a label after the control ("Lb6" "天")
  // IndexList: list positions stored as other values (Item's shop: position 5 is 11).
  std::vector<std::pair<int, int>> storedAs;
  // IndexList: nothing selected leaves the cell as it was; a cell of -1 then
  // has no position either and is kept as it was.
  bool unselectedWritesNothing = false;
};

struct SectionDef {
  QString headingName;    // group label object name ("Lb9"), empty for an untitled section
  QString heading;        // its design text ("特殊要求")
  int perRow = 2;         // label + control pairs per row
  bool byColumn = false;  // fill each column top to bottom before the next (stars 1..10 left, 11..20 right)
  std::vector<ControlDef> controls;
};

struct EditorForm {
  QString name;  // the dialog's object name and language section: "Team", "CDW"
  QString designCaption = QStringLiteral("添加");
  std::vector<int> captionColumns;  // the caption of a dialog opened on a row: these cells joined by a blank
  std::vector<SectionDef> sections;
  // Extra command button (object name and design text), e.g. NE's "Cmd".
  QString extraButtonName, extraButton;
  int minimumWidth = 0;
};

// Shorthands for the descriptions.
inline ControlDef TextBox(const QString& name, int column, const QString& labelName, const QString& label) {
  ControlDef c;
  c.kind = ControlKind::Text;
  c.name = name;
  c.column = column;
  c.labelName = labelName;
  c.label = label;
  return c;
}
inline ControlDef With(ControlDef c, ControlKind kind) {
  c.kind = kind;
  return c;
}

}  // namespace v3
