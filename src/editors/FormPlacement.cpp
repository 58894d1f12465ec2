#include "editors/FormPlacement.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace v3 {

namespace {

// The dialog's body scrolls when the screen is too small for it; otherwise it
// opens as large as its content.
class FormArea : public QScrollArea {
 public:
  using QScrollArea::QScrollArea;
  QSize sizeHint() const override {
    QSize s = widget() ? widget()->sizeHint() : QSize(200, 100);
    s += QSize(2 * frameWidth() + verticalScrollBar()->sizeHint().width(), 2 * frameWidth());
    const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect(0, 0, 1280, 800);
    return s.boundedTo(QSize(screen.width() * 9 / 10, screen.height() * 8 / 10));
  }
};

// The places of one section's grid.
class SectionGrid {
 public:
  SectionGrid(QGridLayout* grid, const SectionDef& section) : grid_(grid), section_(section) {
    perRow_ = std::max(1, section.perRow);
    const int places = int(std::count_if(section.controls.begin(), section.controls.end(),
                                         [](const ControlDef& c) { return !c.joinsPrevious; }));
    rows_ = std::max<int>(1, (places + perRow_ - 1) / perRow_);
    // Each pair is a label column, a field column (which takes the width the
    // dialog gains) and a column for a unit after the field.
    for (int p = 0; p < perRow_; ++p) grid->setColumnStretch(p * 3 + 1, 1);
  }

  void place(QWidget* label, QWidget* field, QWidget* unit, bool wide, bool startsRow, bool joins) {
    if (joins && shared_) {
      shared_->insertWidget(shared_->count(), field, 1);
      if (unit) shared_->insertWidget(shared_->count(), unit);
      return;
    }
    shared_ = nullptr;
    const bool byColumn = section_.byColumn;
    wide = wide && !byColumn;
    if ((wide || (startsRow && !byColumn)) && slot_ % perRow_ != 0) slot_ += perRow_ - slot_ % perRow_;
    const int row = byColumn ? slot_ % rows_ : slot_ / perRow_;
    const int col = (byColumn ? slot_ / rows_ : slot_ % perRow_) * 3;
    if (label) grid_->addWidget(label, row, col, (wide ? Qt::AlignTop : Qt::AlignVCenter) | Qt::AlignLeft);
    if (wide) {
      grid_->addWidget(field, row, col + 1, 1, perRow_ * 3 - 1);
      if (field->sizePolicy().verticalPolicy() == QSizePolicy::Expanding) grid_->setRowStretch(row, 1);
    } else if (unit) {
      // The field and the unit after it, and any control that joins them.
      shared_ = new QHBoxLayout;
      shared_->setContentsMargins(0, 0, 0, 0);
      shared_->addWidget(field, 1);
      shared_->addWidget(unit);
      grid_->addLayout(shared_, row, col + 1, 1, 2);
    } else {
      grid_->addWidget(field, row, col + 1, 1, 2);
    }
    slot_ += wide ? perRow_ : 1;
  }

 private:
  QGridLayout* grid_;
  const SectionDef& section_;
  int perRow_ = 1, rows_ = 1, slot_ = 0;
  QHBoxLayout* shared_ = nullptr;  // the place of the last control, when a next one may join it
};

}  // namespace

QWidget* PlaceForm(const EditorForm& form, const std::function<QWidget*(const ControlDef&, QWidget* holder)>& make) {
  auto* body = new QWidget;
  body->setObjectName(QStringLiteral("Body"));
  auto* column = new QVBoxLayout(body);
  column->setContentsMargins(0, 0, 0, 0);
  bool tall = false;  // a section with a box of several lines takes the height the dialog gains
  for (const SectionDef& section : form.sections) {
    QWidget* holder = body;
    auto* grid = new QGridLayout;
    const bool hasTall = std::any_of(section.controls.begin(), section.controls.end(),
                                     [](const ControlDef& c) { return c.kind == ControlKind::MultiText; });
    if (!section.headingName.isEmpty()) {
      auto* box = new QGroupBox(section.heading, body);
      box->setObjectName(section.headingName);
      box->setLayout(grid);
      column->addWidget(box, hasTall ? 1 : 0);
      holder = box;
    } else {
      column->addLayout(grid, hasTall ? 1 : 0);
    }
    tall |= hasTall;
    SectionGrid places(grid, section);
    for (const ControlDef& c : section.controls) {
      QWidget* w = make(c, holder);
      QLabel* label = nullptr;
      if (!c.labelName.isEmpty()) {
        label = new QLabel(c.label, holder);
        label->setObjectName(c.labelName);
        label->setBuddy(w);
      }
      QLabel* unit = nullptr;
      if (!c.unitName.isEmpty()) {
        unit = new QLabel(c.unit, holder);
        unit->setObjectName(c.unitName);
      }
      places.place(label, w, unit, c.wide || c.kind == ControlKind::MultiText, c.startsRow, c.joinsPrevious);
      if (c.hidden) {
        w->hide();
        if (label) label->hide();
        if (unit) unit->hide();
      }
    }
    // A group whose every control is hidden is hidden with its heading.
    if (holder != body && !section.controls.empty() &&
        std::all_of(section.controls.begin(), section.controls.end(), [](const ControlDef& c) { return c.hidden; }))
      holder->hide();
  }
  if (!tall) column->addStretch(1);
  return body;
}

QScrollArea* MakeFormArea(QWidget* body, QWidget* parent) {
  auto* scroll = new FormArea(parent);
  scroll->setObjectName(QStringLiteral("FormArea"));
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  scroll->setWidget(body);
  return scroll;
}

}  // namespace v3
