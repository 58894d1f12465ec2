#pragma once
#include <QString>

#include <functional>

#include "text/Language.h"
#include "text/Script.h"

class QMenu;

namespace v3 {

struct CatalogueEntry;

// The Select menu: the tables grouped by what they hold in the game (jobs,
// role requests, courses and activities, stars and teams, items, office
// talk, balance tables, the tables with windows of their own). Each entry
// keeps its object name (mnu_<code>) and shows its file name with a short
// description beside it.
void BuildSelectMenu(QMenu* select, const std::function<void(const CatalogueEntry&)>& open,
                     const std::function<bool(const CatalogueEntry&)>& enabled);

// After the window's texts came from the language file: the description
// of each entry (section "Catalogue", key = the entry's object name) beside
// its file name.
void ShowCatalogueDescriptions(QMenu* select, const LanguageFile& texts, Script script);

// The file name an entry of the Select menu shows (its text without the description).
QString CatalogueEntryText(const QString& actionText);

}  // namespace v3
