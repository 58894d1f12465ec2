#include "app/ReplaceDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Messages.h"

namespace v3 {

ReplaceDialog::ReplaceDialog(const std::vector<int>& columns, const QStringList& headers, int currentColumn,
                             Script script, QWidget* owner)
    : QDialog(owner), offered_(columns) {
  auto text = [script](const char16_t* simplified) { return msg::Localised(script, QString::fromUtf16(simplified)); };
  setObjectName(QStringLiteral("Replace"));
  setWindowTitle(text(u"替换"));
  if (owner) setWindowIcon(owner->windowIcon());

  find_ = new QLineEdit(this);
  find_->setObjectName(QStringLiteral("FindText"));
  replace_ = new QLineEdit(this);
  replace_->setObjectName(QStringLiteral("ReplaceText"));
  columns_ = new QComboBox(this);
  columns_->setObjectName(QStringLiteral("Column"));
  columns_->setMinimumContentsLength(16);
  columns_->addItem(text(u"所有列"), 0);
  for (size_t i = 0; i < offered_.size(); ++i) {
    const QString header = i < size_t(headers.size()) ? headers[qsizetype(i)] : QString();
    columns_->addItem(header.isEmpty() ? QString::number(offered_[i]) : header, offered_[i]);
    if (offered_[i] == currentColumn) columns_->setCurrentIndex(columns_->count() - 1);
  }

  auto* fields = new QFormLayout;
  fields->addRow(text(u"查找内容(&N)"), find_);
  fields->addRow(text(u"替换为(&P)"), replace_);
  fields->addRow(text(u"范围(&C)"), columns_);

  auto* buttons = new QDialogButtonBox(this);
  replaceAll_ = buttons->addButton(text(u"全部替换(&A)"), QDialogButtonBox::AcceptRole);
  replaceAll_->setObjectName(QStringLiteral("cmdReplaceAll"));
  replaceAll_->setDefault(true);
  QPushButton* cancel = buttons->addButton(text(u"取消"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("cmdExit"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  // Nothing to look for: nothing to replace.
  replaceAll_->setEnabled(false);
  connect(find_, &QLineEdit::textChanged, this, [this](const QString& t) { replaceAll_->setEnabled(!t.isEmpty()); });

  auto* all = new QVBoxLayout(this);
  all->addLayout(fields);
  all->addWidget(buttons);
  find_->setFocus();
}

int ReplaceDialog::column() const { return columns_->currentData().toInt(); }
QString ReplaceDialog::findText() const { return find_->text(); }
QString ReplaceDialog::replacement() const { return replace_->text(); }

}  // namespace v3
