#pragma once
#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "app/Dialogs.h"
#include "app/Layout.h"
#include "model/RecordGrid.h"
#include "model/TableDocument.h"
#include "storage/FileStamp.h"

#include "text/Language.h"
#include "text/Script.h"

class QLabel;
class QMenu;
class QToolBar;
class QUndoStack;

namespace v3 {

class CellEditing;
struct CellPlan;
class DialogFactory;
class FileStore;
class FilterBar;
class FilterIndex;
class GridUndo;
class GridView;
class ReferenceNames;
class UiFront;
struct CatalogueEntry;
struct ReferenceDef;
struct TableDef;
enum class EditorMode;

struct ShellOptions {
  QString programFolder;             // Config.ini, the language files and the readme; empty: the program's own folder
  int localeId = 0;                  // the system locale id (2052, 1028, ...); 0: the environment's
  std::optional<Script> script;      // the interface's script; none: from the system locale
  UiFront* front = nullptr;          // message boxes, folder picker, documents; null: the desktop's
  DialogFactory* dialogs = nullptr;  // editors and standalone windows; null: none
  FileStore* store = nullptr;        // where tables are read from and saved to; null: the disk
};

// The main window: one table at a time in the grid, the catalogue of tables
// in the Select menu, the record commands, find, layout, help and about.
// The open table is identified by the caption, which is exactly the table's
// file name while a table is open; the window title shows the caption and
// whether the table has unsaved changes.
//
// Nothing is lost without a question: every change can be undone, and the
// commands that would throw unsaved changes away (exit, closing the window,
// opening a table, reload, another data folder) ask first.
class Vantaro3 : public QMainWindow {
  Q_OBJECT
 public:
  explicit Vantaro3(ShellOptions options = {}, QWidget* parent = nullptr);
  ~Vantaro3() override;

  // Start-up: the interface language, the data folder (from Config.ini or
  // asked for), the window's texts and its start layout. False when the
  // program has to end without showing the window.
  bool startUp();

  Script script() const { return script_; }
  // The system locale id, and the script the game's own text fields are read
  // and written in on that system (SystemTextScript).
  int localeId() const { return localeId_; }
  // The interface's language file (none before startUp()), and what the
  // dialogs the window opens read and write with.
  const LanguageFile& texts() const { return texts_; }
  DialogContext dialogContext() const { return {texts_, systemScript()}; }
  Script systemScript() const { return SystemTextScript(localeId_); }
  const QString& dataFolder() const { return dataFolder_; }
  const QString& programFolder() const { return programFolder_; }
  RecordGrid& grid() { return grid_; }
  GridView* gridView() const { return view_; }
  QMenu* contextMenu() const { return contextMenu_; }
  QLabel* label(int n) const;  // Label1..Label3
  QLabel* modifiedMark() const { return modifiedMark_; }
  QString statusLine() const;  // the status bar's line after the last load or save
  const ProportionalLayout& formLayout() const { return layout_; }
  // The open table's catalogue entry, found by the caption; nullptr when none.
  const CatalogueEntry* openEntry() const;
  // The table key: the open table's file name, or the window's own caption.
  const QString& caption() const { return caption_; }
  GridUndo& undo() { return *undo_; }
  QUndoStack& undoStack();
  // Whether the open table has changes that a save would write.
  bool hasUnsavedChanges() const;

  // Commands of the menus.
  void openTable(const CatalogueEntry& entry);  // a Select-menu entry
  void reload();
  void refresh();
  void save();
  void restoreEarlierVersion();  // the open table's file from its backup history
  void add();
  void modifySeveral();
  void editRow(int row);  // double-click on a data row
  void deleteSelected(bool fromContextMenu);
  void selectAll();
  void selectNone();
  void invertSelection();
  void find();
  void setDataFolder();
  void openRecentFolder(const QString& folder);
  QStringList recentFolders() const;
  void help();
  void about();

  // The grid's right button over row `row` (0 the header row, -1 below the last row),
  // over the cell of `column` (-1: the column under the position).
  void rightButton(int row, const QPoint& globalPos, int column = -1);

  // References between tables (MainWindowReferences.cpp).
  // 转到: the record the cell (grid row, column) refers to, in its table,
  // opened as the Select menu opens it; the status line tells when there is none.
  void goToReference(int row, int column);
  // 被引用…: every record of the folder that refers to the grid row's record;
  // the one chosen is gone to as 转到 goes.
  void showReferrers(int row);

  // Commands of the grid itself (MainWindowGrid.cpp).
  void editCurrent();                  // Enter, F2: the editor on the current row
  void popupAtCurrent();               // Menu key, Shift+F10: the context menu at the current row
  void sortByColumn(int column);       // a click on the column's header
  void copySelection(bool headerRow);  // Ctrl+C, Ctrl+Shift+C
  void paste();                        // Ctrl+V: from the current cell, or one value into the selection
  void fillDown();                     // Ctrl+D: each column's top selected cell into those below
  void clearCells();                   // Delete in cell mode: the selected cells to their columns' empty text
  void replace();                      // Ctrl+H: find and replace in one column or all
  void applyFilter();                  // the filter bar's text and column
  void setCellSelection(bool on);      // select blocks of cells instead of rows
  FilterBar* filterBar() const { return filterBar_; }
  QToolBar* toolBar() const { return toolBar_; }
  QLabel* recordCountLabel() const { return recordCount_; }
  const ReferenceNames& references() const { return *references_; }
  QWidget* helpWindow() const { return helpWindow_.data(); }

  // Lb1: the selection counter; Lb2: file name and path labels.
  void updateSelectionLabel();
  void updateFileLabels();

  // Asks 保存 / 不保存 / 取消 when the open table has unsaved changes. True
  // when the command may go on: saved, or the user chose not to save.
  bool settleUnsavedChanges();
  // Reads the open table again, without a question (its changes are given up).
  void readOpenTableAgain();
  // When the open table's file changed on disk since it was read or saved,
  // offers to read it again (the user's changes stay unless they choose so).
  void checkFileOnDisk();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void buildMenus();
  void buildForm();
  void loadOpenTable();  // LoadAll: the load of the table the caption names
  void fillGridHeader();
  void setCaption(const QString& caption);
  void updateTitle();
  void buildUndoActions(QMenu* edit);
  void buildRecentMenu(QMenu* file);
  void fillRecentMenu();
  void switchDataFolder(const QString& folder);
  QString openFilePath() const;
  // Asks before a save over a file another program changed; *overwritten
  // gets the file the save may replace.
  bool confirmOverwrite(FileStamp* overwritten);
  void showEditor(const CatalogueEntry& entry, EditorMode mode);
  void status(const QString& simplified);
  QString text(const QString& simplified) const;

  // References (MainWindowReferences.cpp).
  void buildReferenceCommands();  // 转到 and 被引用… in the Edit and context menus, Ctrl+click
  void updateReferenceCommands();
  // Asks before records that other tables refer to are deleted (grid rows); false: keep them.
  bool confirmReferencedDelete(const std::vector<int>& rows);
  // Opens `table` (settling the open table's changes first) and makes the
  // record current that `rowOf` finds in its grid (0: none; `fresh`: the table
  // was just read, its rows in file order), at `column` (0: its name). False when the
  // table was not opened.
  bool goToRecord(const TableDef& table, const std::function<int(bool fresh)>& rowOf, int column);
  // What the cell of the reference column names, for the editors' 转到 ("" for nothing).
  QString referenceTarget(int column, const QString& cell) const;
  void followReference(const ReferenceDef& reference, int column, const QString& cell);

  // The grid's tools (MainWindowGrid.cpp).
  void buildGridTools();  // keys, Edit-menu entries, toolbar, filter bar, record count
  void tableShown();      // after a table is opened or reloaded
  void updateCommandStates();
  void updateRecordCount();
  void fitEditedColumns();
  bool showGuide(bool english = false);  // the guide of the interface's script, or the English one
  int keyboardRow() const;               // the row Enter and the Menu key act on; 0 for none
  // The selected cells in view (grid row, column), by row; the current cell when none is selected.
  std::vector<std::pair<int, int>> selectedCells();
  bool wholeRowsSelected();
  // The columns a command of many cells leaves alone: those the cell editor
  // cannot change, and those that identify a record unless `wholeRows`.
  QList<int> keptColumns(bool wholeRows) const;
  QString emptyText(int column) const;  // what a cleared cell of the column holds
  QString columnNames(const QList<int>& columns) const;
  // Makes the edits of the plan one undo step named `caption`; nothing at all
  // when one of them cannot be stored (the reason shown, false returned).
  bool applyAllOrNothing(CellPlan& plan, const QString& caption);
  bool editableTable() const;  // a table is open and its cells may change

  ShellOptions options_;
  QString programFolder_;
  std::unique_ptr<DialogFactory> ownDialogs_;
  UiFront& front_;
  DialogFactory& dialogs_;
  FileStore& store_;
  Script script_ = Script::Simplified;
  int localeId_ = 0;
  LanguageFile texts_;
  QString dataFolder_;

  // The open table: its records (which the grid shows), its file's stamp and
  // the change on disk the user declined, and its save.
  TableDocument document_{store_};
  RecordGrid grid_{document_.records()};  // the grid's model: a view of the document's records
  QWidget* form_ = nullptr;
  GridView* view_ = nullptr;
  QLabel* label1_ = nullptr;
  QLabel* label2_ = nullptr;
  QLabel* label3_ = nullptr;
  QLabel* modifiedMark_ = nullptr;
  QLabel* statusLine_ = nullptr;
  QMenu* contextMenu_ = nullptr;
  ProportionalLayout layout_;

  QToolBar* toolBar_ = nullptr;
  FilterBar* filterBar_ = nullptr;
  QLabel* recordCount_ = nullptr;
  QPointer<QWidget> helpWindow_;
  std::unique_ptr<ReferenceNames> references_;
  std::unique_ptr<FilterIndex> filterIndex_;
  QList<int> editedColumns_;
  CellEditing* cellEditing_ = nullptr;
  QString shownTable_;  // the table the filter bar's columns belong to
  QString caption_;     // the table key (see caption())
  QString baseTitle_;   // the window's own caption, from the language file
  std::unique_ptr<GridUndo> undo_;
  QMenu* recentMenu_ = nullptr;
  bool checkingDisk_ = false;
  QPoint contextCell_;                   // the cell (x: column, y: grid row) the context menu was opened on
  class QTimer* decodeTimer_ = nullptr;  // decodes the open table's records while the program is idle
};

}  // namespace v3
