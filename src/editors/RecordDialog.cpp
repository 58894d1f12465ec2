#include "editors/RecordDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "app/FormTexts.h"
#include "model/RecordGrid.h"
#include "text/Convert.h"

namespace v3 {

namespace {

// The editors' check boxes carry no text of their own (a label names them),
// so a press anywhere on the box toggles it: a mouse press counts as the
// user's change, and it must never leave the box as it was.
class WholeAreaCheckBox : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

 protected:
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

// The list position of a stored value; -2 when it has none. A position that
// is stored as another value (Item's shop 5, stored as 11) is no stored value.
int positionFor(const ControlSpec& c, int64_t stored) {
  for (const auto& [position, value] : c.storedAs)
    if (value == stored) return position;
  for (const auto& [position, value] : c.storedAs)
    if (position == stored) return -2;
  if (stored < -1 || stored > 1 << 20) return -2;
  return int(stored);
}

int64_t storedFor(const ControlSpec& c, int position) {
  for (const auto& [p, value] : c.storedAs)
    if (p == position) return value;
  return position;
}

QString widgetText(QWidget* w) {
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  if (auto* e = qobject_cast<QPlainTextEdit*>(w)) return e->toPlainText();
  return QString();
}

void setWidgetText(QWidget* w, const QString& text) {
  if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(text);
  if (auto* e = qobject_cast<QPlainTextEdit*>(w)) {
    if (e->toPlainText() != text) e->setPlainText(text);
  }
}

}  // namespace

RecordDialog::RecordDialog(const EditorForm& form, RecordGrid& grid, const EditorRequest& request,
                           const EditorEnvironment& env, QWidget* owner)
    : QDialog(owner), form_(form), grid_(grid), request_(request), env_(env) {
  setObjectName(form.name);
  setWindowTitle(form.designCaption);
  if (owner) setWindowIcon(owner->windowIcon());
  filling_ = true;  // nothing done while the dialog opens is a user's change
  build();
  // Lists from the game's tables first, then the language file's texts and lists.
  bool producers = false, stars = false, teams = false;
  for (const Live& c : live_) {
    producers |= c.form->list == ListSource::Producers;
    stars |= c.form->list == ListSource::Stars || c.form->list == ListSource::TeamsThenStars;
    teams |= c.form->list == ListSource::TeamsThenStars;
  }
  if (producers) FillProducerList(this, env_.programFolder);
  if (teams) FillTeamList(this, env_.programFolder);
  if (stars) FillStarList(this, env_.programFolder);
  ApplyFormTexts(this);
  // A list starts with nothing selected and no text (adding to a list selects its first entry).
  for (const Live& c : live_)
    if (c.form->kind == ControlKind::IndexList || c.form->kind == ControlKind::TextList)
      static_cast<QComboBox*>(c.widget)->setCurrentIndex(-1);

  const bool adding = request_.mode == EditorMode::Add;
  findChild<QPushButton*>(QStringLiteral("Cmd_OK"))->setVisible(!adding);
  findChild<QPushButton*>(QStringLiteral("Cmd_add"))->setVisible(adding);
  if (request_.mode == EditorMode::ModifySeveral)
    for (const QString& name : request_.disabledControls)
      if (QWidget* w = controls_.value(name)) w->setEnabled(false);

  const std::vector<int> selected = grid_.selectedRows();
  if (!selected.empty()) fillFrom(selected.front());
  filling_ = false;
}

void RecordDialog::build() {
  auto* outer = new QVBoxLayout(this);
  for (const SectionSpec& section : form_.sections) {
    QWidget* holder = this;
    QGridLayout* grid = new QGridLayout;
    if (!section.headingName.isEmpty()) {
      auto* box = new QGroupBox(section.heading, this);
      box->setObjectName(section.headingName);
      box->setLayout(grid);
      outer->addWidget(box);
      holder = box;
    } else {
      outer->addLayout(grid);
    }
    int slot = 0;
    const int perRow = std::max(1, section.perRow);
    const int rows = std::max<int>(1, (int(section.controls.size()) + perRow - 1) / perRow);
    auto place = [&](QWidget* label, QWidget* field, QWidget* unit, bool wide, bool startsRow) {
      wide = wide && !section.byColumn;
      if ((wide || (startsRow && !section.byColumn)) && slot % perRow != 0) slot += perRow - slot % perRow;
      const int row = section.byColumn ? slot % rows : slot / perRow;
      const int col = (section.byColumn ? slot / rows : slot % perRow) * 3;
      if (label) grid->addWidget(label, row, col, Qt::AlignRight | (wide ? Qt::AlignTop : Qt::AlignVCenter));
      grid->addWidget(field, row, col + 1, 1, wide ? perRow * 3 - 2 : (unit ? 1 : 2));
      if (unit) grid->addWidget(unit, row, col + 2);
      slot += wide ? perRow : 1;
    };
    for (const ControlSpec& c : section.controls) {
      QWidget* w = nullptr;
      switch (c.kind) {
        case ControlKind::Text:
        case ControlKind::FillIn: {
          auto* e = new QLineEdit(holder);
          if (c.maxLength > 0) e->setMaxLength(c.maxLength);
          w = e;
          break;
        }
        case ControlKind::MultiText: {
          auto* e = new QPlainTextEdit(holder);
          e->setTabChangesFocus(true);
          e->setMinimumHeight(70);
          w = e;
          break;
        }
        case ControlKind::IndexList: {
          auto* box = new QComboBox(holder);
          w = box;
          break;
        }
        case ControlKind::TextList: {
          auto* box = new QComboBox(holder);
          box->setEditable(true);
          box->setInsertPolicy(QComboBox::NoInsert);
          w = box;
          break;
        }
        case ControlKind::Check01:
        case ControlKind::CheckMark: {
          auto* box = new WholeAreaCheckBox(holder);
          // No wider than its box: a press anywhere on it toggles it as well as counting.
          box->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
          box->installEventFilter(this);
          w = box;
          break;
        }
      }
      w->setObjectName(c.name);
      if (auto* box = qobject_cast<QComboBox*>(w)) {
        if (c.list == ListSource::Fixed) box->addItems(c.entries);
        box->setMinimumContentsLength(6);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
      }
      if (c.alwaysDisabled) w->setEnabled(false);
      QLabel* label = nullptr;
      if (!c.labelName.isEmpty()) {
        label = new QLabel(c.label, holder);
        label->setObjectName(c.labelName);
        label->setBuddy(w);
      }
      QLabel* unit = nullptr;
      if (!c.unitName.isEmpty()) {
        unit = new QLabel(c.unit, holder);
        unit->setObjectName(c.unitName);
      }
      const bool wide = c.kind == ControlKind::MultiText || (c.kind == ControlKind::Text && c.maxLength >= 100);
      place(label, w, unit, wide, c.startsRow);
      if (c.hidden) {
        w->hide();
        if (label) label->hide();
        if (unit) unit->hide();
      }
      controls_.insert(c.name, w);
      Live l;
      l.form = &c;
      l.widget = w;
      live_.push_back(l);
    }
    // A group whose every control is hidden is hidden with its heading.
    if (holder != this && !section.controls.empty() &&
        std::all_of(section.controls.begin(), section.controls.end(), [](const ControlSpec& c) { return c.hidden; }))
      holder->hide();
  }
  for (size_t i = 0; i < live_.size(); ++i) {
    QWidget* w = live_[i].widget;
    const ControlSpec& c = *live_[i].form;
    auto touched = [this, i] {
      if (!filling_) live_[i].changed = true;
    };
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
      connect(e, &QLineEdit::textChanged, this, touched);
    } else if (auto* e = qobject_cast<QPlainTextEdit*>(w)) {
      connect(e, &QPlainTextEdit::textChanged, this, [this, i, e, c] {
        // The limit holds for what the user types; a longer cell is shown whole.
        const qsizetype limit = std::max<qsizetype>(c.maxLength, live_[i].cellText.size());
        if (c.maxLength > 0 && e->toPlainText().size() > limit) {
          const QSignalBlocker block(e);
          e->setPlainText(e->toPlainText().left(limit));
          e->moveCursor(QTextCursor::End);
        }
        if (!filling_) live_[i].changed = true;
      });
    } else if (auto* box = qobject_cast<QComboBox*>(w)) {
      if (c.kind == ControlKind::IndexList)
        connect(box, &QComboBox::currentIndexChanged, this, touched);
      else
        connect(box, &QComboBox::activated, this, touched);
    }
    if (c.kind == ControlKind::FillIn) {
      auto* source = static_cast<QLineEdit*>(w);
      connect(source, &QLineEdit::textChanged, this, [this, c](const QString& text) {
        // Every copy is the user's change, also into a box that held the text already.
        for (const QString& target : c.targets)
          if (Live* t = live(target)) {
            setWidgetText(t->widget, text);
            if (!filling_) t->changed = true;
          }
      });
    }
  }

  auto* buttons = new QHBoxLayout;
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
  ok->setDefault(true);
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

RecordDialog::Live* RecordDialog::live(const QString& name) {
  for (Live& c : live_)
    if (c.form->name == name) return &c;
  return nullptr;
}

bool RecordDialog::isChanged(const QString& name) const {
  for (const Live& c : live_)
    if (c.form->name == name) return c.changed;
  return false;
}

void RecordDialog::fillFrom(int row) {
  QStringList caption;
  for (int column : form_.captionColumns) caption << grid_.cell(row, column);
  if (!form_.captionColumns.empty()) setWindowTitle(caption.join(u' '));
  for (Live& c : live_) {
    if (c.form->column <= 0) continue;
    const QString cell = grid_.cell(row, c.form->column);
    c.cellText = cell;
    switch (c.form->kind) {
      case ControlKind::Text:
      case ControlKind::MultiText:
      case ControlKind::FillIn:
        // A length limit holds for typing only: a longer cell is shown, and kept, whole.
        if (auto* e = qobject_cast<QLineEdit*>(c.widget); e && c.form->maxLength > 0 && cell.size() > e->maxLength())
          e->setMaxLength(int(cell.size()));
        setWidgetText(c.widget, cell);
        break;
      case ControlKind::TextList: static_cast<QComboBox*>(c.widget)->setCurrentText(cell); break;
      case ControlKind::IndexList: {
        auto* box = static_cast<QComboBox*>(c.widget);
        int64_t stored = 0;
        const bool number = IsPlainInteger(cell, &stored);
        const int position = number ? positionFor(*c.form, stored) : -2;
        const bool valid = position >= (c.form->unselectedWritesNothing ? 0 : -1) && position < box->count();
        c.fillInvalid = !valid;
        box->setCurrentIndex(valid ? position : -1);
        break;
      }
      case ControlKind::Check01: {
        auto* box = static_cast<QCheckBox*>(c.widget);
        int64_t v = 0;
        const bool number = IsPlainInteger(cell, &v);
        c.fillInvalid = !number || v < 0 || v > 2;
        if (v == 2) box->setTristate(true);
        box->setCheckState(v == 1 ? Qt::Checked : v == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
        break;
      }
      case ControlKind::CheckMark: static_cast<QCheckBox*>(c.widget)->setChecked(cell == QStringLiteral("√")); break;
    }
  }
}

QString RecordDialog::valueOf(const Live& c) const {
  switch (c.form->kind) {
    case ControlKind::Text:
    case ControlKind::MultiText:
    case ControlKind::FillIn: return widgetText(c.widget);
    case ControlKind::TextList: return static_cast<QComboBox*>(c.widget)->currentText();
    case ControlKind::IndexList: {
      const int position = static_cast<QComboBox*>(c.widget)->currentIndex();
      return position < 0 ? QStringLiteral("-1") : QString::number(storedFor(*c.form, position));
    }
    case ControlKind::Check01: {
      const Qt::CheckState s = static_cast<QCheckBox*>(c.widget)->checkState();
      return s == Qt::Checked ? QStringLiteral("1") : s == Qt::PartiallyChecked ? QStringLiteral("2") : QStringLiteral("0");
    }
    case ControlKind::CheckMark: return static_cast<QCheckBox*>(c.widget)->isChecked() ? QStringLiteral("√") : QString();
  }
  return QString();
}

void RecordDialog::writeInto(int row, bool onlyChanged) {
  for (const Live& c : live_) {
    if (c.form->column <= 0) continue;
    if (onlyChanged) {
      if (!c.changed) continue;
    } else if (c.fillInvalid && !c.changed) {
      // A value this control cannot show is copied as it was.
      grid_.setCell(row, c.form->column, c.cellText);
      continue;
    }
    if (c.form->kind == ControlKind::IndexList && c.form->unselectedWritesNothing &&
        static_cast<QComboBox*>(c.widget)->currentIndex() < 0)
      continue;
    grid_.setCell(row, c.form->column, valueOf(c));
  }
}

void RecordDialog::acceptModify() {
  for (int row : grid_.selectedRows()) writeInto(row, true);
  accept();
}

void RecordDialog::acceptAdd() {
  const int row = grid_.appendRecord({});
  grid_.setCurrentRow(row);
  writeInto(row, false);
  accept();
}

bool RecordDialog::eventFilter(QObject* watched, QEvent* event) {
  // A check box counts mouse presses only, not keyboard toggles.
  if (event->type() == QEvent::MouseButtonPress)
    for (Live& c : live_)
      if (c.widget == watched && c.widget->isEnabled()) c.changed = true;
  return QDialog::eventFilter(watched, event);
}

}  // namespace v3
