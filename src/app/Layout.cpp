#include "app/Layout.h"

#include <QWidget>

#include <cmath>

namespace v3 {

bool ScaledGeometry(const QRectF& start, bool isGrid, const QSizeF& startSize, const QSizeF& size, double extra,
                    QRectF* out) {
  if (startSize.width() <= 0 || startSize.height() <= 0) return false;
  const double sx = size.width() / startSize.width();
  const double sy = size.height() / startSize.height();
  const double shift = (sy - 1.0) * extra;
  QRectF r;
  if (isGrid) {
    r = QRectF(sx * start.left(), sy * start.top(), sx * start.width(), sy * start.height() + shift);
  } else {
    r = QRectF(sx * start.left(), sy * start.top() + shift, sx * start.width(), start.height());
  }
  if (r.width() < 0 || r.height() < 0) return false;
  *out = r;
  return true;
}

double ExtraShiftPixels(double dotsPerInch) { return 17.0 * dotsPerInch / 1440.0; }

void ProportionalLayout::record(QWidget* container, const QVector<QWidget*>& controls, QWidget* grid, double extra) {
  container_ = container;
  startSize_ = QSizeF(std::round(double(container->width())), std::round(double(container->height())));
  extra_ = extra;
  items_.clear();
  for (QWidget* w : controls) {
    if (!w) continue;
    items_.push_back(Item{w, QRectF(w->geometry()), w == grid});
  }
}

QRectF ProportionalLayout::startGeometry(const QWidget* control) const {
  for (const Item& item : items_)
    if (item.widget == control) return item.start;
  return QRectF();
}

bool ProportionalLayout::isGrid(const QWidget* control) const {
  for (const Item& item : items_)
    if (item.widget == control) return item.isGrid;
  return false;
}

void ProportionalLayout::apply() const {
  if (!container_) return;
  const QSizeF size(container_->size());
  for (const Item& item : items_) {
    if (!item.widget) continue;
    QRectF r;
    if (!ScaledGeometry(item.start, item.isGrid, startSize_, size, extra_, &r)) continue;
    item.widget->setGeometry(r.toRect());
  }
}

}  // namespace v3
