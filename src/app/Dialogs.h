#pragma once
#include <QString>
#include <QStringList>

#include <memory>

class QWidget;

namespace v3 {

class RecordGrid;
struct CatalogueEntry;

// The three ways the shell opens a table's editor.
enum class EditorMode {
  Edit,           // double-click on a data row: every field enabled
  ModifySeveral,  // the identifying fields disabled; OK writes into every selected row
  Add,            // OK hidden, the add button shown: appends one row
};

struct EditorRequest {
  QString editor;               // the dialog's name, "Team", "CDW", ...
  EditorMode mode = EditorMode::Edit;
  QStringList disabledControls;  // ModifySeveral: the editor controls to disable
};

// The modal dialogs the main window opens: the tables' editors and the
// standalone table windows. Each is shown owned by the main window, and the
// call returns when the dialog has closed.
class DialogFactory {
 public:
  virtual ~DialogFactory() = default;
  virtual bool hasEditor(const QString& editor) const = 0;
  virtual void showEditor(const EditorRequest& request, RecordGrid& grid, QWidget* owner) = 0;
  virtual bool hasWindow(const QString& window) const = 0;
  virtual void showWindow(const QString& window, QWidget* owner) = 0;

};

}  // namespace v3
