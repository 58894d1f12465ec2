#pragma once
#include <QDialog>
#include <QHash>
#include <QPointer>

#include <functional>

#include "app/Dialogs.h"
#include "editors/EditorForm.h"
#include "model/RecordGrid.h"

class QLabel;
class QPushButton;
class QScrollArea;

namespace v3 {

// What an editor needs from the program around it.
struct EditorEnvironment {
  QString programFolder;  // where Config.ini (the data folder) and the language file are
  std::function<void(QWidget* owner)> showDifficulty;  // the extra button of the NeedEffect editor
};

// One record editor, built from its description. It shows the first selected
// row of the grid; OK writes every control the user changed into every
// selected row, the add button appends one row holding every control, cancel
// writes nothing. It never touches the file.
//
// What counts as the user's change: typing, pasting or a fill-in box in a
// text box; a new selection in an index list (keyboard, or mouse while it has
// the focus); an entry picked from the open list of a text list (a mouse click
// or Enter in the list, not text typed into its edit field, not a focus change);
// a mouse click on a check box. Filling the controls from the row never counts.
// The mouse wheel changes no control that lacks the keyboard focus (and never a
// text list): it scrolls the dialog instead.
class RecordDialog : public QDialog {
  Q_OBJECT
 public:
  RecordDialog(const EditorForm& form, RecordGrid& grid, const EditorRequest& request, const EditorEnvironment& env,
               QWidget* owner);

  // The control with the object name, for tests and the language layer.
  QWidget* control(const QString& name) const { return controls_.value(name); }
  bool isChanged(const QString& name) const;

  void acceptModify();  // Cmd_OK
  void acceptAdd();     // Cmd_add

  // Its fields as the grid edits them in place: the same lists, entries and limits.
  CellEditorDefs cellEditors() const;

  // The text of the line that says how many records OK changes.
  static QString countText(int records, bool traditional);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Live {
    const ControlDef* form = nullptr;
    QWidget* widget = nullptr;
    bool changed = false;      // the user changed it since the dialog was filled
    bool filled = false;       // it was filled from a row
    bool fillInvalid = false;  // the cell held no value this control can show
    QString cellText;          // the cell as the dialog was filled from it
    QString lineBreak = QStringLiteral("\n");  // several lines: the cell's own line end
  };

  void build();
  void prepareLists();
  void fillFrom(int row);
  QString valueOf(const Live& c) const;
  bool asFilled(const Live& c) const;
  void writeInto(int row, bool onlyChanged, std::vector<RecordGrid::CellEdit>& edits) const;
  Live* live(const QString& name);
  bool wheelChanges(const Live& c) const;

  const EditorForm& form_;
  RecordGrid& grid_;
  EditorRequest request_;
  EditorEnvironment env_;
  std::vector<Live> live_;
  QHash<QString, QWidget*> controls_;
  QHash<QObject*, int> liveOf_;   // a control's widget -> its index in live_
  QHash<QObject*, int> popupOf_;  // a text list's popup view and its viewport -> the list's index
  int picking_ = -1;              // the text list whose popup is handing over a pick
  QScrollArea* scroll_ = nullptr;
  QLabel* count_ = nullptr;
  bool filling_ = false;
  bool traditional_ = false;
};

}  // namespace v3
