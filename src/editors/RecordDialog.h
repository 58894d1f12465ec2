#pragma once
#include <QDialog>
#include <QHash>
#include <QPointer>

#include <functional>

#include "app/Dialogs.h"
#include "editors/EditorForm.h"

class QPushButton;

namespace v3 {

class RecordGrid;

// What an editor needs from the program around it.
struct EditorEnvironment {
  QString programFolder;  // where Config.ini (the data folder) and the language file are
  std::function<void(QWidget* owner)> showDifficulty;  // the extra button of the NeedEffect editor
};

// One record editor, built from its description. It shows the first selected
// row of the grid; OK writes every control the user changed into every
// selected row, the add button appends one row holding every control, cancel
// writes nothing. It never touches the file.
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

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Live {
    const ControlSpec* form = nullptr;
    QWidget* widget = nullptr;
    bool changed = false;      // the user changed it since the dialog was filled
    bool fillInvalid = false;  // the cell held no value this control can show
    QString cellText;          // the cell as the dialog was filled from it
  };

  void build();
  void fillFrom(int row);
  QString valueOf(const Live& c) const;
  void writeInto(int row, bool onlyChanged);
  Live* live(const QString& name);

  const EditorForm& form_;
  RecordGrid& grid_;
  EditorRequest request_;
  EditorEnvironment env_;
  std::vector<Live> live_;
  QHash<QString, QWidget*> controls_;
  bool filling_ = false;
};

}  // namespace v3
