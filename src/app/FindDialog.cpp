#include "app/FindDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/GridView.h"
#include "app/Messages.h"
#include "app/Search.h"
#include "app/FormTexts.h"
#include "app/Texts.h"
#include "app/UiFront.h"
#include "model/RecordGrid.h"
#include "text/Locale.h"

namespace v3 {

FindDialog::FindDialog(RecordGrid& grid, GridView* view, UiFront& front, const LanguageFile& texts, int localeId,
                       QWidget* owner)
    : QDialog(owner), grid_(grid), view_(view), front_(front), localeId_(localeId) {
  setObjectName(QStringLiteral("Find"));
  setWindowTitle(QStringLiteral("查找"));
  if (owner) setWindowIcon(owner->windowIcon());

  label2_ = new QLabel(QStringLiteral("类别"), this);
  label2_->setObjectName(QStringLiteral("Label2"));
  combo1_ = new QComboBox(this);
  combo1_->setObjectName(QStringLiteral("Combo1"));
  combo1_->setMinimumContentsLength(16);
  label1_ = new QLabel(QStringLiteral("查找内容"), this);
  label1_->setObjectName(QStringLiteral("Label1"));
  text1_ = new QLineEdit(this);
  text1_->setObjectName(QStringLiteral("Text1"));
  label2_->setBuddy(combo1_);
  label1_->setBuddy(text1_);

  cmdOK_ = new QPushButton(QStringLiteral("确定"), this);
  cmdOK_->setObjectName(QStringLiteral("cmdOK"));
  cmdOK_->setDefault(true);
  cmdNext_ = new QPushButton(QStringLiteral("查找下一个"), this);
  cmdNext_->setObjectName(QStringLiteral("cmdNext"));
  cmdExit_ = new QPushButton(QStringLiteral("取消"), this);
  cmdExit_->setObjectName(QStringLiteral("cmdExit"));

  auto* fields = new QGridLayout;
  fields->addWidget(label2_, 0, 0);
  fields->addWidget(combo1_, 0, 1);
  fields->addWidget(label1_, 1, 0);
  fields->addWidget(text1_, 1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdOK_);
  buttons->addWidget(cmdNext_);
  buttons->addWidget(cmdExit_);
  auto* all = new QVBoxLayout(this);
  all->addLayout(fields);
  all->addLayout(buttons);

  connect(cmdOK_, &QPushButton::clicked, this, &FindDialog::findFirst);
  connect(cmdNext_, &QPushButton::clicked, this, &FindDialog::findNext);
  connect(cmdExit_, &QPushButton::clicked, this, &QDialog::reject);

  ApplyFormTexts(this, texts);

  // One entry per data column: entry p stands for grid column p + 1. A
  // column without a header text is named by its number, so that every
  // entry can be told apart.
  for (int c = 1; c < grid_.columnCount(); ++c) {
    const QString header = grid_.cell(0, c);
    combo1_->addItem(header.isEmpty() ? QString::number(c) : header);
  }
  if (combo1_->count() > 0) combo1_->setCurrentIndex(0);
  text1_->setFocus();
}

int FindDialog::column() const { return combo1_->currentIndex() + 1; }

void FindDialog::findFirst() { searchFrom(1); }

void FindDialog::findNext() {
  const std::vector<int> selected = grid_.selectedRows();
  searchFrom(selected.empty() ? 1 : selected.front() + 1);
}

void FindDialog::searchFrom(int startRow) {
  const QString needle = SearchTextFor(text1_->text());
  if (needle.isEmpty()) {
    reject();
    return;
  }
  // Records the filter keeps out of view are passed over: find moves among the rows shown.
  int row = FindRow(grid_, column(), needle, startRow);
  while (row > 0 && view_ && !view_->isRowShown(row)) row = FindRow(grid_, column(), needle, row + 1);
  if (row > 0) {
    grid_.setCurrentRow(row);
    if (view_) view_->setTopRow(row);
    return;
  }
  const QString notFound = msg::NotFoundForLocale(localeId_);
  if (!notFound.isEmpty()) front_.message(this, notFound, UiFront::Icon::Information);
  reject();
}

}  // namespace v3
