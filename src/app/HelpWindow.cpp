#include "app/HelpWindow.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/Messages.h"
#include "text/Language.h"

namespace v3 {

QString GuidePath(const QString& programFolder, Script script) {
  // Beside the program, or in share/vantaro3 of an installed one.
  const QDir dir(LanguageFolder(programFolder));
  const QString own =
      script == Script::Traditional ? QStringLiteral("guide-zh_TW.html") : QStringLiteral("guide-zh_CN.html");
  for (const QString& name : {own, QStringLiteral("guide-zh_CN.html")}) {
    const QString path = dir.filePath(name);
    if (QFileInfo(path).isFile()) return path;
  }
  return QString();
}

QString EnglishGuidePath(const QString& programFolder) {
  const QString path = QDir(LanguageFolder(programFolder)).filePath(QStringLiteral("guide-en.html"));
  return QFileInfo(path).isFile() ? path : QString();
}

HelpWindow::HelpWindow(const QString& guidePath, Script script, QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(msg::Localised(script, QStringLiteral("使用说明")));
  setAttribute(Qt::WA_DeleteOnClose);
  auto* layout = new QVBoxLayout(this);
  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("HelpBrowser"));
  browser_->setOpenExternalLinks(true);
  browser_->setSource(QUrl::fromLocalFile(guidePath));
  layout->addWidget(browser_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::Close)->setText(msg::Localised(script, QStringLiteral("关闭")));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  layout->addWidget(buttons);
  resize(760, 640);
}

void HelpWindow::setGuide(const QString& guidePath) {
  if (browser_->source() != QUrl::fromLocalFile(guidePath)) browser_->setSource(QUrl::fromLocalFile(guidePath));
}

}  // namespace v3
