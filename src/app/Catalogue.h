#pragma once
#include <QString>
#include <QStringList>

#include <vector>

#include "tables/Table.h"

namespace v3 {

// One entry of the Select menu. The menus, the open / reload / save dispatch
// and the record commands all read this one table.
struct CatalogueEntry {
  QString menuEntry;  // "mnu_Team": the menu entry's object name and language-file key
  QString menuText;   // "Team.dat", "Nickname.tab (Readonly)"
  QString caption;    // the window caption while the table is open; empty for standalone windows
  QString fileName;   // the data file
  QString code;       // "Team"
  QString editor;     // the editor dialog, empty for none
  bool addAllowed = false;
  QStringList disabledForModify;  // editor controls disabled by "modify several"
  QString window;                 // standalone table window (Cons, Dif, Length, Level); empty for grid tables

  bool isStandalone() const { return !window.isEmpty(); }
  // The grid columns that identify a record: those the disabled controls show
  // ("Text0" and "Text(1)" show column 1, "Text1" and "Text(2)" column 2), ascending.
  QList<int> identifyingColumns() const;
  // The grid table's definition; nullptr for standalone windows and tables not built yet.
  const TableDef* table() const;
};

const std::vector<CatalogueEntry>& Catalogue();  // all thirty, in menu order
// The entry whose caption is `caption` (grid tables only); nullptr when none.
const CatalogueEntry* CatalogueEntryByCaption(const QString& caption);

}  // namespace v3
