#include "app/ReferrersDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/Messages.h"

namespace v3 {

ReferrersDialog::ReferrersDialog(const QString& what, std::vector<Referrer> referrers,
                                 const std::function<QString(const TableDef&, int column)>& header, Script script,
                                 QWidget* owner)
    : QDialog(owner), referrers_(std::move(referrers)) {
  auto text = [script](const QString& simplified) { return msg::Localised(script, simplified); };
  setObjectName(QStringLiteral("Referrers"));
  setWindowTitle(text(QStringLiteral("被引用")));
  if (owner) setWindowIcon(owner->windowIcon());
  setModal(true);

  auto* note = new QLabel(text(QStringLiteral("引用 %1 的记录（%2 处）：").arg(what).arg(referrers_.size())), this);
  note->setObjectName(QStringLiteral("Note"));
  note->setWordWrap(true);
  list_ = new QTreeWidget(this);
  list_->setObjectName(QStringLiteral("ReferrerList"));
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setAllColumnsShowFocus(true);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setHeaderLabels({text(QStringLiteral("表格")), text(QStringLiteral("序号")), text(QStringLiteral("编号")),
                          text(QStringLiteral("名称")), text(QStringLiteral("栏位"))});
  list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  for (const Referrer& r : referrers_) {
    QString column = header(*r.table, r.column);
    if (column.isEmpty()) column = QString::number(r.column);
    auto* item = new QTreeWidgetItem(list_, {r.table->fileName, QString::number(r.row), r.key, r.name, column});
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
  }
  note->setBuddy(list_);

  go_ = new QPushButton(text(QStringLiteral("转到")), this);
  go_->setObjectName(QStringLiteral("cmdGoTo"));
  go_->setDefault(true);
  auto* close = new QPushButton(text(QStringLiteral("关闭")), this);
  close->setObjectName(QStringLiteral("cmdClose"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(go_);
  buttons->addWidget(close);
  auto* all = new QVBoxLayout(this);
  all->addWidget(note);
  all->addWidget(list_, 1);
  all->addLayout(buttons);

  connect(go_, &QPushButton::clicked, this, [this] {
    if (chosen()) accept();
  });
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  // Double-click or Enter on an entry goes there.
  connect(list_, &QTreeWidget::itemActivated, this, [this] {
    if (chosen()) accept();
  });
  if (list_->topLevelItemCount() > 0) list_->setCurrentItem(list_->topLevelItem(0));
  list_->setFocus();
  resize(std::max(sizeHint().width(), 560), std::max(sizeHint().height(), 320));
}

const Referrer* ReferrersDialog::chosen() const {
  const QTreeWidgetItem* item = list_->currentItem();
  const int i = item ? list_->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)) : -1;
  return i >= 0 && size_t(i) < referrers_.size() ? &referrers_[size_t(i)] : nullptr;
}

}  // namespace v3
