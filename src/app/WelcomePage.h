#pragma once
#include <QDialog>
#include <QString>

#include "text/Script.h"

class QListWidget;
class QListWidgetItem;

namespace v3 {

class UiFront;

// The page shown while the program knows no data folder (no Config.ini, or
// one naming a folder without CDCase.dat): what the data folder is, a button
// for the folder picker, one that writes a sample data folder and opens it,
// and the data folders opened before. A folder that is no data folder is
// named with the file looked for and the page stays; a cancelled picker
// returns to it. The page is left with a data folder (accepted) or by
// closing it (rejected: the program ends).
class WelcomePage : public QDialog {
  Q_OBJECT
 public:
  WelcomePage(const QString& programFolder, Script script, UiFront& front, QWidget* owner);

  // The data folder the user settled on; empty until then.
  const QString& folder() const { return folder_; }

  // The name of the folder a sample is written into, inside `parent`: a new
  // one, never a folder that exists already.
  static QString NewSampleFolder(const QString& parent);

 private:
  void chooseFolder();
  void createSample();
  void useFolder(const QString& folder);
  QString text(const QString& simplified) const;

  Script script_;
  UiFront& front_;
  QListWidget* recent_ = nullptr;
  QString folder_;
};

}  // namespace v3
