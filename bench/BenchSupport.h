#pragma once
#include "app/UiFront.h"

namespace v3 {

// A front that answers nothing: messages are counted, every question gets its
// last answer (Escape), pickers are cancelled.
class QuietFront : public UiFront {
 public:
  int messages = 0;
  void message(QWidget*, const QString&, Icon) override { ++messages; }
  int ask(QWidget*, const QString&, const QStringList& buttons) override { return int(buttons.size()) - 1; }
  using UiFront::ask;
  QString chooseFolder(QWidget*, const QString&, const QString&) override { return QString(); }
  void openDocument(QWidget*, const QString&) override {}
};

}  // namespace v3
