#pragma once
#include <QHash>
#include <QPointer>
#include <QRectF>
#include <QSizeF>
#include <QVector>

class QWidget;

namespace v3 {

// Proportional layout of a window's controls: every control keeps its
// start-up geometry scaled by the window's growth. The grid grows by
// (sy - 1) x extra more than in proportion and the other controls move down
// by the same amount. Each layout scales from the recorded start, so
// repeated resizing never drifts.

// Where a control goes for the window's current inner size. Returns false
// when the result cannot be given to a control (a negative width or height,
// as while the window is minimised) or when the start size is empty.
bool ScaledGeometry(const QRectF& start, bool isGrid, const QSizeF& startSize, const QSizeF& size, double extra,
                    QRectF* out);

// The extra shift in pixels: 17 twips (1/1440 inch) at the screen's resolution.
double ExtraShiftPixels(double dotsPerInch);

class ProportionalLayout {
 public:
  // ResizeInit: records the container's inner size and each control's geometry.
  void record(QWidget* container, const QVector<QWidget*>& controls, QWidget* grid, double extra);
  // ResizeForm: lays the controls out for the container's current size.
  void apply() const;
  bool recorded() const { return container_ != nullptr; }
  QSizeF startSize() const { return startSize_; }
  double extra() const { return extra_; }
  // The control's recorded start geometry; an empty rectangle for one not recorded.
  QRectF startGeometry(const QWidget* control) const;
  bool isGrid(const QWidget* control) const;

 private:
  struct Item {
    QPointer<QWidget> widget;
    QRectF start;
    bool isGrid = false;
  };
  QPointer<QWidget> container_;
  QSizeF startSize_;
  double extra_ = 0;
  QVector<Item> items_;
};

}  // namespace v3
