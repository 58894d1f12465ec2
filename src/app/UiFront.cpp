#include "app/UiFront.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace v3 {
namespace {

class DesktopFront : public UiFront {
 public:
  void message(QWidget* owner, const QString& text, Icon icon) override {
    QMessageBox box(owner);
    box.setWindowTitle(QCoreApplication::applicationName());
    box.setText(text);
    box.setIcon(icon == Icon::Information ? QMessageBox::Information
                : icon == Icon::Warning   ? QMessageBox::Warning
                                          : QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
  }

  int ask(QWidget* owner, const QString& text, const QStringList& buttons) override {
    QMessageBox box(owner);
    box.setWindowTitle(QCoreApplication::applicationName());
    box.setText(text);
    box.setIcon(QMessageBox::Question);
    QList<QPushButton*> added;
    for (int i = 0; i < buttons.size(); ++i) {
      const bool last = i == buttons.size() - 1;
      added.append(box.addButton(buttons[i], last     ? QMessageBox::RejectRole
                                             : i == 0 ? QMessageBox::AcceptRole
                                                      : QMessageBox::DestructiveRole));
    }
    if (!added.isEmpty()) {
      box.setDefaultButton(added.first());
      box.setEscapeButton(added.last());
    }
    box.exec();
    const int chosen = int(added.indexOf(qobject_cast<QPushButton*>(box.clickedButton())));
    return chosen < 0 ? int(buttons.size()) - 1 : chosen;
  }

  QString chooseFolder(QWidget* owner, const QString& prompt, const QString& start) override {
    QString folder = QFileDialog::getExistingDirectory(
        owner, FolderPrompt(prompt), QFileInfo(start).isDir() ? start : QString(), QFileDialog::ShowDirsOnly);
    if (folder.isEmpty()) return QString();
    folder = QDir::cleanPath(folder);
    // A full path without a trailing separator (the root keeps its own).
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/'))) folder.chop(1);
    return folder;
  }

  void openDocument(QWidget*, const QString& path) override { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }
};

}  // namespace

QString UiFront::chooseFile(QWidget* owner, const QString& title, const QString& filter, bool forWriting) {
  if (!forWriting) return QFileDialog::getOpenFileName(owner, title, QString(), filter);
  QString chosenFilter;
  QString path = QFileDialog::getSaveFileName(owner, title, QString(), filter, &chosenFilter);
  // A name typed without a suffix takes the one of the chosen filter ("(*.xlsx)").
  const qsizetype star = chosenFilter.indexOf(QLatin1String("(*."));
  const QString suffix = star >= 0 ? chosenFilter.mid(star + 3).section(u')', 0, 0).section(u' ', 0, 0) : QString();
  if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty() && !suffix.isEmpty() && suffix != u'*')
    path += u'.' + suffix;
  return path;
}

bool UiFront::ask(QWidget* owner, const QString& question) {
  return QMessageBox::question(owner, QCoreApplication::applicationName(), question, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

UiFront& UiFront::desktop() {
  static DesktopFront front;
  return front;
}

QString FolderPrompt(const QString& prompt) { return prompt.isEmpty() ? QStringLiteral("选择目录") : prompt; }

BusyCursor::BusyCursor() { show(true); }

BusyCursor::~BusyCursor() { show(false); }

void BusyCursor::show(bool busy) {
  if (busy == shown_) return;
  if (busy)
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QGuiApplication::restoreOverrideCursor();
  shown_ = busy;
}

}  // namespace v3
