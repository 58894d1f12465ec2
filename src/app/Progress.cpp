#include "app/Progress.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProgressDialog>
#include <QPushButton>

#include <algorithm>

#include "app/Messages.h"

namespace v3 {
namespace {

int g_delay = 1000;

// The bar counts in thousandths: a total may exceed what an int holds.
constexpr int kSteps = 1000;

QPushButton* cancelButton(Script script, QProgressDialog* owner) {
  auto* b = new QPushButton(msg::Localised(script, QStringLiteral("取消")), owner);
  b->setObjectName(QStringLiteral("progressCancel"));
  return b;
}

}  // namespace

int ProgressDelay() { return g_delay; }
void SetProgressDelay(int milliseconds) { g_delay = std::max(0, milliseconds); }

ProgressDialogRun::ProgressDialogRun(QWidget* owner, Script script, const QString& label, const QString& objectName)
    : script_(script),
      dialog_(std::make_unique<QProgressDialog>(msg::Localised(script, label), QString(), 0, kSteps, owner)) {
  dialog_->setObjectName(objectName);
  dialog_->setWindowTitle(msg::Localised(script, label));
  dialog_->setWindowModality(Qt::WindowModal);
  // Reaching the end neither hides the dialog nor forgets a cancel: the
  // caller decides what the work did.
  dialog_->setAutoReset(false);
  dialog_->setAutoClose(false);
  dialog_->setCancelButton(cancelButton(script, dialog_.get()));
  // Escape and the window's close button cancel as 取消 does.
  QObject::connect(dialog_.get(), &QDialog::rejected, dialog_.get(), &QProgressDialog::cancel);
  dialog_->setMinimumDuration(ProgressDelay());
  dialog_->setValue(0);
}

ProgressDialogRun::~ProgressDialogRun() {
  if (arrow_) QGuiApplication::restoreOverrideCursor();
}

bool ProgressDialogRun::report(qint64 done, qint64 total) {
  const int value = total > 0 ? int(std::clamp<qint64>(done * kSteps / total, 0, kSteps - 1)) : 0;
  // The window's events run while the dialog is shown (a modal progress
  // dialog's setValue runs them), the click on 取消 among them; a call that
  // does not move the bar runs them now and then.
  if (value != dialog_->value()) {
    dialog_->setValue(value);
    idle_.start();
  } else if (dialog_->isVisible() && (!idle_.isValid() || idle_.elapsed() >= 50)) {
    QCoreApplication::processEvents();
    idle_.start();
  }
  // The dialog is answered with the usual cursor, whatever the work shows.
  if (!arrow_ && dialog_->isVisible()) {
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    arrow_ = true;
  }
  return !dialog_->wasCanceled();
}

bool ProgressDialogRun::cancelled() const { return dialog_->wasCanceled(); }

void ProgressDialogRun::setCancellable(bool cancellable) {
  dialog_->setCancelButton(cancellable ? cancelButton(script_, dialog_.get()) : nullptr);
}

}  // namespace v3
