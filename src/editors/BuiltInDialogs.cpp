#include "editors/BuiltInDialogs.h"

#include "editors/Editors.h"
#include "editors/RecordDialog.h"
#include "editors/TableWindows.h"

namespace v3 {
namespace {

// The one place where editor dialogs and standalone table windows are made.
class BuiltInDialogs : public DialogFactory {
 public:
  explicit BuiltInDialogs(QString programFolder) : programFolder_(std::move(programFolder)) {}

  bool hasEditor(const QString& editor) const override { return FindEditorForm(editor) != nullptr; }

  void showEditor(const EditorRequest& request, RecordGrid& grid, QWidget* owner) override {
    const EditorForm* form = FindEditorForm(request.editor);
    if (!form) return;
    EditorEnvironment env;
    env.programFolder = programFolder_;
    if (hasWindow(QStringLiteral("Dif")))
      env.showDifficulty = [this, context = request.context](QWidget* o) {
        showWindow(QStringLiteral("Dif"), context, o);
      };
    RecordDialog dialog(*form, grid, request, env, owner);
    dialog.exec();
  }

  CellEditorDefs cellEditors(const QString& editor, const DialogContext& context) override {
    const EditorForm* form = FindEditorForm(editor);
    if (!form) return {};
    // The dialog as it would open on no record: its lists filled, nothing shown.
    RecordGrid none;
    EditorRequest request;
    request.editor = editor;
    request.context = context;
    EditorEnvironment env;
    env.programFolder = programFolder_;
    RecordDialog dialog(*form, none, request, env, nullptr);
    return dialog.cellEditors();
  }

  bool hasWindow(const QString& window) const override { return FindStandalone(window) != nullptr; }

  void showWindow(const QString& window, const DialogContext& context, QWidget* owner) override {
    TableWindowOptions options;
    options.programFolder = programFolder_;
    options.texts = context.texts;
    options.systemScript = context.systemScript;
    if (std::unique_ptr<TableWindow> w = MakeTableWindow(window, options, owner)) w->exec();
  }

 private:
  QString programFolder_;
};

}  // namespace

std::unique_ptr<DialogFactory> MakeBuiltInDialogs(const QString& programFolder) {
  return std::make_unique<BuiltInDialogs>(programFolder);
}

}  // namespace v3
