#pragma once
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "text/Language.h"
#include "text/Script.h"

class QWidget;

namespace v3 {

class RecordGrid;
struct CatalogueEntry;

// What the shell's dialogs read and write with: the interface's language
// file (captions, lists, the script of their messages) and the script the
// data folder's text fields are in (see CodecContext).
struct DialogContext {
  LanguageFile texts;
  Script systemScript = Script::Traditional;
};

// The three ways the shell opens a table's editor.
enum class EditorMode {
  Edit,           // double-click on a data row: every field enabled
  ModifySeveral,  // the identifying fields disabled; OK writes into every selected row
  Add,            // OK hidden, the add button shown: appends one row
};

struct EditorRequest {
  QString editor;  // the dialog's name, "Team", "CDW", ...
  DialogContext context;
  EditorMode mode = EditorMode::Edit;
  QStringList disabledControls;  // ModifySeveral: the editor controls to disable
  // 转到 on a field that refers to a record of another table (the columns
  // `referenceColumns`): what the record the cell names is called ("StarRole.dat
  // 第 34 行：林心怡"; empty when it names none), and the go-to itself, which the
  // shell makes once the dialog has closed.
  QList<int> referenceColumns;
  std::function<QString(int column, const QString& cell)> referenceTarget;
  std::function<void(int column, const QString& cell)> goTo;
};

// How the grid edits a column in place: as the table's editor shows its field.
struct CellEditorDef {
  enum class Kind { Text, IndexList, TextList, Check01, CheckMark, Fixed };
  struct Choice {
    QString text;   // the entry as the list shows it
    QString value;  // what the cell holds for it
  };
  Kind kind = Kind::Text;
  std::vector<Choice> choices;  // lists: the editor's entries, in its order
  int maxLength = 0;            // text boxes: characters, 0 = none
};
using CellEditorDefs = std::map<int, CellEditorDef>;  // by grid column; a column missing is a plain text

// The modal dialogs the main window opens: the tables' editors and the
// standalone table windows. Each is shown owned by the main window, and the
// call returns when the dialog has closed.
class DialogFactory {
 public:
  virtual ~DialogFactory() = default;
  virtual bool hasEditor(const QString& editor) const = 0;
  virtual void showEditor(const EditorRequest& request, RecordGrid& grid, QWidget* owner) = 0;
  virtual bool hasWindow(const QString& window) const = 0;
  virtual void showWindow(const QString& window, const DialogContext& context, QWidget* owner) = 0;
  // The editor's fields as the grid edits them in place; none known: every column a text.
  virtual CellEditorDefs cellEditors(const QString& /*editor*/, const DialogContext& /*context*/) { return {}; }
};

}  // namespace v3
