#include "app/FormTexts.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QSet>
#include <QStringListModel>
#include <QWidget>

#include "tables/ChoiceLists.h"
#include "text/Language.h"

namespace v3 {
namespace {

// The text under the control's name; for an element "Name(i)" of a control
// array the element's own entry first, then the array's.
QString captionFor(const LanguageFile& texts, const QString& section, const QString& name, const QString& current) {
  const qsizetype open = name.indexOf(QLatin1Char('('));
  if (open > 0 && name.endsWith(QLatin1Char(')')))
    return texts.text(section, name, texts.text(section, name.left(open), current));
  return texts.text(section, name, current);
}

bool isInternal(const QString& name) { return name.isEmpty() || name.startsWith(QLatin1String("qt_")); }

// Gives the object its caption when it is a kind of control that has one;
// other objects are left alone.
void applyCaption(const LanguageFile& texts, const QString& section, QObject* object) {
  const QString name = object->objectName();
  if (isInternal(name)) return;
  if (auto* menu = qobject_cast<QMenu*>(object)) {
    const QString t = captionFor(texts, section, name, menu->title());
    if (t != menu->title()) menu->setTitle(t);
  } else if (auto* action = qobject_cast<QAction*>(object)) {
    if (action->isSeparator()) return;
    const QString t = captionFor(texts, section, name, action->text());
    if (t != action->text()) action->setText(t);
  } else if (qobject_cast<QCheckBox*>(object) || qobject_cast<QRadioButton*>(object)) {
    return;  // check boxes keep their captions
  } else if (auto* button = qobject_cast<QAbstractButton*>(object)) {
    const QString t = captionFor(texts, section, name, button->text());
    if (t != button->text()) button->setText(t);
  } else if (auto* label = qobject_cast<QLabel*>(object)) {
    const QString t = captionFor(texts, section, name, label->text());
    if (t != label->text()) label->setText(t);
  } else if (auto* frame = qobject_cast<QGroupBox*>(object)) {
    const QString t = captionFor(texts, section, name, frame->title());
    if (t != frame->title()) frame->setTitle(t);
  }
}

QString programFolderOr(const QString& programFolder) {
  return programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder;
}

void appendTo(QWidget* window, const QString& comboName, const QStringList& entries) {
  QComboBox* combo = FindCombo(window, comboName);
  if (!combo) return;
  // A list of thousands of stars: one list model sharing the entries, no item per entry.
  if (combo->count() == 0) {
    SetComboEntries(combo, entries);
  } else if (auto* list = qobject_cast<QStringListModel*>(combo->model())) {
    SetComboEntries(combo, list->stringList() + entries);
  } else {
    combo->addItems(entries);
  }
}

}  // namespace

void ApplyFormTexts(QWidget* window, const LanguageFile& texts) {
  if (!window) return;
  const QString section = window->objectName();
  if (section.isEmpty()) return;

  window->setWindowTitle(texts.text(section, QStringLiteral("Caption"), window->windowTitle()));

  // Every control in the window's order: its children depth first, and the
  // entries of each menu, also those whose action belongs to another object.
  QSet<QObject*> done;
  auto visit = [&](QObject* object) {
    if (done.contains(object)) return;
    done.insert(object);
    applyCaption(texts, section, object);
  };
  const QList<QObject*> children = window->findChildren<QObject*>();
  for (QObject* child : children) {
    visit(child);
    if (auto* widget = qobject_cast<QWidget*>(child))
      for (QAction* action : widget->actions())
        if (!action->menu()) visit(action);
  }

  for (const FixedList& list : FixedLists())
    if (list.window == section) appendTo(window, list.control, texts.list(list.section, list.firstKey, list.lastKey));
}

void SetComboEntries(QComboBox* combo, const QStringList& entries) {
  const int current = combo->currentIndex();
  combo->setModel(new QStringListModel(entries, combo));  // the combo deletes the model it had made
  combo->setCurrentIndex(current < combo->count() ? current : -1);
}

QComboBox* FindCombo(QWidget* window, const QString& objectName) {
  return window ? window->findChild<QComboBox*>(objectName) : nullptr;
}

void FillProducerList(QWidget* window, const QString& programFolder) {
  if (!window) return;
  appendTo(window, QStringLiteral("Combo4"), ProducerList(programFolderOr(programFolder)));
}

void FillStarList(QWidget* window, const QString& programFolder) {
  if (!window) return;
  const QStringList stars = StarList(programFolderOr(programFolder));
  const QString name = window->objectName();
  const int arrayElements = name == QLatin1String("Firm") ? 6 : name == QLatin1String("Team") ? 4 : 0;
  if (arrayElements == 0) {
    appendTo(window, QStringLiteral("Combo6"), stars);
    return;
  }
  for (int i = 0; i < arrayElements; ++i) appendTo(window, QStringLiteral("Combo(%1)").arg(i), stars);
}

void FillTeamList(QWidget* window, const QString& programFolder) {
  if (!window) return;
  appendTo(window, QStringLiteral("Combo6"), TeamList(programFolderOr(programFolder)));
}

}  // namespace v3
