#include "app/FilterBar.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "app/Messages.h"

namespace v3 {

FilterBar::FilterBar(Script script, QWidget* parent) : QToolBar(parent) {
  setObjectName(QStringLiteral("FilterBar"));
  setWindowTitle(msg::Localised(script, QStringLiteral("筛选")));
  setMovable(false);
  auto* label = new QLabel(msg::Localised(script, QStringLiteral("筛选：")), this);
  label->setObjectName(QStringLiteral("FilterLabel"));
  label->setContentsMargins(4, 0, 4, 0);
  addWidget(label);
  text_ = new QLineEdit(this);
  text_->setObjectName(QStringLiteral("FilterText"));
  text_->setClearButtonEnabled(true);
  text_->setPlaceholderText(msg::Localised(script, QStringLiteral("只显示含有此文字的记录")));
  text_->setMinimumWidth(260);
  label->setBuddy(text_);
  addWidget(text_);
  auto* in = new QLabel(msg::Localised(script, QStringLiteral(" 范围：")), this);
  addWidget(in);
  columns_ = new QComboBox(this);
  columns_->setObjectName(QStringLiteral("FilterColumn"));
  columns_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  allColumns_ = msg::Localised(script, QStringLiteral("所有列"));
  columns_->addItem(allColumns_, 0);
  in->setBuddy(columns_);
  addWidget(columns_);
  connect(text_, &QLineEdit::textChanged, this, &FilterBar::filterChanged);
  connect(columns_, &QComboBox::currentIndexChanged, this, &FilterBar::filterChanged);
}

void FilterBar::setColumns(const QStringList& headerTexts, const QList<int>& hiddenColumns) {
  const QSignalBlocker block(columns_);
  columns_->clear();
  columns_->addItem(allColumns_, 0);
  for (int c = 1; c <= headerTexts.size(); ++c) {
    if (hiddenColumns.contains(c)) continue;
    const QString name = headerTexts[c - 1].isEmpty() ? QString::number(c) : headerTexts[c - 1];
    columns_->addItem(name, c);
  }
  columns_->setCurrentIndex(0);
}

int FilterBar::column() const { return columns_->currentData().toInt(); }

QString FilterBar::text() const { return text_->text(); }

void FilterBar::clearFilter() {
  const QSignalBlocker block(text_);
  text_->clear();
  const QSignalBlocker blockColumns(columns_);
  columns_->setCurrentIndex(0);
}

}  // namespace v3
