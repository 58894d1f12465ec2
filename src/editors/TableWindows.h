#pragma once
#include <QDialog>
#include <QHash>
#include <QSet>
#include <QString>

#include <memory>

#include "tables/StandaloneTables.h"
#include "text/Language.h"

class QBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QUndoStack;

namespace v3 {

class UiFront;

struct TableWindowOptions {
  QString programFolder;                      // Config.ini (the data folder); empty: the program's folder
  LanguageFile texts;                         // the interface's language file: captions and the script of messages
  Script systemScript = Script::Traditional;  // the script the data folder's text fields are in
  UiFront* front = nullptr;                   // where messages go; nullptr: the desktop
  FileStore* store = nullptr;                 // the file's bytes; nullptr: the disk
};

// The window of a standalone table (Cons, Dif, Level, Length). It takes its
// texts from the language file, finds the data folder in Config.ini, reads
// its file at once and shows every value in a box; Cmd_Load reads the file
// again, Cmd_Save writes the boxes back at the positions they came from and
// Cmd_Exit closes the window without saving. The title shows [*] while the
// boxes hold unsaved edits; the status line under the buttons never widens
// the window. A save that is refused or fails
// shows one message and leaves the file as it was; a save that goes through
// shows none.
class TableWindow : public QDialog {
  Q_OBJECT
 public:
  TableWindow(StandaloneKind kind, const TableWindowOptions& options, QWidget* owner = nullptr);
  ~TableWindow() override;

  StandaloneKind kind() const { return table_.kind(); }
  const QString& dataFolder() const { return dataFolder_; }
  const StandaloneTable& table() const { return table_; }

  // The box or label with the object name ("Text1(3)", "Lb4(2)"); nullptr if none.
  QLineEdit* box(const QString& name) const;
  QLabel* label(const QString& name) const;
  QPushButton* button(const QString& name) const;

  bool loadFile();            // Cmd_Load; false when the file could not be read (a message is shown)
  StandaloneSave saveFile();  // Cmd_Save
  // Whether the user changed a box since the file was read or saved.
  bool hasUnsavedChanges() const { return modified_; }
  QString statusLine() const;  // where the last save went, or why it did not

  // The window's own undo history: each edit of a box is one step (typing in
  // a box is taken as one step when the box is left, or when undo, save or
  // close come first). Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z redo; reading
  // the file forgets the steps; undoing back to the last read or save clears
  // the unsaved mark.
  QUndoStack& undoStack() const { return *undo_; }
  void undo();
  void redo();

  // Closing (Cmd_Exit, Escape, the window's close button) with unsaved
  // changes asks 保存 / 不保存 / 取消 first.
  void reject() override;

 private:
  void buildCons();
  void buildDif();
  void buildLevel();
  void buildLength();
  QLineEdit* addBox(const QString& name, int width);
  QLabel* addLabel(const QString& name, const QString& text);
  void addButtons(QBoxLayout* layout);
  void showMessage(const QString& simplified);
  void setModified(bool modified);
  void setStatusLine(const QString& text);
  QString text(const QString& simplified) const;
  // Makes the typing since the last step one step (`typed`: the box typed in;
  // null: the box with the focus).
  void commitBoxes(QLineEdit* typed = nullptr);
  void forgetSteps();
  bool eventFilter(QObject* watched, QEvent* event) override;
  friend class BoxEditCommand;

  StandaloneTable table_;
  QString programFolder_;
  LanguageFile texts_;
  QString dataFolder_;
  UiFront* front_;
  FileStore* store_;
  QHash<QString, QLineEdit*> boxes_;
  QHash<QLineEdit*, QString> committed_;  // each box's text as its last step left it
  QSet<QLineEdit*> typedIn_;              // boxes the user typed in since the last step
  QUndoStack* undo_ = nullptr;
  QLabel* statusLine_ = nullptr;
  bool modified_ = false;
};

// The window with the name, or nullptr for a name that is no standalone table.
std::unique_ptr<TableWindow> MakeTableWindow(const QString& window, const TableWindowOptions& options,
                                             QWidget* owner = nullptr);

}  // namespace v3
