#include "editors/ControlBindings.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QStringListModel>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>
#include <functional>
#include <limits>

#include "app/FormTexts.h"
#include "editors/ChangeTracking.h"
#include "text/Convert.h"

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

bool isEnter(const QKeyEvent* k) { return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter; }

// ---- text boxes -------------------------------------------------------------

class TextBinding : public ControlBinding {
 public:
  using ControlBinding::ControlBinding;
  QString value() const override { return edit()->text(); }
  void setText(const QString& text) override { edit()->setText(text); }
  void watch(ChangeTracker& tracker, int index) override {
    QObject::connect(edit(), &QLineEdit::textChanged, &tracker, [&tracker, index] { tracker.touch(index); });
  }
  CellEditorDef cellEditor() const override {
    CellEditorDef d = ControlBinding::cellEditor();
    d.kind = CellEditorDef::Kind::Text;
    return d;
  }

 protected:
  QWidget* make(QWidget* holder) override {
    // Wide enough for the field's characters (a number: seven digits).
    const QFontMetrics fm(holder->font());
    const int chars = std::min(def().chars, 30);
    const int width = chars > 0 ? fm.horizontalAdvance(QString(chars, QChar(0x6587))) * 3 / 4
                                : fm.horizontalAdvance(QStringLiteral("0000000"));
    auto* e = new FieldEdit(width + 12, holder);
    // No limit but the field's own: Qt's default would cut a cell at 32767 characters.
    e->setMaxLength(def().maxLength > 0 ? def().maxLength : std::numeric_limits<int>::max());
    return e;
  }
  void show(const QString& cell) override {
    // A length limit holds for typing only: a longer cell is shown, and kept, whole.
    if (cell.size() > edit()->maxLength()) edit()->setMaxLength(int(cell.size()));
    edit()->setText(cell);
  }

 private:
  QLineEdit* edit() const { return static_cast<QLineEdit*>(widget()); }
};

class MultiTextBinding : public ControlBinding {
 public:
  using ControlBinding::ControlBinding;
  QString value() const override { return plainText(edit(), lineBreak_); }
  void setText(const QString& text) override {
    // A CR, an LF and a CR LF each end one line.
    if (plainText(edit(), QStringLiteral("\n")) !=
        QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n'))
      edit()->setPlainText(text);
  }
  void watch(ChangeTracker& tracker, int index) override {
    QObject::connect(edit(), &QPlainTextEdit::textChanged, &tracker, [&tracker, index] { tracker.touch(index); });
  }
  CellEditorDef cellEditor() const override {
    CellEditorDef d = ControlBinding::cellEditor();
    d.kind = CellEditorDef::Kind::Text;
    return d;
  }

 protected:
  QWidget* make(QWidget* holder) override {
    auto* e = new QPlainTextEdit(holder);
    e->setTabChangesFocus(true);
    // Wide and tall: a synopsis or a description of up to a hundred characters.
    e->setMinimumSize(e->fontMetrics().horizontalAdvance(QString(26, QChar(0x6587))),
                      e->fontMetrics().lineSpacing() * 4 + 12);
    e->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // The limit holds for what the user types; a longer cell is shown whole.
    QObject::connect(e, &QPlainTextEdit::textChanged, e, [this, e] {
      const int limit = int(std::max<qsizetype>(def().maxLength, cellText().size()));
      if (def().maxLength > 0 && e->document()->characterCount() - 1 > limit) {
        const QSignalBlocker block(e);
        QTextCursor cut(e->document());
        cut.setPosition(limit);
        cut.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cut.removeSelectedText();
      }
    });
    return e;
  }
  void show(const QString& cell) override {
    lineBreak_ = lineBreakOf(cell);
    edit()->setPlainText(cell);
  }

 private:
  QPlainTextEdit* edit() const { return static_cast<QPlainTextEdit*>(widget()); }
  QString lineBreak_ = QStringLiteral("\n");  // the cell's own line end
};

// ---- drop-down lists --------------------------------------------------------

class ListBinding : public ControlBinding {
 public:
  using ControlBinding::ControlBinding;
  bool wheelChanges() const override {
    // Only while it has the focus: the wheel never gives a list the focus.
    const QWidget* focus = QApplication::focusWidget();
    return widget()->hasFocus() || (focus && widget()->isAncestorOf(focus));
  }

 protected:
  QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
  void setUp(QComboBox* box) const {
    if (def().list == ListSource::Fixed) box->addItems(def().entries);
    box->setMinimumContentsLength(def().chars > 0 ? std::min(def().chars, 16) : 6);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    box->setMaxVisibleItems(20);
    // The wheel never gives a list the focus, and without it changes nothing.
    box->setFocusPolicy(Qt::StrongFocus);
  }
  void choices(CellEditorDef& d, const std::function<QString(int)>& valueAt) const {
    for (int i = 0; i < box()->count(); ++i) d.choices.push_back({box()->itemText(i), valueAt(i)});
  }
};

class IndexListBinding : public ListBinding {
 public:
  using ListBinding::ListBinding;

  QString value() const override { return valueAt(box()->currentIndex()); }
  bool writesValue() const override { return !(def().unselectedWritesNothing && box()->currentIndex() < 0); }
  void prepareEntries(SharedEntries& shared) override {
    if (numbersEntries() || hasNoneEntry()) {
      // The entries in one list, set at once: a list may hold every star of
      // the table, and the lists filled from the same entries share the result.
      const bool numbers = numbersEntries(), withNone = hasNoneEntry();
      const auto* model = qobject_cast<QStringListModel*>(box()->model());
      const QStringList source = model ? model->stringList() : QStringList();
      if (!model || source.constData() != shared.source.constData() || source.size() != shared.source.size() ||
          numbers != shared.numbers || withNone != shared.withNone) {
        QStringList entries;
        entries.reserve(box()->count() + 1);
        if (withNone) entries << shared.none;
        for (int i = 0; i < box()->count(); ++i)
          entries << (numbers ? QString::number(i) + u' ' + box()->itemText(i) : box()->itemText(i));
        shared.source = model ? source : QStringList();
        shared.entries = entries;
        shared.numbers = numbers;
        shared.withNone = withNone;
      }
      SetComboEntries(box(), shared.entries);
    }
    // A list starts with nothing selected and no text (adding to a list selects its first entry).
    box()->setCurrentIndex(-1);
  }
  void watch(ChangeTracker& tracker, int index) override {
    // Every new selection counts, and so does an entry picked from the open
    // list, also the one shown already.
    QObject::connect(box(), &QComboBox::currentIndexChanged, &tracker, [&tracker, index] { tracker.touch(index); });
    tracker.watchPicks(index, box());
  }
  CellEditorDef cellEditor() const override {
    CellEditorDef d = ControlBinding::cellEditor();
    d.kind = CellEditorDef::Kind::IndexList;
    choices(d, [this](int i) { return valueAt(i); });
    return d;
  }

 protected:
  QWidget* make(QWidget* holder) override {
    auto* b = new QComboBox(holder);
    setUp(b);
    return b;
  }
  void show(const QString& cell) override {
    int64_t stored = 0;
    const bool number = IsPlainInteger(cell, &stored);
    const int position = number ? positionFor(stored) : -2;
    const int entries = box()->count() - (hasNoneEntry() ? 1 : 0);
    const bool valid = position == -1 ? !def().unselectedWritesNothing : position >= 0 && position < entries;
    box()->setCurrentIndex(valid ? comboIndexOf(position) : -1);
  }

 private:
  // Lists whose nothing is -1 begin with an entry for it; the positions of
  // the other entries (the stored values) stay as they are.
  bool hasNoneEntry() const { return !def().unselectedWritesNothing; }
  // Entries read from another table show their position beside the name.
  bool numbersEntries() const {
    return def().list == ListSource::Stars || def().list == ListSource::Producers ||
           def().list == ListSource::TeamsThenStars;
  }
  // The list position of a stored value; -2 when it cannot be one. A value
  // stored for another position (Item's shop: 11 for position 5) selects that
  // position; any other value is the position itself.
  int positionFor(int64_t stored) const {
    for (const auto& [position, value] : def().storedAs)
      if (value == stored) return position;
    if (stored < -1 || stored > 1 << 20) return -2;
    return int(stored);
  }
  int64_t storedFor(int position) const {
    for (const auto& [p, value] : def().storedAs)
      if (p == position) return value;
    return position;
  }
  int comboIndexOf(int position) const {
    if (position < 0) return hasNoneEntry() ? 0 : -1;
    return position + (hasNoneEntry() ? 1 : 0);
  }
  int positionOf(int comboIndex) const {
    if (comboIndex < 0) return -1;
    return hasNoneEntry() ? comboIndex - 1 : comboIndex;
  }
  QString valueAt(int comboIndex) const {
    const int position = positionOf(comboIndex);
    return position < 0 ? QStringLiteral("-1") : QString::number(storedFor(position));
  }
};

class TextListBinding : public ListBinding {
 public:
  using ListBinding::ListBinding;

  QString value() const override { return box()->currentText(); }
  bool showsFilledCell() const override { return box()->currentText() == cellText(); }
  void prepareEntries(SharedEntries&) override { box()->setCurrentIndex(-1); }
  void watch(ChangeTracker& tracker, int index) override {
    // Only an entry picked from the open list counts, not text typed into the edit field.
    tracker.watchPicks(index, box());
  }
  bool wheelChanges() const override { return false; }  // a wheel is no pick
  Answer userEvent(QEvent* event) override {
    if (event->type() != QEvent::KeyPress || box()->view()->isVisible()) return Answer::Pass;
    auto* key = static_cast<QKeyEvent*>(event);
    if (isEnter(key)) {
      // Enter presses the dialog's button; the list makes nothing of the text.
      QApplication::sendEvent(widget()->window(), event);
      return Answer::Done;
    }
    const bool step =
        !(key->modifiers() & Qt::AltModifier) && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down ||
                                                  key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown);
    if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
      if (!step) return Answer::Pass;
      // Up and Down step to the entry before or after the one shown, as in an
      // index list; a text that is no entry steps to the first or the last.
      const int count = box()->count();
      const int at = box()->findText(box()->currentText());
      const bool down = key->key() == Qt::Key_Down;
      const int next = at < 0 ? (down ? 0 : count - 1) : at + (down ? 1 : -1);
      if (next < 0 || next >= count) return Answer::Done;
      box()->setCurrentIndex(next);
      box()->setEditText(box()->itemText(next));
      return Answer::ChangedAndDone;
    }
    if (step) {
      // Paging through a text list's entries happens in its open list, where
      // Enter picks one.
      box()->showPopup();
      return Answer::Done;
    }
    return Answer::Pass;
  }
  CellEditorDef cellEditor() const override {
    CellEditorDef d = ControlBinding::cellEditor();
    d.kind = CellEditorDef::Kind::TextList;
    choices(d, [this](int i) { return box()->itemText(i); });
    return d;
  }

 protected:
  QWidget* make(QWidget* holder) override {
    auto* b = new QComboBox(holder);
    b->setEditable(true);
    b->setInsertPolicy(QComboBox::NoInsert);
    // No completion: what the user types stays as typed. The completer is
    // case-sensitive, so leaving the box never swaps typed text for an
    // entry that differs only in case.
    auto* exact = new QCompleter(QStringList(), b);
    exact->setCaseSensitivity(Qt::CaseSensitive);
    b->lineEdit()->setCompleter(exact);
    setUp(b);
    return b;
  }
  void show(const QString& cell) override { box()->setEditText(cell); }
};

// ---- check boxes ------------------------------------------------------------

class CheckBinding : public ControlBinding {
 public:
  using ControlBinding::ControlBinding;
  void watch(ChangeTracker& tracker, int index) override {
    // Space on the focused box toggles it as a click does, and counts as one.
    QObject::connect(box(), &QAbstractButton::clicked, &tracker, [&tracker, index] { tracker.touch(index); });
  }
  Answer userEvent(QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
        // A check box counts mouse presses.
        if (widget()->isEnabled() && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
          return Answer::Changed;
        return Answer::Pass;
      default: return Answer::Pass;
    }
  }

 protected:
  QCheckBox* box() const { return static_cast<QCheckBox*>(widget()); }
  QWidget* make(QWidget* holder) override {
    auto* b = new EditorCheckBox(holder);
    // No wider than its box: a press anywhere on it toggles it as well as counting.
    b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return b;
  }
};

// "0" clear, "1" ticked; a cell of 2 shows a greyed box.
class Check01Binding : public CheckBinding {
 public:
  using CheckBinding::CheckBinding;
  QString value() const override {
    const Qt::CheckState s = box()->checkState();
    return s == Qt::Checked            ? QStringLiteral("1")
           : s == Qt::PartiallyChecked ? QStringLiteral("2")
                                       : QStringLiteral("0");
  }
  CellEditorDef cellEditor() const override {
    CellEditorDef d = ControlBinding::cellEditor();
    d.kind = CellEditorDef::Kind::Check01;
    return d;
  }

 protected:
  void show(const QString& cell) override {
    int64_t v = 0;
    const bool number = IsPlainInteger(cell, &v);
    if (number && v == 2) box()->setTristate(true);
    box()->setCheckState(!number  ? Qt::Unchecked
                         : v == 1 ? Qt::Checked
                         : v == 2 ? Qt::PartiallyChecked
                                  : Qt::Unchecked);
  }
};

// "√" ticked, empty clear.
class CheckMarkBinding : public CheckBinding {
 public:
  using CheckBinding::CheckBinding;
  QString value() const override { return box()->isChecked() ? QStringLiteral("√") : QString(); }
  CellEditorDef cellEditor() const override {
    CellEditorDef d = ControlBinding::cellEditor();
    d.kind = CellEditorDef::Kind::CheckMark;
    return d;
  }

 protected:
  void show(const QString& cell) override { box()->setChecked(cell == QStringLiteral("√")); }
};

}  // namespace

QWidget* ControlBinding::create(QWidget* holder) {
  widget_ = make(holder);
  widget_->setObjectName(def_.name);
  if (def_.alwaysDisabled) widget_->setEnabled(false);
  return widget_;
}

void ControlBinding::fill(const QString& cell) {
  cellText_ = cell;
  filled_ = true;
  show(cell);
}

void ControlBinding::setEditable(bool editable) { widget_->setEnabled(editable && !def_.alwaysDisabled); }

bool ControlBinding::takesKeyboardFocus() const {
  return widget_->isEnabled() && !def_.hidden && (widget_->focusPolicy() & Qt::TabFocus);
}

CellEditorDef ControlBinding::cellEditor() const {
  CellEditorDef d;
  d.maxLength = def_.maxLength;
  return d;
}

std::unique_ptr<ControlBinding> MakeBinding(const ControlDef& def) {
  switch (def.kind) {
    case ControlKind::Text:
    case ControlKind::FillIn: return std::make_unique<TextBinding>(def);
    case ControlKind::MultiText: return std::make_unique<MultiTextBinding>(def);
    case ControlKind::IndexList: return std::make_unique<IndexListBinding>(def);
    case ControlKind::TextList: return std::make_unique<TextListBinding>(def);
    case ControlKind::Check01: return std::make_unique<Check01Binding>(def);
    case ControlKind::CheckMark: return std::make_unique<CheckMarkBinding>(def);
  }
  return std::make_unique<TextBinding>(def);
}

}  // namespace v3
