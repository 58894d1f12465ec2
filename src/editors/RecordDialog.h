#pragma once
#include <QDialog>
#include <QHash>
#include <QPointer>

#include <functional>
#include <memory>
#include <vector>

#include "app/Dialogs.h"
#include "editors/EditorForm.h"
#include "model/RecordGrid.h"

class QLabel;
class QObject;
class QPushButton;
class QScrollArea;

namespace v3 {

class ChangeTracker;
class ControlBinding;

// What an editor needs from the program around it.
struct EditorEnvironment {
  QString programFolder;                               // where Config.ini (the data folder) and the language file are
  std::function<void(QWidget* owner)> showDifficulty;  // the extra button of the NeedEffect editor
};

// One record editor, built from its description. It shows the first selected
// row of the grid; OK writes every control the user changed into every
// selected row, the add button appends one row holding every control, cancel
// writes nothing. It never touches the file.
//
// The controls are placed by FormPlacement, each carried by the binding of
// its kind (ControlBindings), and ChangeTracker says which ones the user
// changed (see there for what counts).
class RecordDialog : public QDialog {
  Q_OBJECT
 public:
  RecordDialog(const EditorForm& form, RecordGrid& grid, const EditorRequest& request, const EditorEnvironment& env,
               QWidget* owner);
  ~RecordDialog() override;

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
  // 转到 in the context menu of the fields that refer to other tables' records.
  void offerGoTo();
  void goToMenu(int index, QWidget* widget, const QPoint& globalPos);
  void build();
  void fillFrom(int row);
  void writeInto(int row, bool onlyChanged, std::vector<RecordGrid::CellEdit>& edits) const;
  int indexOf(const QString& name) const;

  const EditorForm& form_;
  RecordGrid& grid_;
  EditorRequest request_;
  EditorEnvironment env_;
  std::vector<std::unique_ptr<ControlBinding>> bindings_;  // in the form's order
  QHash<QString, QWidget*> controls_;
  QHash<QObject*, int> goToFields_;  // a reference field's widget (or its edit field) -> its binding
  ChangeTracker* tracker_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  QLabel* count_ = nullptr;
  bool traditional_ = false;
};

}  // namespace v3
