#pragma once
#include <QElapsedTimer>
#include <QString>

#include <memory>

#include "text/Progress.h"
#include "text/Script.h"

class QProgressDialog;
class QWidget;

namespace v3 {

// The progress dialog of one piece of work that may take long: shown once
// the work has gone on for ProgressDelay() (and looks like going on for
// longer), window-modal, with a 取消 button. The work reports through
// callback() from where it loops and stops when the user cancels; the dialog
// goes when this object does.
class ProgressDialogRun {
 public:
  // `label` is written in Simplified (see msg::Localised).
  ProgressDialogRun(QWidget* owner, Script script, const QString& label,
                    const QString& objectName = QStringLiteral("progress"));
  ~ProgressDialogRun();
  ProgressDialogRun(const ProgressDialogRun&) = delete;
  ProgressDialogRun& operator=(const ProgressDialogRun&) = delete;

  // Moves the bar and lets the window repaint; false once the user cancelled.
  bool report(qint64 done, qint64 total);
  Progress callback() {
    return [this](qint64 done, qint64 total) { return report(done, total); };
  }
  bool cancelled() const;
  // What remains cannot be stopped (it is being applied): no 取消 from here on.
  void setCancellable(bool cancellable);

 private:
  Script script_;
  std::unique_ptr<QProgressDialog> dialog_;
  QElapsedTimer idle_;
  bool arrow_ = false;  // the usual cursor pushed over a busy one
};

// How long work goes on before its progress dialog shows (1000 ms); tests
// set it lower.
int ProgressDelay();
void SetProgressDelay(int milliseconds);

}  // namespace v3
