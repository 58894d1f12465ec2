#pragma once
#include <QString>

#include <vector>

#include "tables/Table.h"

namespace v3 {

// Every table that loads into the grid and saves from it, each defined once
// in the unit of its file family.
const TableDef& TeamTable();
// Fixed-record tables: the job files, the request files, the activity files,
// the stars, the firms and the schedule kinds.
const TableDef& CDTable();
const TableDef& CFTable();
const TableDef& MVTable();
const TableDef& TVTable();
const TableDef& SHTable();
const TableDef& CFRTable();
const TableDef& MVRTable();
const TableDef& TVRTable();
const TableDef& RCTable();
const TableDef& SCTable();
const TableDef& WCTable();
const TableDef& TCTable();
const TableDef& StarTable();
const TableDef& FirmTable();
const TableDef& SchTable();
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

// StarRole.dat holds its records in one of two layouts, and the file's
// records tell which: read in the layout the game wrote, the upper two bytes
// of every numeric slot are zero, the sex slot holds 0 or 1 and the name
// field holds text followed by zeros. The layout that fits the records
// better wins; when they fit both equally, record 1 decides: layout A when
// the 16-bit value at its offset 4 is 1 (a male star's sex), or when the
// first star is a woman and its offsets 4..23 cannot be a name while 20..39
// can; layout B otherwise (an empty or missing file too). A save writes the
// file back in its layout.
bool StarRoleUsesLayoutA(const QByteArray& file);
// Offset of the star name within each record of that file: 20 in layout A, 4 in B.
int StarRoleNameOffset(const QByteArray& file);

// All of them, in the order the sample generator writes them (Producer.tab
// first, so the tables that name producers can find them).
const std::vector<const TableDef*>& AllTables();

// The table for a file name, matched without regard to case; nullptr if none.
const TableDef* FindTable(const QString& fileName);

}  // namespace v3
