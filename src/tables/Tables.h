#pragma once
#include <QString>

#include <vector>

#include "tables/Table.h"

namespace v3 {

// Every table that loads into the grid and saves from it, each defined once
// in the unit of its file family.
const TableDef& TeamTable();
// Small balance tables, slot streams and the like.
const TableDef& ProducerTable();
const TableDef& ItemTable();
const TableDef& OfficeComTable();
const TableDef& OfficeEmoTable();
const TableDef& ActiveTable();
const TableDef& PressionTable();
const TableDef& RichTable();
const TableDef& WorldTable();
const TableDef& NeedEffectTable();
const TableDef& NicknameTable();

// All of them, in the order the sample generator writes them (Producer.tab
// first, so the tables that name producers can find them).
const std::vector<const TableDef*>& AllTables();

// The table for a file name, matched without regard to case; nullptr if none.
const TableDef* FindTable(const QString& fileName);

}  // namespace v3
