#pragma once
#include <QString>
#include <QStringList>

#include <memory>

#include "app/Dialogs.h"
#include "editors/EditorForm.h"

class QEvent;
class QWidget;

namespace v3 {

class ChangeTracker;

// How one kind of control carries a grid cell: the widget it is, how a cell
// is shown in it (read), the cell text it stands for (write), whether it
// still shows the cell it was filled from (compare) and whether the user can
// change it (enable). One object per control of a dialog; the dialog places
// the widgets and the change tracker decides which ones the user changed.
class ControlBinding {
 public:
  explicit ControlBinding(const ControlDef& def) : def_(def) {}
  virtual ~ControlBinding() = default;
  ControlBinding(const ControlBinding&) = delete;
  ControlBinding& operator=(const ControlBinding&) = delete;

  const ControlDef& def() const { return def_; }
  QWidget* widget() const { return widget_; }

  // Makes the widget inside `holder`, named after the control.
  QWidget* create(QWidget* holder);

  // Read: shows the cell and remembers it.
  void fill(const QString& cell);
  bool filled() const { return filled_; }
  const QString& cellText() const { return cellText_; }

  // Write: the cell text the control stands for now.
  virtual QString value() const = 0;
  // False when the control leaves the cell as it is (a list that writes nothing for no entry).
  virtual bool writesValue() const { return true; }
  // Compare: whether the control shows the cell it was filled from as it was
  // filled, when the user did not change it.
  virtual bool showsFilledCell() const { return true; }

  // Enable: whether the user can change it, and whether it takes the focus from the keyboard.
  virtual void setEditable(bool editable);
  bool takesKeyboardFocus() const;

  // Text kinds: sets the text as the user would (a fill-in box copying into its group).
  virtual void setText(const QString& /*text*/) {}
  // Lists: the entries as the dialog shows them, once the window texts and
  // lists are in; lists made of the same entries share them.
  struct SharedEntries {
    QString none;  // the entry for "nothing" (-1)
    QStringList source, entries;
    bool numbers = false, withNone = false;
  };
  virtual void prepareEntries(SharedEntries& /*shared*/) {}

  // Change tracking: connects the widget's signals that are the user's
  // changes of this kind to the tracker, and answers the events the tracker
  // sees on the widget.
  virtual void watch(ChangeTracker& tracker, int index) = 0;
  enum class Answer { Pass, Changed, ChangedAndDone, Done };
  virtual Answer userEvent(QEvent* /*event*/) { return Answer::Pass; }
  // Whether the mouse wheel over the control changes it (else it scrolls the dialog).
  virtual bool wheelChanges() const { return true; }

  // The field as the grid edits it in place.
  virtual CellEditorDef cellEditor() const;

 protected:
  virtual QWidget* make(QWidget* holder) = 0;
  virtual void show(const QString& cell) = 0;

 private:
  const ControlDef& def_;
  QWidget* widget_ = nullptr;
  bool filled_ = false;
  QString cellText_;
};

std::unique_ptr<ControlBinding> MakeBinding(const ControlDef& def);

}  // namespace v3
