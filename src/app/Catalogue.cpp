#include "app/Catalogue.h"

#include <algorithm>

#include "tables/Tables.h"

namespace v3 {

const TableDef* CatalogueEntry::table() const { return isStandalone() ? nullptr : FindTable(fileName); }

QList<int> CatalogueEntry::identifyingColumns() const {
  QList<int> columns;
  for (const QString& control : disabledForModify) {
    // A single box counts from 0, an element of the box array from 1.
    bool ok = false;
    int column = 0;
    if (control.startsWith(QLatin1String("Text(")) && control.endsWith(u')'))
      column = control.mid(5, control.size() - 6).toInt(&ok);
    else if (control.startsWith(QLatin1String("Text")))
      column = control.mid(4).toInt(&ok) + 1;
    if (ok && column >= 1 && !columns.contains(column)) columns.append(column);
  }
  std::sort(columns.begin(), columns.end());
  return columns;
}

const std::vector<CatalogueEntry>& Catalogue() {
  static const std::vector<CatalogueEntry> entries = [] {
    auto grid = [](const char* entry, const char* file, const char* code, const char* editor, bool add,
                   QStringList disabled) {
      const QString f = QString::fromLatin1(file);
      CatalogueEntry e;
      e.menuEntry = QString::fromLatin1(entry);
      e.menuText = e.caption = e.fileName = f;
      e.code = QString::fromLatin1(code);
      e.editor = QString::fromLatin1(editor);
      e.addAllowed = add;
      e.disabledForModify = std::move(disabled);
      return e;
    };
    auto window = [](const char* entry, const char* file, const char* win) {
      const QString f = QString::fromLatin1(file);
      return CatalogueEntry{QString::fromLatin1(entry), f, QString(), f, QString::fromLatin1(win), QString(), false, {},
                            QString::fromLatin1(win)};
    };
    // Editor controls: "Text0" a single text box, "Text(1)" element 1 of the text-box array.
    std::vector<CatalogueEntry> v{
        grid("mnu_CD", "CDCase.dat", "CD", "CDW", true, {"Text0"}),
        grid("mnu_CF", "CFCase.dat", "CF", "CF", true, {"Text0"}),
        grid("mnu_CFR", "CFRequest.dat", "CFR", "CFR", true, {"Text0", "Text1"}),
        grid("mnu_Firm", "Firm.dat", "Firm", "Firm", true, {"Text0", "Text1"}),
        grid("mnu_Item", "Item.dat", "Item", "Item", true, {"Text(1)"}),
        grid("mnu_MV", "MVCase.dat", "MV", "MV", true, {"Text0"}),
        grid("mnu_MVR", "MVRequest.dat", "MVR", "MVR", true, {"Text0", "Text1"}),
        grid("mnu_Com", "OfficeCom.dat", "OC", "OC", false, {}),
        grid("mnu_Emo", "OfficeEmo.dat", "OE", "OE", false, {}),
        grid("mnu_RC", "ReleaseCase.dat", "RC", "RC", false, {"Text(1)", "Text(2)"}),
        grid("mnu_Sch", "ScheduleClass.dat", "Sch", "Sch", false, {"Text(1)"}),
        grid("mnu_SH", "SHCase.dat", "SH", "SH", true, {"Text0"}),
        grid("mnu_Sc", "SpecialCase.dat", "SC", "SC", false, {"Text(1)", "Text(2)"}),
        grid("mnu_Star", "StarRole.dat", "Star", "Star", true, {"Text(1)"}),
        grid("mnu_Team", "Team.dat", "Team", "Team", true, {"Text0"}),
        grid("mnu_TC", "TrainCase.dat", "TC", "TC", false, {"Text(1)", "Text(2)"}),
        grid("mnu_TV", "TVCase.dat", "TV", "TV", true, {"Text0"}),
        grid("mnu_TVR", "TVRequest.dat", "TVR", "TVR", true, {"Text0", "Text1"}),
        grid("mnu_WC", "WorkCase.dat", "WC", "WC", false, {"Text(1)", "Text(2)"}),
        grid("mnu_Active", "Active.tab", "Active", "Active", false, {}),
        window("mnu_Cons", "Constellation.tab", "Cons"),
        window("mnu_Dif", "Difficulty.tab", "Dif"),
        window("mnu_Length", "Length.tab", "Length"),
        window("mnu_Level", "Level.tab", "Level"),
        grid("mnu_NE", "NeedEffect.tab", "NE", "NE", false, {}),
        grid("mnu_NN", "Nickname.tab", "NN", "", false, {}),
        grid("mnu_PS", "Pression.tab", "PS", "PS", false, {}),
        grid("mnu_PD", "Producer.tab", "PD", "PD", true, {"Text0"}),
        grid("mnu_Rich", "RichBa.tab", "Rich", "Rich", true, {"Text0"}),
        grid("mnu_World", "World.tab", "World", "World", false, {}),
    };
    for (CatalogueEntry& e : v)
      if (e.code == QLatin1String("NN")) e.menuText = QStringLiteral("Nickname.tab (Readonly)");
    return v;
  }();
  return entries;
}

const CatalogueEntry* CatalogueEntryByCaption(const QString& caption) {
  for (const CatalogueEntry& e : Catalogue())
    if (!e.isStandalone() && e.caption == caption) return &e;
  return nullptr;
}

}  // namespace v3
