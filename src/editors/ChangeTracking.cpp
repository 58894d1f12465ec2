#include "editors/ChangeTracking.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>

#include "editors/ControlBindings.h"

namespace v3 {

namespace {

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

}  // namespace

ChangeTracker::ChangeTracker(const std::vector<std::unique_ptr<ControlBinding>>& bindings, QWidget* scrollViewport,
                             QObject* parent)
    : QObject(parent), bindings_(bindings), scrollViewport_(scrollViewport), changed_(bindings.size(), false) {}

void ChangeTracker::watchAll() {
  for (size_t i = 0; i < bindings_.size(); ++i) {
    ControlBinding& b = *bindings_[i];
    indexOf_.insert(b.widget(), int(i));
    b.widget()->installEventFilter(this);
    b.watch(*this, int(i));
    if (b.def().kind != ControlKind::FillIn) continue;
    // Every copy is the user's change, also into a box that held the text already.
    const QStringList targets = b.def().targets;
    connect(static_cast<QLineEdit*>(b.widget()), &QLineEdit::textChanged, this, [this, targets](const QString& text) {
      for (const QString& target : targets)
        for (size_t t = 0; t < bindings_.size(); ++t)
          if (bindings_[t]->def().name == target) {
            bindings_[t]->setText(text);
            touch(int(t));
            break;
          }
    });
  }
}

void ChangeTracker::touch(int index) {
  if (!filling_) changed_[size_t(index)] = true;
}

void ChangeTracker::watchPicks(int index, QComboBox* box) {
  // Qt also reports an entry as activated when a text list's edit field
  // holds its text and loses the focus or gets Enter: that is no pick.
  connect(box, &QComboBox::activated, this, [this, index] {
    if (picking_ == index) touch(index);
    picking_ = -1;
  });
  QAbstractItemView* view = box->view();
  for (QObject* o : {static_cast<QObject*>(view), static_cast<QObject*>(view->viewport())}) {
    popupOf_.insert(o, index);
    o->installEventFilter(this);
  }
}

bool ChangeTracker::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (auto popup = popupOf_.find(watched); popup != popupOf_.end()) {
    // The open list hands over a pick on a click or a key.
    const bool pick =
        (type == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) ||
        ((type == QEvent::ShortcutOverride || type == QEvent::KeyPress) && isPickKey(static_cast<QKeyEvent*>(event)));
    if (pick) {
      picking_ = popup.value();
      QTimer::singleShot(0, this, [this] { picking_ = -1; });
    }
    return false;
  }
  const auto it = indexOf_.find(watched);
  if (it == indexOf_.end()) return false;
  ControlBinding& b = *bindings_[size_t(it.value())];
  if (type == QEvent::Wheel) {
    if (b.wheelChanges()) return false;
    // The dialog scrolls instead.
    QApplication::sendEvent(scrollViewport_, event);
    return true;
  }
  switch (b.userEvent(event)) {
    case ControlBinding::Answer::Pass: return false;
    case ControlBinding::Answer::Changed: touch(it.value()); return false;
    case ControlBinding::Answer::ChangedAndDone: touch(it.value()); return true;
    case ControlBinding::Answer::Done: return true;
  }
  return false;
}

}  // namespace v3
