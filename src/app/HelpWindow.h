#pragma once
#include <QDialog>

#include "text/Script.h"

class QTextBrowser;

namespace v3 {

// The user guide shipped beside the program (guide-zh_CN.html or
// guide-zh_TW.html for the interface language, guide-en.html in English),
// shown in a window of its own; each guide links to the other two.
class HelpWindow : public QDialog {
  Q_OBJECT
 public:
  HelpWindow(const QString& guidePath, Script script, QWidget* owner);
  QTextBrowser* browser() const { return browser_; }
  void setGuide(const QString& guidePath);  // another guide in the same window

 private:
  QTextBrowser* browser_;
};

// The guide for the interface language in the program folder; empty when
// none is there.
QString GuidePath(const QString& programFolder, Script script);
// The English guide in the program folder; empty when it is not there.
QString EnglishGuidePath(const QString& programFolder);

}  // namespace v3
