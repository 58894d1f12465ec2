#include "app/CellEditor.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolTip>

#include "app/Messages.h"
#include "model/RecordGrid.h"
#include "text/Big5.h"

namespace v3 {

// ---------------------------------------------------------------- CellEditing

CellEditing::CellEditing(RecordGrid& grid, Script script, QObject* parent)
    : QObject(parent), grid_(grid), script_(script) {}

CellEditing::~CellEditing() = default;

void CellEditing::setTable(const TableDef* table, const QString& folder, Script systemScript,
                           const std::function<CellEditorDefs()>& defs) {
  if (table == table_ && folder == folder_ && (table || !checker_)) return;
  table_ = table;
  folder_ = folder;
  defs_ = table && defs ? defs() : CellEditorDefs();
  checker_ = table ? std::make_unique<CellChecker>(*table, folder, systemScript) : nullptr;
}

bool CellEditing::editable(int column) const {
  if (!table_ || table_->readOnly || column < 1 || column > grid_.fieldCount()) return false;
  return editorFor(column).kind != CellEditorDef::Kind::Fixed;
}

CellEditorDef CellEditing::editorFor(int column) const {
  const auto it = defs_.find(column);
  return it == defs_.end() ? CellEditorDef() : it->second;
}

ColumnShape CellEditing::shape(int column) const { return checker_ ? checker_->shape(column) : ColumnShape(); }

QString CellEditing::localised(const QString& simplified) const { return msg::Localised(script_, simplified); }

std::optional<QString> CellEditing::refusal(int row, int column, const QString& text) const {
  if (!checker_) return std::nullopt;
  if (auto refused = checker_->refusal(grid_, row, column, text))
    return localised(QStringLiteral("不能存入：")) + msg::Localised(script_, *refused);
  return std::nullopt;
}

bool CellEditing::commit(int row, int column, const QString& text) {
  if (!editable(column) || row < 1 || row > grid_.recordCount()) return false;
  if (grid_.cell(row, column) == text) return true;
  if (auto refused = refusal(row, column, text)) {
    emit message(*refused);
    return false;
  }
  grid_.setCell(row, column, text);  // one change, one undo step
  emit message(localised(QStringLiteral("已修改 %1").arg(CellPlace(grid_, row, column))));
  return true;
}

QString CellEditing::hint(int row, int column, const QString& text) const {
  QString line = QStringLiteral("编辑 %1").arg(CellPlace(grid_, row, column));
  const ColumnShape s = shape(column);
  const CellEditorDef def = editorFor(column);
  if (def.kind == CellEditorDef::Kind::Text && s.kind == ColumnShape::Kind::Number)
    line += QStringLiteral("：数字 %1..%2").arg(s.min).arg(s.max);
  else if (def.kind == CellEditorDef::Kind::Text && s.kind == ColumnShape::Kind::Text && s.bytes > 0) {
    const int used = EncodedByteLength(text);
    line += used < 0 ? QStringLiteral("：最多 %1 字节").arg(s.bytes)
                     : QStringLiteral("：%1 / %2 字节").arg(used).arg(s.bytes);
  }
  line += QStringLiteral("（Enter 确定，Esc 取消）");
  return localised(line);
}

// ---------------------------------------------------------------- CellEditDelegate

namespace {

const char kRow[] = "v3CellRow";
const char kColumn[] = "v3CellColumn";

// Keys the editor keeps for itself while it is open, before any shortcut of the window.
bool EditorKey(const QKeyEvent* k) {
  switch (k->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_F2: return true;
    default: break;
  }
  return k->matches(QKeySequence::Copy) || k->matches(QKeySequence::Paste) || k->matches(QKeySequence::Cut) ||
         k->matches(QKeySequence::Undo) || k->matches(QKeySequence::Redo) || k->matches(QKeySequence::SelectAll);
}

}  // namespace

QWidget* CellEditDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const {
  const int row = index.row() + 1, column = index.column();
  if (!editing_ || !editing_->editable(column)) return nullptr;
  const QString cell = editing_->grid().cell(row, column);
  const CellEditorDef def = editing_->editorFor(column);
  // Above the frozen columns too: the editor lives in the view, not in its viewport.
  QWidget* host = parent && parent->parentWidget() ? parent->parentWidget() : parent;
  QWidget* editor = nullptr;
  switch (def.kind) {
    case CellEditorDef::Kind::IndexList:
    case CellEditorDef::Kind::TextList: {
      auto* box = new QComboBox(host);
      box->setEditable(def.kind == CellEditorDef::Kind::TextList);
      if (box->isEditable()) {
        // What the user types stays as typed: no completion.
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setCompleter(nullptr);
      }
      for (const CellEditorDef::Choice& c : def.choices) box->addItem(c.text, c.value);
      box->setMaxVisibleItems(20);
      if (QLineEdit* line = box->lineEdit()) line->installEventFilter(const_cast<CellEditDelegate*>(this));
      editor = box;
      break;
    }
    case CellEditorDef::Kind::Check01:
    case CellEditorDef::Kind::CheckMark: {
      auto* box = new QCheckBox(host);
      box->setAutoFillBackground(true);
      editor = box;
      break;
    }
    case CellEditorDef::Kind::Fixed: return nullptr;
    case CellEditorDef::Kind::Text: {
      if (cell.contains(u'\n') || cell.contains(u'\r')) {
        // Lines stay apart only in the record dialog's box of several lines.
        emit editing_->message(
            editing_->localised(QStringLiteral("此单元格有多行文字，请按 Enter 在记录对话框中修改")));
        return nullptr;
      }
      auto* line = new QLineEdit(host);
      line->setFrame(false);
      line->setMaxLength(def.maxLength > 0 ? std::max<int>(def.maxLength, int(cell.size())) : 1 << 24);
      const ColumnShape s = editing_->shape(column);
      if (s.kind == ColumnShape::Kind::Number) {
        line->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        line->setToolTip(QStringLiteral("%1..%2").arg(s.min).arg(s.max));
      }
      CellEditing* editing = editing_;
      connect(line, &QLineEdit::textEdited, editing,
              [editing, row, column](const QString& text) { emit editing->message(editing->hint(row, column, text)); });
      editor = line;
      break;
    }
  }
  editor->setProperty(kRow, row);
  editor->setProperty(kColumn, column);
  editor->setObjectName(QStringLiteral("CellEditor"));
  editor->raise();
  emit editing_->message(editing_->hint(row, column, cell));
  return editor;
}

void CellEditDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  if (!editing_) return;
  const QString cell = editing_->grid().cell(index.row() + 1, index.column());
  if (auto* line = qobject_cast<QLineEdit*>(editor)) {
    if (line->property("v3Filled").toBool()) return;  // keeps what the user typed when the view fills it again
    line->setText(cell);
    line->selectAll();
  } else if (auto* box = qobject_cast<QComboBox*>(editor)) {
    if (box->property("v3Filled").toBool()) return;
    const int at = box->findData(cell);
    box->setCurrentIndex(at);
    if (box->isEditable()) {
      box->setEditText(cell);
      box->lineEdit()->selectAll();  // typing replaces the cell, as in a text box
    }
  } else if (auto* check = qobject_cast<QCheckBox*>(editor)) {
    if (check->property("v3Filled").toBool()) return;
    const CellEditorDef def = editing_->editorFor(index.column());
    if (def.kind == CellEditorDef::Kind::CheckMark) {
      check->setChecked(cell == QStringLiteral("√"));
    } else {
      check->setTristate(cell == QStringLiteral("2"));
      check->setCheckState(cell == QStringLiteral("1")   ? Qt::Checked
                           : cell == QStringLiteral("2") ? Qt::PartiallyChecked
                                                         : Qt::Unchecked);
    }
  }
  editor->setProperty("v3Filled", true);
}

QString CellEditDelegate::editorValue(QWidget* editor, const QModelIndex& index) const {
  const QString cell = editing_ ? editing_->grid().cell(index.row() + 1, index.column()) : QString();
  if (auto* line = qobject_cast<QLineEdit*>(editor)) return line->text();
  if (auto* box = qobject_cast<QComboBox*>(editor)) {
    if (box->isEditable()) return box->currentText();
    // A cell that is no entry of the list stays as it is until one is chosen.
    return box->currentIndex() < 0 ? cell : box->currentData().toString();
  }
  if (auto* check = qobject_cast<QCheckBox*>(editor)) {
    const CellEditorDef def = editing_ ? editing_->editorFor(index.column()) : CellEditorDef();
    if (def.kind == CellEditorDef::Kind::CheckMark) return check->isChecked() ? QStringLiteral("√") : QString();
    // A cell that held no flag stays as it is while the box is as it was shown.
    if (!check->property("v3Toggled").toBool() && cell != QStringLiteral("1") && cell != QStringLiteral("2"))
      return cell;
    const Qt::CheckState s = check->checkState();
    return s == Qt::Checked            ? QStringLiteral("1")
           : s == Qt::PartiallyChecked ? QStringLiteral("2")
                                       : QStringLiteral("0");
  }
  return cell;
}

void CellEditDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const {
  if (!editing_) return;
  editing_->commit(index.row() + 1, index.column(), editorValue(editor, index));
}

void CellEditDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                            const QModelIndex& index) const {
  QRect r = placer_ ? placer_(index) : option.rect;
  if (auto* check = qobject_cast<QCheckBox*>(editor)) {
    // The box at the cell's left, the cell's height.
    r.setWidth(std::max(r.width(), check->sizeHint().width()));
  }
  if (auto* box = qobject_cast<QComboBox*>(editor)) r.setWidth(std::max(r.width(), box->minimumSizeHint().width()));
  r.setHeight(std::max(r.height(), editor->minimumSizeHint().height()));
  editor->setGeometry(r);
  editor->raise();
}

QWidget* CellEditDelegate::editorOf(QObject* watched) const {
  auto* w = qobject_cast<QWidget*>(watched);
  while (w && !w->property(kColumn).isValid()) w = w->parentWidget();
  return w;
}

bool CellEditDelegate::finish(QWidget* editor, int rows, int columns) {
  const int row = editor->property(kRow).toInt(), column = editor->property(kColumn).toInt();
  if (editing_) {
    const QModelIndex index = editing_->grid().index(row - 1, column);
    const QString value = editorValue(editor, index);
    if (value != editing_->grid().cell(row, column)) {
      if (auto refused = editing_->refusal(row, column, value)) {
        // The editor stays open with what was typed; the reason is shown at the cell.
        emit editing_->message(*refused);
        QToolTip::showText(editor->mapToGlobal(QPoint(0, editor->height())), *refused, editor);
        return true;
      }
    }
  }
  emit commitData(editor);
  emit closeEditor(editor, QAbstractItemDelegate::NoHint);
  emit moveAfterEdit(rows, columns);
  return true;
}

bool CellEditDelegate::eventFilter(QObject* watched, QEvent* event) {
  QWidget* editor = editorOf(watched);
  if (!editor) return CellDelegate::eventFilter(watched, event);
  const bool inner = watched != editor;  // the edit field of a list: the list is the editor
  const QEvent::Type type = event->type();
  if (type == QEvent::ShortcutOverride) {
    if (EditorKey(static_cast<QKeyEvent*>(event))) {
      event->accept();
      return true;
    }
    return false;
  }
  if (type == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    auto* box = qobject_cast<QComboBox*>(editor);
    if (box && box->view()->isVisible()) return false;  // the open list has the key
    const bool shift = key->modifiers() & Qt::ShiftModifier;
    switch (key->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter: return finish(editor, shift ? -1 : 1, 0);
      case Qt::Key_Tab: return finish(editor, 0, 1);
      case Qt::Key_Backtab: return finish(editor, 0, -1);
      case Qt::Key_Escape:
        emit closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
        if (editing_) emit editing_->message(editing_->localised(QStringLiteral("已取消编辑")));
        return true;
      case Qt::Key_Space:
        if (qobject_cast<QCheckBox*>(editor)) editor->setProperty("v3Toggled", true);
        break;
      default: break;
    }
    return false;
  }
  if (type == QEvent::MouseButtonPress && qobject_cast<QCheckBox*>(editor)) editor->setProperty("v3Toggled", true);
  if (type == QEvent::FocusOut && editing_) {
    // Leaving the cell keeps a value that fits and drops one that does not.
    const int row = editor->property(kRow).toInt(), column = editor->property(kColumn).toInt();
    const QModelIndex index = editing_->grid().index(row - 1, column);
    const QString value = editorValue(editor, index);
    if (value != editing_->grid().cell(row, column))
      if (auto refused = editing_->refusal(row, column, value)) {
        auto* box = qobject_cast<QComboBox*>(editor);
        if (box && box->view()->isVisible()) return false;
        emit editing_->message(*refused);
        emit closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
        return true;
      }
  }
  if (inner) return false;
  return CellDelegate::eventFilter(watched, event);
}

}  // namespace v3
