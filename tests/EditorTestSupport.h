#pragma once
// Driving a record editor as a user does: the dialog shown and active, the
// focus where a click or Tab puts it, and every change made by real key,
// mouse and wheel events.
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtTest>

namespace v3test {

// Shows the dialog and waits until it is active, as one opened by a command is.
inline bool ShowActive(QDialog* d) {
  d->show();
  d->activateWindow();
  return QTest::qWaitForWindowActive(d);
}

inline QWidget* Focused() { return QApplication::focusWidget(); }

// Moves the focus with Tab from wherever it is.
inline void Tab(bool back = false) {
  QWidget* f = Focused();
  if (f) QTest::keyClick(f, back ? Qt::Key_Backtab : Qt::Key_Tab);
}

// The user clicks into the control (a combo's edit field, a box's text), which focuses it.
inline void ClickInto(QWidget* w) {
  QWidget* target = w;
  if (auto* box = qobject_cast<QComboBox*>(w); box && box->lineEdit()) target = box->lineEdit();
  if (auto* e = qobject_cast<QPlainTextEdit*>(w)) target = e->viewport();
  QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(4, target->height() / 2));
}

// Opens the list with the mouse and clicks the entry at the position.
inline bool PickWithMouse(QComboBox* box, int index) {
  if (index < 0 || index >= box->count()) return false;
  box->showPopup();
  QAbstractItemView* view = box->view();
  if (!QTest::qWaitFor([view] { return view->isVisible(); })) return false;
  const QModelIndex item = view->model()->index(index, box->modelColumn());
  view->scrollTo(item);
  const QRect r = view->visualRect(item);
  QTest::mouseMove(view->viewport(), r.center());
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
  return QTest::qWaitFor([view] { return !view->isVisible(); }) && box->currentIndex() == index;
}

// Focuses the list, opens it with Alt+Down, walks to the entry and presses Enter.
inline bool PickWithKeyboard(QComboBox* box, int index) {
  if (index < 0 || index >= box->count()) return false;
  box->setFocus(Qt::TabFocusReason);
  QTest::keyClick(box, Qt::Key_Down, Qt::AltModifier);
  QAbstractItemView* view = box->view();
  if (!QTest::qWaitFor([view] { return view->isVisible(); })) return false;
  for (int guard = 0; view->currentIndex().row() != index && guard < 1000; ++guard)
    QTest::keyClick(view, view->currentIndex().row() < index ? Qt::Key_Down : Qt::Key_Up);
  QTest::keyClick(view, Qt::Key_Return);
  return QTest::qWaitFor([view] { return !view->isVisible(); }) && box->currentIndex() == index;
}

// One wheel notch (negative: towards the user) over the middle of the widget,
// delivered as the window system's wheel is: to the innermost widget there,
// then to its parents until one accepts it.
inline void WheelOver(QWidget* w, int notches) {
  const QPoint local(w->width() / 2, w->height() / 2);
  QWidget* target = w->childAt(local) ? w->childAt(local) : w;
  const QPoint global = w->mapToGlobal(local);
  for (QWidget* to = target; to; to = to->parentWidget()) {
    const QPoint at = to->mapFromGlobal(global);
    QWheelEvent e(at, global, QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                  false);
    QApplication::sendEvent(to, &e);
    if (e.isAccepted() || to->isWindow()) break;
  }
}

// Types into the widget, one key per character (also characters no key of
// a Latin keyboard carries, as an input method delivers them).
inline void TypeInto(QWidget* w, const QString& text) {
  for (QChar ch : text) {
    if (ch.unicode() < 128 && ch.isPrint()) {
      QTest::keyClick(w, ch.toLatin1());
    } else {
      QTest::sendKeyEvent(QTest::Press, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
      QTest::sendKeyEvent(QTest::Release, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
  }
}

// Types into the focused widget.
inline void TypeKeys(const QString& text) {
  if (QWidget* f = Focused()) TypeInto(f, text);
}

// Selects everything in the focused text and types the text instead.
inline void ReplaceFocusedText(const QString& text) {
  QWidget* f = Focused();
  if (!f) return;
  QTest::keyClick(f, Qt::Key_A, Qt::ControlModifier);
  TypeInto(f, text);
}

}  // namespace v3test
