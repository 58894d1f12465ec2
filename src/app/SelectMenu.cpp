#include "app/SelectMenu.h"

#include <QAction>
#include <QMenu>

#include "app/Messages.h"
#include "app/Catalogue.h"
#include "app/Texts.h"

namespace v3 {
namespace {

struct Group {
  const char* name;
  const char16_t* title;
  std::initializer_list<const char*> codes;  // catalogue codes in menu order
};

const Group kGroups[] = {
    {"mnu_grpJobs", u"通告(&J)", {"CD", "CF", "MV", "TV", "SH"}},
    {"mnu_grpRequests", u"角色征求(&Q)", {"CFR", "MVR", "TVR"}},
    {"mnu_grpClasses", u"行程与活动(&C)", {"TC", "SC", "RC", "WC", "Sch"}},
    {"mnu_grpStars", u"艺人与团体(&T)", {"Star", "Team", "Firm", "PD", "NN"}},
    {"mnu_grpItems", u"道具(&I)", {"Item"}},
    {"mnu_grpOffice", u"事务所对话(&O)", {"OC", "OE"}},
    {"mnu_grpBalance", u"平衡数值(&B)", {"Active", "PS", "Rich", "World", "NE"}},
    {"mnu_grpWindows", u"独立窗口(&W)", {"Cons", "Dif", "Length", "Level"}},
};

struct Description {
  const char* code;
  const char16_t* text;
};
const Description kDescriptions[] = {
    {"CD", u"唱片通告"},       {"CF", u"广告通告"},       {"MV", u"电影通告"},      {"TV", u"电视通告"},
    {"SH", u"其他通告"},       {"CFR", u"广告角色征求"},  {"MVR", u"电影角色征求"}, {"TVR", u"电视角色征求"},
    {"TC", u"训练课程"},       {"SC", u"特别活动"},       {"RC", u"休闲活动"},      {"WC", u"打工"},
    {"Sch", u"行程类别"},      {"Star", u"艺人资料"},     {"Team", u"团体"},        {"Firm", u"经纪公司"},
    {"PD", u"导演"},           {"NN", u"昵称（只读）"},   {"Item", u"道具"},        {"OC", u"事务所日常对话"},
    {"OE", u"事务所心情对话"}, {"Active", u"活动规模"},   {"PS", u"通告压力"},      {"Rich", u"问答题"},
    {"World", u"世界据点"},    {"NE", u"通告需求与效果"}, {"Cons", u"星座"},        {"Dif", u"难度"},
    {"Length", u"通告长度"},   {"Level", u"等级"},
};

QString DefaultDescription(const QString& code) {
  for (const Description& d : kDescriptions)
    if (code == QLatin1String(d.code)) return QString::fromUtf16(d.text);
  return QString();
}

}  // namespace

void BuildSelectMenu(QMenu* select, const std::function<void(const CatalogueEntry&)>& open,
                     const std::function<bool(const CatalogueEntry&)>& enabled) {
  QWidget* owner = select->parentWidget();
  for (const Group& g : kGroups) {
    auto* sub = new QMenu(QString::fromUtf16(g.title), owner);
    sub->setObjectName(QString::fromLatin1(g.name));
    select->addMenu(sub);
    for (const char* code : g.codes) {
      for (const CatalogueEntry& entry : Catalogue()) {
        if (entry.code != QLatin1String(code)) continue;
        auto* a = new QAction(entry.menuText, owner);
        a->setObjectName(entry.menuEntry);
        a->setEnabled(enabled(entry));
        sub->addAction(a);
        const CatalogueEntry* e = &entry;
        QObject::connect(a, &QAction::triggered, owner, [open, e] { open(*e); });
      }
    }
  }
}

void ShowCatalogueDescriptions(QMenu* select, const LanguageFile& texts, Script script) {
  for (QAction* groupAction : select->actions()) {
    QMenu* sub = groupAction->menu();
    if (!sub) continue;
    for (QAction* a : sub->actions()) {
      const CatalogueEntry* entry = nullptr;
      for (const CatalogueEntry& e : Catalogue())
        if (e.menuEntry == a->objectName()) entry = &e;
      if (!entry) continue;
      const QString description = texts.text(QStringLiteral("Catalogue"), entry->menuEntry,
                                             msg::Localised(script, DefaultDescription(entry->code)));
      const QString name = CatalogueEntryText(a->text());
      // The text after a tab stands at the right of the entry, where shortcuts stand.
      a->setText(description.isEmpty() ? name : name + QLatin1Char('\t') + description);
      a->setStatusTip(description);
    }
  }
}

QString CatalogueEntryText(const QString& actionText) { return actionText.section(QLatin1Char('\t'), 0, 0); }

}  // namespace v3
