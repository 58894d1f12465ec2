#include "tables/Tables.h"

namespace v3 {

const std::vector<const TableDef*>& AllTables() {
  static const std::vector<const TableDef*> all = [] {
    std::vector<const TableDef*> v;
    // Small tables (Producer.tab must come first).
    v.push_back(&ProducerTable());
    for (const TableDef* t : {&ItemTable(), &OfficeComTable(), &OfficeEmoTable(), &ActiveTable(), &PressionTable(),
                              &RichTable(), &WorldTable(), &NeedEffectTable(), &NicknameTable()})
      v.push_back(t);
    // Fixed-record tables.
    v.push_back(&TeamTable());
    for (const TableDef* t :
         {&CDTable(), &CFTable(), &MVTable(), &TVTable(), &SHTable(), &CFRTable(), &MVRTable(), &TVRTable(), &RCTable(),
          &SCTable(), &WCTable(), &TCTable(), &StarTable(), &FirmTable(), &SchTable()})
      v.push_back(t);
    return v;
  }();
  return all;
}

const TableDef* FindTable(const QString& fileName) {
  for (const TableDef* t : AllTables())
    if (t->fileName.compare(fileName, Qt::CaseInsensitive) == 0) return t;
  return nullptr;
}

}  // namespace v3
