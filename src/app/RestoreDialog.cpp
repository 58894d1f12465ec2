#include "app/RestoreDialog.h"

#include <QHBoxLayout>
#include <algorithm>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/Messages.h"
#include "app/FormTexts.h"
#include "app/Texts.h"
#include "storage/FileStore.h"
#include "text/DiskFile.h"
#include "tools/Diff.h"

namespace v3 {
namespace {

// More lines than a reader goes through; the count of the rest is told.
constexpr int kPreviewLines = 1000;

// A code's trailing zero bytes are no text for a reader.
QString printable(QString cell) { return cell.remove(QChar(u'\0')); }
QString printable(const QStringList& cells) {
  QStringList out;
  for (const QString& c : cells) out << printable(c);
  return out.join(QStringLiteral("，"));
}
QString shown(const QString& cell) { return cell.isEmpty() ? QStringLiteral("“”") : printable(cell); }

}  // namespace

RestoreDialog::RestoreDialog(const TableDef& table, const QString& dataFolder, const LanguageFile& texts, Script script,
                             Script systemScript, FileStore& store, QWidget* owner)
    : QDialog(owner),
      table_(table),
      dataFolder_(dataFolder),
      texts_(texts),
      systemScript_(systemScript),
      script_(script) {
  setObjectName(QStringLiteral("Restore"));
  setWindowTitle(text(QStringLiteral("恢复较早的版本")));
  if (owner) setWindowIcon(owner->windowIcon());
  setModal(true);

  note_ = new QLabel(this);
  note_->setObjectName(QStringLiteral("Note"));
  note_->setWordWrap(true);
  list_ = new QTreeWidget(this);
  list_->setObjectName(QStringLiteral("Versions"));
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setAllColumnsShowFocus(true);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setHeaderLabels(
      {text(QStringLiteral("版本")), text(QStringLiteral("保存时间")), text(QStringLiteral("大小（字节）"))});
  list_->header()->setStretchLastSection(false);
  list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  auto* previewLabel = new QLabel(text(QStringLiteral("恢复后文件的变化（现在的内容 → 所选版本）：")), this);
  previewLabel->setObjectName(QStringLiteral("PreviewLabel"));
  preview_ = new QPlainTextEdit(this);
  preview_->setObjectName(QStringLiteral("Preview"));
  preview_->setReadOnly(true);
  preview_->setLineWrapMode(QPlainTextEdit::NoWrap);
  // Tab leaves the preview; it is there to be read, not typed into.
  preview_->setTabChangesFocus(true);
  previewLabel->setBuddy(preview_);

  restore_ = new QPushButton(text(QStringLiteral("恢复")), this);
  restore_->setObjectName(QStringLiteral("cmdRestore"));
  restore_->setDefault(true);
  cancel_ = new QPushButton(text(QStringLiteral("取消")), this);
  cancel_->setObjectName(QStringLiteral("cmdCancel"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(restore_);
  buttons->addWidget(cancel_);
  auto* all = new QVBoxLayout(this);
  all->addWidget(note_);
  all->addWidget(list_, 2);
  all->addWidget(previewLabel);
  all->addWidget(preview_, 3);
  all->addLayout(buttons);
  resize(720, 520);

  connect(restore_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  // Enter reaches the default button; a double click chooses as well.
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] {
    if (restore_->isEnabled()) accept();
  });
  connect(list_, &QTreeWidget::currentItemChanged, this, &RestoreDialog::showSelected);

  ApplyFormTexts(this, texts_);

  const QString path = DataFilePath(dataFolder_, table_.fileName);
  bool exists = false;
  current_ = store.read(path, &exists, &currentError_);
  QString listError;
  versions_ = BackupVersions(path, &listError);
  for (const BackupVersion& v : versions_) {
    auto* item = new QTreeWidgetItem(list_);
    item->setText(0, QString::number(v.id));
    item->setText(1, v.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    item->setText(2, QString::number(v.size));
    item->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
    item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    item->setData(0, Qt::UserRole, v.id);
  }
  if (!listError.isEmpty())
    note_->setText(text(QStringLiteral("无法读取 %1 的备份历史：%2").arg(table_.fileName, listError)));
  else if (versions_.empty())
    note_->setText(text(QStringLiteral("%1 没有较早的版本。").arg(table_.fileName)));
  else
    note_->setText(
        text(QStringLiteral("%1 有 %2 个较早的版本，最新的在最上面：").arg(table_.fileName).arg(versions_.size())));

  list_->setFocus();
  if (list_->topLevelItemCount() > 0) list_->setCurrentItem(list_->topLevelItem(0));
  showSelected();
}

QString RestoreDialog::text(const QString& simplified) const { return msg::Localised(script_, simplified); }

int RestoreDialog::chosenId() const {
  const QTreeWidgetItem* item = list_->currentItem();
  return item ? item->data(0, Qt::UserRole).toInt() : 0;
}

void RestoreDialog::showSelected() {
  const int id = chosenId();
  const auto v = std::find_if(versions_.begin(), versions_.end(), [id](const BackupVersion& b) { return b.id == id; });
  if (v == versions_.end()) {
    preview_->setPlainText(versions_.empty() ? text(QStringLiteral("没有较早的版本")) : QString());
    restore_->setEnabled(false);
    return;
  }
  if (!shown_.contains(id)) {
    bool readable = false;
    shown_.insert(id, differences(*v, &readable));
    readable_.insert(id, readable);
  }
  preview_->setPlainText(shown_.value(id));
  restore_->setEnabled(readable_.value(id));
}

QString RestoreDialog::differences(const BackupVersion& version, bool* readable) {
  QByteArray bytes;
  QString error;
  *readable = ReadBackupVersion(version, &bytes, &error);
  if (!*readable) return text(QStringLiteral("无法读取版本 %1：%2").arg(version.id).arg(error));
  if (!currentError_.isEmpty())
    return text(QStringLiteral("无法读取现在的 %1：%2").arg(table_.fileName, currentError_));
  if (bytes == current_) return text(QStringLiteral("没有不同：版本 %1 与现在的文件相同。").arg(version.id));

  const TableDifference d = DiffTableBytes(table_, dataFolder_, systemScript_, current_, bytes, texts_);
  if (!d.errorA.isEmpty()) return text(QStringLiteral("无法比较：%1").arg(d.errorA));
  if (d.records.empty()) return text(QStringLiteral("记录没有不同（文件的字节不同，例如未显示的部分）。"));

  QStringList lines;
  int more = 0;
  auto add = [&](const QString& line) {
    if (lines.size() < kPreviewLines)
      lines << line;
    else
      ++more;
  };
  for (const RecordDifference& r : d.records) {
    QString record = text(QStringLiteral("记录 %1").arg(r.key));
    if (r.occurrence > 1) record += text(QStringLiteral("（第 %1 个）").arg(r.occurrence));
    switch (r.kind) {
      case RecordDifference::Added:
        add(text(QStringLiteral("%1：恢复后加回：%2")).arg(record, printable(r.cells)));
        break;
      case RecordDifference::Removed:
        add(text(QStringLiteral("%1：恢复后去掉：%2")).arg(record, printable(r.cells)));
        break;
      case RecordDifference::Changed:
        if (r.outsideFields) add(text(QStringLiteral("%1：各栏以外的字节不同")).arg(record));
        for (const CellChange& c : r.changes)
          add(QStringLiteral("%1：%2：%3 → %4")
                  .arg(record, d.table.columnName(c.column), shown(c.oldText), shown(c.newText)));
        break;
    }
  }
  if (more > 0) lines << text(QStringLiteral("……还有 %1 处不同").arg(more));
  return lines.join(QLatin1Char('\n'));
}

}  // namespace v3
