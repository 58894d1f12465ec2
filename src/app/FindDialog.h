#pragma once
#include <QDialog>

#include "text/Language.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace v3 {

class GridView;
class RecordGrid;
class UiFront;

// The find dialog: searches one column of the open table and moves the grid
// to the first matching record, or to the next one after the selection.
class FindDialog : public QDialog {
  Q_OBJECT
 public:
  // texts: the window texts; localeId: the system's, which words the message that nothing was found.
  FindDialog(RecordGrid& grid, GridView* view, UiFront& front, const LanguageFile& texts, int localeId, QWidget* owner);

  QComboBox* columnList() const { return combo1_; }
  QLineEdit* textBox() const { return text1_; }

  // cmdOK: from row 1. cmdNext: after the first selected row (from row 1
  // when nothing is selected). Both close the dialog on an empty search
  // text or when nothing matches; after a hit the dialog stays open.
  void findFirst();
  void findNext();

 private:
  void searchFrom(int startRow);
  int column() const;

  RecordGrid& grid_;
  GridView* view_;
  UiFront& front_;
  int localeId_;
  QLabel* label1_;
  QLabel* label2_;
  QComboBox* combo1_;
  QLineEdit* text1_;
  QPushButton* cmdOK_;
  QPushButton* cmdNext_;
  QPushButton* cmdExit_;
};

}  // namespace v3
