#include "editors/RecordDialog.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "app/FormTexts.h"
#include "app/Messages.h"
#include "app/Texts.h"
#include "editors/ChangeTracking.h"
#include "editors/ControlBindings.h"
#include "editors/FormPlacement.h"
#include "model/RecordGrid.h"
#include "text/Language.h"

namespace v3 {

QString RecordDialog::countText(int records, bool traditional) {
  return traditional ? QStringLiteral("修改 %1 項記錄").arg(records) : QStringLiteral("修改 %1 项记录").arg(records);
}

RecordDialog::RecordDialog(const EditorForm& form, RecordGrid& grid, const EditorRequest& request,
                           const EditorEnvironment& env, QWidget* owner)
    : QDialog(owner), form_(form), grid_(grid), request_(request), env_(env) {
  setObjectName(form.name);
  setWindowTitle(form.designCaption);
  if (owner) setWindowIcon(owner->windowIcon());
  const LanguageFile& texts = request.context.texts;
  traditional_ = !texts.isNone() && texts.script() == Script::Traditional;
  build();
  tracker_->setFilling(true);  // nothing done while the dialog opens is a user's change
  // Lists from the game's tables first, then the language file's texts and lists.
  bool producers = false, stars = false, teams = false;
  for (const auto& b : bindings_) {
    producers |= b->def().list == ListSource::Producers;
    stars |= b->def().list == ListSource::Stars || b->def().list == ListSource::TeamsThenStars;
    teams |= b->def().list == ListSource::TeamsThenStars;
  }
  if (producers) FillProducerList(this, env_.programFolder);
  if (teams) FillTeamList(this, env_.programFolder);
  if (stars) FillStarList(this, env_.programFolder);
  ApplyFormTexts(this, texts);
  ControlBinding::SharedEntries shared;
  shared.none = traditional_ ? QStringLiteral("（無）") : QStringLiteral("（无）");
  for (const auto& b : bindings_) b->prepareEntries(shared);

  const bool adding = request_.mode == EditorMode::Add;
  auto* ok = findChild<QPushButton*>(QStringLiteral("Cmd_OK"));
  auto* add = findChild<QPushButton*>(QStringLiteral("Cmd_add"));
  ok->setVisible(!adding);
  add->setVisible(adding);
  // Enter anywhere but in a box of several lines presses the button shown.
  (adding ? add : ok)->setDefault(true);
  if (request_.mode == EditorMode::ModifySeveral)
    for (const QString& name : request_.disabledControls)
      if (const int i = indexOf(name); i >= 0) bindings_[size_t(i)]->setEditable(false);

  const std::vector<int> selected = grid_.selectedRows();
  if (!selected.empty()) fillFrom(selected.front());
  count_->setVisible(!adding);
  count_->setText(countText(int(selected.size()), traditional_));
  tracker_->setFilling(false);
  offerGoTo();
  // The first key goes to the first field the user can change.
  for (const auto& b : bindings_)
    if (b->takesKeyboardFocus()) {
      b->widget()->setFocus(Qt::TabFocusReason);
      break;
    }
  // As large as the content (the form scrolls only on a small screen).
  resize(sizeHint());
}

RecordDialog::~RecordDialog() {
  // The controls go before their bindings, and nothing is tracked while they go.
  delete tracker_;
  delete scroll_;
}

void RecordDialog::build() {
  auto* outer = new QVBoxLayout(this);
  QWidget* body = PlaceForm(form_, [this](const ControlDef& c, QWidget* holder) {
    bindings_.push_back(MakeBinding(c));
    QWidget* w = bindings_.back()->create(holder);
    controls_.insert(c.name, w);
    return w;
  });
  scroll_ = MakeFormArea(body, this);
  outer->addWidget(scroll_, 1);
  tracker_ = new ChangeTracker(bindings_, scroll_->viewport(), this);
  tracker_->watchAll();

  auto* buttons = new QHBoxLayout;
  count_ = new QLabel(this);
  count_->setObjectName(QStringLiteral("LbCount"));
  buttons->addWidget(count_);
  buttons->addStretch();
  if (!form_.extraButtonName.isEmpty()) {
    auto* extra = new QPushButton(form_.extraButton, this);
    extra->setObjectName(form_.extraButtonName);
    extra->setEnabled(bool(env_.showDifficulty));
    connect(extra, &QPushButton::clicked, this, [this] {
      if (env_.showDifficulty) env_.showDifficulty(this);
    });
    buttons->addWidget(extra);
  }
  auto* ok = new QPushButton(QStringLiteral("确定"), this);
  ok->setObjectName(QStringLiteral("Cmd_OK"));
  auto* add = new QPushButton(QStringLiteral("添加"), this);
  add->setObjectName(QStringLiteral("Cmd_add"));
  auto* cancel = new QPushButton(QStringLiteral("取消"), this);
  cancel->setObjectName(QStringLiteral("Cmd_Cel"));
  connect(ok, &QPushButton::clicked, this, &RecordDialog::acceptModify);
  connect(add, &QPushButton::clicked, this, &RecordDialog::acceptAdd);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  buttons->addWidget(ok);
  buttons->addWidget(add);
  buttons->addWidget(cancel);
  outer->addLayout(buttons);
  if (form_.minimumWidth > 0) setMinimumWidth(form_.minimumWidth);
}

CellEditorDefs RecordDialog::cellEditors() const {
  CellEditorDefs defs;
  for (const auto& b : bindings_) {
    const ControlDef& f = b->def();
    if (f.column <= 0 || defs.count(f.column)) continue;
    CellEditorDef d = b->cellEditor();
    if (f.alwaysDisabled || f.hidden) d.kind = CellEditorDef::Kind::Fixed;
    defs.emplace(f.column, std::move(d));
  }
  return defs;
}

void RecordDialog::offerGoTo() {
  if (!request_.goTo || !request_.referenceTarget) return;
  for (size_t i = 0; i < bindings_.size(); ++i) {
    const ControlBinding& b = *bindings_[i];
    if (b.def().column <= 0 || !request_.referenceColumns.contains(b.def().column)) continue;
    // A list that takes typing shows its menu over its edit field.
    QList<QWidget*> widgets{b.widget()};
    if (auto* box = qobject_cast<QComboBox*>(b.widget()); box && box->lineEdit()) widgets << box->lineEdit();
    for (QWidget* w : widgets) {
      goToFields_.insert(w, int(i));
      w->installEventFilter(this);
    }
  }
}

bool RecordDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ContextMenu) {
    const auto it = goToFields_.constFind(watched);
    if (it != goToFields_.constEnd()) {
      goToMenu(*it, static_cast<QWidget*>(watched), static_cast<QContextMenuEvent*>(event)->globalPos());
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void RecordDialog::goToMenu(int index, QWidget* widget, const QPoint& globalPos) {
  const ControlBinding& b = *bindings_[size_t(index)];
  const int column = b.def().column;
  bool changed = false;
  for (size_t i = 0; i < bindings_.size(); ++i) changed |= tracker_->isChanged(int(i));
  // The record the field was filled from; a changed dialog goes nowhere
  // before its changes are confirmed or given up.
  const QString cell = b.filled() ? b.cellText() : b.value();
  const QString target = request_.referenceTarget(column, cell);
  QMenu* menu = nullptr;
  if (auto* edit = qobject_cast<QLineEdit*>(widget))
    menu = edit->createStandardContextMenu();
  else
    menu = new QMenu(widget);
  if (!menu->isEmpty()) menu->addSeparator();
  const Script script = traditional_ ? Script::Traditional : Script::Simplified;
  // The target is worded by the shell, in the interface's script already.
  QString label = msg::Localised(script, QStringLiteral("转到(&G)"));
  if (target.isEmpty())
    label += msg::Localised(script, QStringLiteral("（不引用任何记录）"));
  else
    label += u' ' + QString(target).replace(u'&', QStringLiteral("&&"));
  if (!target.isEmpty() && changed) label += msg::Localised(script, QStringLiteral("（请先确定或取消修改）"));
  QAction* go = menu->addAction(label);
  go->setObjectName(QStringLiteral("mnu_goto"));
  go->setEnabled(!target.isEmpty() && !changed);
  const QAction* picked = menu->exec(globalPos);
  delete menu;
  if (picked != go) return;
  request_.goTo(column, cell);
  reject();
}

int RecordDialog::indexOf(const QString& name) const {
  for (size_t i = 0; i < bindings_.size(); ++i)
    if (bindings_[i]->def().name == name) return int(i);
  return -1;
}

bool RecordDialog::isChanged(const QString& name) const {
  const int i = indexOf(name);
  return i >= 0 && tracker_->isChanged(i);
}

void RecordDialog::fillFrom(int row) {
  QStringList caption;
  for (int column : form_.captionColumns) caption << grid_.cell(row, column);
  if (!form_.captionColumns.empty()) setWindowTitle(caption.join(u' '));
  for (const auto& b : bindings_)
    if (b->def().column > 0) b->fill(grid_.cell(row, b->def().column));
}

void RecordDialog::writeInto(int row, bool onlyChanged, std::vector<RecordGrid::CellEdit>& edits) const {
  for (size_t i = 0; i < bindings_.size(); ++i) {
    const ControlBinding& b = *bindings_[i];
    const bool changed = tracker_->isChanged(int(i));
    if (b.def().column <= 0) continue;
    if (onlyChanged) {
      if (!changed) continue;
    } else if (b.filled() && !changed && b.showsFilledCell()) {
      // The control still shows the cell it was filled from, untouched: add
      // copies the cell itself, whatever the control would make of it.
      edits.push_back({row, b.def().column, b.cellText()});
      continue;
    }
    if (!b.writesValue()) continue;
    edits.push_back({row, b.def().column, b.value()});
  }
}

// One change of the grid for the whole OK, however many records it touches.
void RecordDialog::acceptModify() {
  std::vector<RecordGrid::CellEdit> edits;
  for (int row : grid_.selectedRows()) writeInto(row, true, edits);
  grid_.setCells(edits);
  accept();
}

void RecordDialog::acceptAdd() {
  const int row = grid_.appendRecord({});
  grid_.setCurrentRow(row);
  std::vector<RecordGrid::CellEdit> edits;
  writeInto(row, false, edits);
  grid_.setCells(edits);
  accept();
}

}  // namespace v3
