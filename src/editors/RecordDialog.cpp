#include "editors/RecordDialog.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStringListModel>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <limits>

#include "app/FormTexts.h"
#include "app/Texts.h"
#include "model/RecordGrid.h"
#include "text/Convert.h"
#include "text/Language.h"

namespace v3 {

namespace {

// The editors' check boxes carry no text of their own (a label names them),
// so a press anywhere on the box toggles it. A greyed box (a cell of 2) turns
// ticked on the first click, and from then on only ticked or clear.
class EditorCheckBox : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

 protected:
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
  void nextCheckState() override {
    const bool wasPartial = checkState() == Qt::PartiallyChecked;
    setTristate(false);
    if (wasPartial)
      setCheckState(Qt::Checked);
    else
      QCheckBox::nextCheckState();
  }
};

// A text box as wide as the text its field holds; it grows with the dialog.
class FieldEdit : public QLineEdit {
 public:
  FieldEdit(int width, QWidget* parent) : QLineEdit(parent), width_(width) { setMinimumWidth(width); }
  QSize sizeHint() const override { return QSize(width_, QLineEdit::sizeHint().height()); }

 private:
  int width_;
};

// The dialog's body scrolls when the screen is too small for it; otherwise it
// opens as large as its content.
class FormArea : public QScrollArea {
 public:
  using QScrollArea::QScrollArea;
  QSize sizeHint() const override {
    QSize s = widget() ? widget()->sizeHint() : QSize(200, 100);
    s += QSize(2 * frameWidth() + verticalScrollBar()->sizeHint().width(), 2 * frameWidth());
    const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect(0, 0, 1280, 800);
    return s.boundedTo(QSize(screen.width() * 9 / 10, screen.height() * 8 / 10));
  }
};

bool isList(const ControlDef& c) { return c.kind == ControlKind::IndexList || c.kind == ControlKind::TextList; }
bool isCheck(const ControlDef& c) { return c.kind == ControlKind::Check01 || c.kind == ControlKind::CheckMark; }

// Index lists whose nothing is -1 begin with an entry for it; the positions of
// the other entries (the stored values) stay as they are.
bool hasNoneEntry(const ControlDef& c) { return c.kind == ControlKind::IndexList && !c.unselectedWritesNothing; }
// Entries read from another table show their position beside the name.
bool numbersEntries(const ControlDef& c) {
  return c.kind == ControlKind::IndexList &&
         (c.list == ListSource::Stars || c.list == ListSource::Producers || c.list == ListSource::TeamsThenStars);
}

// The list position of a stored value; -2 when it cannot be one. A value
// stored for another position (Item's shop: 11 for position 5) selects that
// position; any other value is the position itself.
int positionFor(const ControlDef& c, int64_t stored) {
  for (const auto& [position, value] : c.storedAs)
    if (value == stored) return position;
  if (stored < -1 || stored > 1 << 20) return -2;
  return int(stored);
}

int64_t storedFor(const ControlDef& c, int position) {
  for (const auto& [p, value] : c.storedAs)
    if (p == position) return value;
  return position;
}

int comboIndexOf(const ControlDef& c, int position) {
  if (position < 0) return hasNoneEntry(c) ? 0 : -1;
  return position + (hasNoneEntry(c) ? 1 : 0);
}

int positionOf(const ControlDef& c, int comboIndex) {
  if (comboIndex < 0) return -1;
  return hasNoneEntry(c) ? comboIndex - 1 : comboIndex;
}

// The line end a cell of several lines uses: its first one ("\n" for none).
QString lineBreakOf(const QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n') return QStringLiteral("\n");
    if (text[i] == u'\r')
      return i + 1 < text.size() && text[i + 1] == u'\n' ? QStringLiteral("\r\n") : QStringLiteral("\r");
  }
  return QStringLiteral("\n");
}

// The text of a box of several lines as the user sees it, every character
// kept (no blank for a no-break space), its lines joined by `lineBreak`.
QString plainText(const QPlainTextEdit* e, const QString& lineBreak) {
  QString raw = e->document()->toRawText();
  raw.replace(QChar::ParagraphSeparator, lineBreak);
  return raw;
}

QString widgetText(const QWidget* w, const QString& lineBreak) {
  if (auto* e = qobject_cast<const QLineEdit*>(w)) return e->text();
  if (auto* e = qobject_cast<const QPlainTextEdit*>(w)) return plainText(e, lineBreak);
  return QString();
}

void setWidgetText(QWidget* w, const QString& text) {
  if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(text);
  if (auto* e = qobject_cast<QPlainTextEdit*>(w)) {
    // A CR, an LF and a CR LF each end one line.
    if (plainText(e, QStringLiteral("\n")) != QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n'))
      e->setPlainText(text);
  }
}

bool isPickKey(const QKeyEvent* k) {
  switch (k->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Select:
    case Qt::Key_F4: return true;
    case Qt::Key_Down:
    case Qt::Key_Up: return k->modifiers() & Qt::AltModifier;
    default: return false;
  }
}

bool isEnter(const QKeyEvent* k) { return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter; }

}  // namespace

QString RecordDialog::countText(int records, bool traditional) {
  return traditional ? QStringLiteral("修改 %1 項記錄").arg(records) : QStringLiteral("修改 %1 项记录").arg(records);
}

RecordDialog::RecordDialog(const EditorForm& form, RecordGrid& grid, const EditorRequest& request,
                           const EditorEnvironment& env, QWidget* owner)
    : QDialog(owner), form_(form), grid_(grid), request_(request), env_(env) {
  setObjectName(form.name);
  setWindowTitle(form.designCaption);
  if (owner) setWindowIcon(owner->windowIcon());
  traditional_ = !InterfaceLanguage().isNone() && InterfaceLanguage().script() == Script::Traditional;
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
  ApplyFormTexts(this, InterfaceLanguage());
  prepareLists();

  const bool adding = request_.mode == EditorMode::Add;
  auto* ok = findChild<QPushButton*>(QStringLiteral("Cmd_OK"));
  auto* add = findChild<QPushButton*>(QStringLiteral("Cmd_add"));
  ok->setVisible(!adding);
  add->setVisible(adding);
  // Enter anywhere but in a box of several lines presses the button shown.
  (adding ? add : ok)->setDefault(true);
  if (request_.mode == EditorMode::ModifySeveral)
    for (const QString& name : request_.disabledControls)
      if (QWidget* w = controls_.value(name)) w->setEnabled(false);

  const std::vector<int> selected = grid_.selectedRows();
  if (!selected.empty()) fillFrom(selected.front());
  count_->setVisible(!adding);
  count_->setText(countText(int(selected.size()), traditional_));
  filling_ = false;
  // As large as the content (the form scrolls only on a small screen).
  resize(sizeHint());
}

void RecordDialog::build() {
  auto* outer = new QVBoxLayout(this);
  auto* body = new QWidget;
  body->setObjectName(QStringLiteral("Body"));
  auto* column = new QVBoxLayout(body);
  column->setContentsMargins(0, 0, 0, 0);
  bool tall = false;  // a section with a box of several lines takes the height the dialog gains
  for (const SectionDef& section : form_.sections) {
    QWidget* holder = body;
    auto* grid = new QGridLayout;
    const bool hasTall = std::any_of(section.controls.begin(), section.controls.end(),
                                     [](const ControlDef& c) { return c.kind == ControlKind::MultiText; });
    if (!section.headingName.isEmpty()) {
      auto* box = new QGroupBox(section.heading, body);
      box->setObjectName(section.headingName);
      box->setLayout(grid);
      column->addWidget(box, hasTall ? 1 : 0);
      holder = box;
    } else {
      column->addLayout(grid, hasTall ? 1 : 0);
    }
    tall |= hasTall;
    int slot = 0;
    const int perRow = std::max(1, section.perRow);
    const int places = int(std::count_if(section.controls.begin(), section.controls.end(),
                                         [](const ControlDef& c) { return !c.joinsPrevious; }));
    const int rows = std::max<int>(1, (places + perRow - 1) / perRow);
    // Each pair is a label column, a field column (which takes the width the
    // dialog gains) and a column for a unit after the field.
    for (int p = 0; p < perRow; ++p) grid->setColumnStretch(p * 3 + 1, 1);
    QHBoxLayout* shared = nullptr;  // the place of the last control, when a next one may join it
    auto place = [&](QWidget* label, QWidget* field, QWidget* unit, bool wide, bool startsRow, bool joins) {
      if (joins && shared) {
        shared->insertWidget(shared->count(), field, 1);
        if (unit) shared->insertWidget(shared->count(), unit);
        return;
      }
      shared = nullptr;
      wide = wide && !section.byColumn;
      if ((wide || (startsRow && !section.byColumn)) && slot % perRow != 0) slot += perRow - slot % perRow;
      const int row = section.byColumn ? slot % rows : slot / perRow;
      const int col = (section.byColumn ? slot / rows : slot % perRow) * 3;
      if (label) grid->addWidget(label, row, col, (wide ? Qt::AlignTop : Qt::AlignVCenter) | Qt::AlignLeft);
      if (wide) {
        grid->addWidget(field, row, col + 1, 1, perRow * 3 - 1);
        if (field->sizePolicy().verticalPolicy() == QSizePolicy::Expanding) grid->setRowStretch(row, 1);
      } else if (unit) {
        // The field and the unit after it, and any control that joins them.
        shared = new QHBoxLayout;
        shared->setContentsMargins(0, 0, 0, 0);
        shared->addWidget(field, 1);
        shared->addWidget(unit);
        grid->addLayout(shared, row, col + 1, 1, 2);
      } else {
        grid->addWidget(field, row, col + 1, 1, 2);
      }
      slot += wide ? perRow : 1;
    };
    for (const ControlDef& c : section.controls) {
      QWidget* w = nullptr;
      switch (c.kind) {
        case ControlKind::Text:
        case ControlKind::FillIn: {
          // Wide enough for the field's characters (a number: seven digits).
          const QFontMetrics fm(holder->font());
          const int chars = std::min(c.chars, 30);
          const int width = chars > 0 ? fm.horizontalAdvance(QString(chars, QChar(0x6587))) * 3 / 4
                                      : fm.horizontalAdvance(QStringLiteral("0000000"));
          auto* e = new FieldEdit(width + 12, holder);
          // No limit but the field's own: Qt's default would cut a cell at 32767 characters.
          e->setMaxLength(c.maxLength > 0 ? c.maxLength : std::numeric_limits<int>::max());
          w = e;
          break;
        }
        case ControlKind::MultiText: {
          auto* e = new QPlainTextEdit(holder);
          e->setTabChangesFocus(true);
          // Wide and tall: a synopsis or a description of up to a hundred characters.
          e->setMinimumSize(e->fontMetrics().horizontalAdvance(QString(26, QChar(0x6587))),
                            e->fontMetrics().lineSpacing() * 4 + 12);
          e->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
          w = e;
          break;
        }
        case ControlKind::IndexList: {
          w = new QComboBox(holder);
          break;
        }
        case ControlKind::TextList: {
          auto* box = new QComboBox(holder);
          box->setEditable(true);
          box->setInsertPolicy(QComboBox::NoInsert);
          // No completion: what the user types stays as typed. The completer is
          // case-sensitive, so leaving the box never swaps typed text for an
          // entry that differs only in case.
          auto* exact = new QCompleter(QStringList(), box);
          exact->setCaseSensitivity(Qt::CaseSensitive);
          box->lineEdit()->setCompleter(exact);
          w = box;
          break;
        }
        case ControlKind::Check01:
        case ControlKind::CheckMark: {
          auto* box = new EditorCheckBox(holder);
          // No wider than its box: a press anywhere on it toggles it as well as counting.
          box->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
          w = box;
          break;
        }
      }
      w->setObjectName(c.name);
      if (auto* box = qobject_cast<QComboBox*>(w)) {
        if (c.list == ListSource::Fixed) box->addItems(c.entries);
        box->setMinimumContentsLength(c.chars > 0 ? std::min(c.chars, 16) : 6);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        box->setMaxVisibleItems(20);
        // The wheel never gives a list the focus, and without it changes nothing.
        box->setFocusPolicy(Qt::StrongFocus);
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
      place(label, w, unit, c.wide || c.kind == ControlKind::MultiText, c.startsRow, c.joinsPrevious);
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
    if (holder != body && !section.controls.empty() &&
        std::all_of(section.controls.begin(), section.controls.end(), [](const ControlDef& c) { return c.hidden; }))
      holder->hide();
  }
  if (!tall) column->addStretch(1);

  scroll_ = new FormArea(this);
  scroll_->setObjectName(QStringLiteral("FormArea"));
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setWidgetResizable(true);
  scroll_->setWidget(body);
  outer->addWidget(scroll_, 1);

  for (size_t i = 0; i < live_.size(); ++i) {
    QWidget* w = live_[i].widget;
    const ControlDef& c = *live_[i].form;
    liveOf_.insert(w, int(i));
    w->installEventFilter(this);
    auto touched = [this, i] {
      if (!filling_) live_[i].changed = true;
    };
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
      connect(e, &QLineEdit::textChanged, this, touched);
    } else if (auto* e = qobject_cast<QPlainTextEdit*>(w)) {
      connect(e, &QPlainTextEdit::textChanged, this, [this, i, e, c] {
        // The limit holds for what the user types; a longer cell is shown whole.
        const int limit = int(std::max<qsizetype>(c.maxLength, live_[i].cellText.size()));
        if (c.maxLength > 0 && e->document()->characterCount() - 1 > limit) {
          const QSignalBlocker block(e);
          QTextCursor cut(e->document());
          cut.setPosition(limit);
          cut.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
          cut.removeSelectedText();
        }
        if (!filling_) live_[i].changed = true;
      });
    } else if (auto* box = qobject_cast<QComboBox*>(w)) {
      // An index list counts every new selection; both kinds count an entry
      // picked from the open list, also the one shown already. Qt also
      // reports an entry as activated when a text list's edit field holds its
      // text and loses the focus or gets Enter: that is no pick.
      if (c.kind == ControlKind::IndexList) connect(box, &QComboBox::currentIndexChanged, this, touched);
      connect(box, &QComboBox::activated, this, [this, i] {
        if (picking_ == int(i) && !filling_) live_[i].changed = true;
        picking_ = -1;
      });
      QAbstractItemView* view = box->view();
      for (QObject* o : {static_cast<QObject*>(view), static_cast<QObject*>(view->viewport())}) {
        popupOf_.insert(o, int(i));
        o->installEventFilter(this);
      }
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

void RecordDialog::prepareLists() {
  const QString none = traditional_ ? QStringLiteral("（無）") : QStringLiteral("（无）");
  struct Prepared {
    QStringList source, entries;
    bool numbers = false, withNone = false;
  } done;
  for (const Live& c : live_) {
    if (!isList(*c.form)) continue;
    auto* box = static_cast<QComboBox*>(c.widget);
    if (numbersEntries(*c.form) || hasNoneEntry(*c.form)) {
      // The entries in one list, set at once: a list may hold every star of
      // the table, and the lists filled from the same entries share the result.
      const bool numbers = numbersEntries(*c.form), withNone = hasNoneEntry(*c.form);
      const auto* model = qobject_cast<QStringListModel*>(box->model());
      const QStringList source = model ? model->stringList() : QStringList();
      if (!model || source.constData() != done.source.constData() || source.size() != done.source.size() ||
          numbers != done.numbers || withNone != done.withNone) {
        QStringList entries;
        entries.reserve(box->count() + 1);
        if (withNone) entries << none;
        for (int i = 0; i < box->count(); ++i)
          entries << (numbers ? QString::number(i) + u' ' + box->itemText(i) : box->itemText(i));
        done = {model ? source : QStringList(), entries, numbers, withNone};
      }
      SetComboEntries(box, done.entries);
    }
    // A list starts with nothing selected and no text (adding to a list selects its first entry).
    box->setCurrentIndex(-1);
  }
}

CellEditorDefs RecordDialog::cellEditors() const {
  CellEditorDefs defs;
  for (const Live& c : live_) {
    const ControlDef& f = *c.form;
    if (f.column <= 0 || defs.count(f.column)) continue;
    CellEditorDef d;
    if (f.alwaysDisabled || f.hidden) {
      d.kind = CellEditorDef::Kind::Fixed;
    } else {
      switch (f.kind) {
        case ControlKind::Text:
        case ControlKind::MultiText:
        case ControlKind::FillIn: d.kind = CellEditorDef::Kind::Text; break;
        case ControlKind::IndexList: d.kind = CellEditorDef::Kind::IndexList; break;
        case ControlKind::TextList: d.kind = CellEditorDef::Kind::TextList; break;
        case ControlKind::Check01: d.kind = CellEditorDef::Kind::Check01; break;
        case ControlKind::CheckMark: d.kind = CellEditorDef::Kind::CheckMark; break;
      }
    }
    d.maxLength = f.maxLength;
    if (auto* box = qobject_cast<const QComboBox*>(c.widget)) {
      for (int i = 0; i < box->count(); ++i) {
        QString value = box->itemText(i);
        if (f.kind == ControlKind::IndexList) {
          const int position = positionOf(f, i);
          value = position < 0 ? QStringLiteral("-1") : QString::number(storedFor(f, position));
        }
        d.choices.push_back({box->itemText(i), value});
      }
    }
    defs.emplace(f.column, std::move(d));
  }
  return defs;
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
    c.filled = true;
    switch (c.form->kind) {
      case ControlKind::Text:
      case ControlKind::FillIn:
        // A length limit holds for typing only: a longer cell is shown, and kept, whole.
        if (auto* e = qobject_cast<QLineEdit*>(c.widget); e && cell.size() > e->maxLength())
          e->setMaxLength(int(cell.size()));
        setWidgetText(c.widget, cell);
        break;
      case ControlKind::MultiText:
        c.lineBreak = lineBreakOf(cell);
        static_cast<QPlainTextEdit*>(c.widget)->setPlainText(cell);
        break;
      case ControlKind::TextList: static_cast<QComboBox*>(c.widget)->setEditText(cell); break;
      case ControlKind::IndexList: {
        auto* box = static_cast<QComboBox*>(c.widget);
        int64_t stored = 0;
        const bool number = IsPlainInteger(cell, &stored);
        const int position = number ? positionFor(*c.form, stored) : -2;
        const int entries = box->count() - (hasNoneEntry(*c.form) ? 1 : 0);
        const bool valid = position == -1 ? !c.form->unselectedWritesNothing : position >= 0 && position < entries;
        c.fillInvalid = !valid;
        box->setCurrentIndex(valid ? comboIndexOf(*c.form, position) : -1);
        break;
      }
      case ControlKind::Check01: {
        auto* box = static_cast<QCheckBox*>(c.widget);
        int64_t v = 0;
        const bool number = IsPlainInteger(cell, &v);
        c.fillInvalid = !number || v < 0 || v > 2;
        if (number && v == 2) box->setTristate(true);
        box->setCheckState(!number ? Qt::Unchecked : v == 1 ? Qt::Checked : v == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
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
    case ControlKind::FillIn: return widgetText(c.widget, c.lineBreak);
    case ControlKind::TextList: return static_cast<QComboBox*>(c.widget)->currentText();
    case ControlKind::IndexList: {
      const int position = positionOf(*c.form, static_cast<QComboBox*>(c.widget)->currentIndex());
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

// Whether the control still shows the cell it was filled from, untouched:
// then add copies the cell itself, whatever the control would make of it.
bool RecordDialog::asFilled(const Live& c) const {
  if (!c.filled || c.changed) return false;
  if (c.form->kind == ControlKind::TextList) return static_cast<QComboBox*>(c.widget)->currentText() == c.cellText;
  return true;
}

void RecordDialog::writeInto(int row, bool onlyChanged, std::vector<RecordGrid::CellEdit>& edits) const {
  for (const Live& c : live_) {
    if (c.form->column <= 0) continue;
    if (onlyChanged) {
      if (!c.changed) continue;
    } else if (asFilled(c)) {
      edits.push_back({row, c.form->column, c.cellText});
      continue;
    }
    if (c.form->kind == ControlKind::IndexList && c.form->unselectedWritesNothing &&
        static_cast<QComboBox*>(c.widget)->currentIndex() < 0)
      continue;
    edits.push_back({row, c.form->column, valueOf(c)});
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

bool RecordDialog::wheelChanges(const Live& c) const {
  if (c.form->kind == ControlKind::TextList) return false;  // a wheel is no pick
  if (!isList(*c.form)) return true;
  const QWidget* focus = QApplication::focusWidget();
  return c.widget->hasFocus() || (focus && c.widget->isAncestorOf(focus));
}

bool RecordDialog::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (auto popup = popupOf_.find(watched); popup != popupOf_.end()) {
    // The open list of a text list hands over a pick on a click or a key.
    const bool pick =
        (type == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) ||
        ((type == QEvent::ShortcutOverride || type == QEvent::KeyPress) && isPickKey(static_cast<QKeyEvent*>(event)));
    if (pick) {
      picking_ = popup.value();
      QTimer::singleShot(0, this, [this] { picking_ = -1; });
    }
    return QDialog::eventFilter(watched, event);
  }
  const auto it = liveOf_.find(watched);
  if (it == liveOf_.end()) return QDialog::eventFilter(watched, event);
  Live& c = live_[size_t(it.value())];
  switch (type) {
    case QEvent::Wheel:
      if (!wheelChanges(c)) {
        // The dialog scrolls instead.
        QApplication::sendEvent(scroll_->viewport(), event);
        return true;
      }
      break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      // A check box counts mouse presses.
      if (isCheck(*c.form) && c.widget->isEnabled() && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        c.changed = true;
      break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      auto* key = static_cast<QKeyEvent*>(event);
      // The keyboard does not toggle a check box: it would not count, and the
      // box would show what OK does not write.
      if (isCheck(*c.form) && (key->key() == Qt::Key_Space || key->key() == Qt::Key_Select)) return true;
      if (c.form->kind != ControlKind::TextList || type != QEvent::KeyPress) break;
      auto* box = static_cast<QComboBox*>(c.widget);
      if (box->view()->isVisible()) break;
      if (isEnter(key)) {
        // Enter presses the dialog's button; the list makes nothing of the text.
        QApplication::sendEvent(this, event);
        return true;
      }
      const bool step = !(key->modifiers() & Qt::AltModifier) &&
                        (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down || key->key() == Qt::Key_PageUp ||
                         key->key() == Qt::Key_PageDown);
      if (step) {
        // Stepping through a text list's entries happens in its open list,
        // where Enter picks one.
        box->showPopup();
        return true;
      }
      break;
    }
    default: break;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace v3
