#pragma once
#include <functional>

#include "editors/EditorForm.h"

class QScrollArea;
class QWidget;

namespace v3 {

// Lays an editor's controls out by its sections: each section a grid (in a
// group box when it has a heading) of label, field and unit columns, `perRow`
// to a row or filled by columns; wide controls and boxes of several lines
// take a row of their own, a control may join the place of the one before it.
// `make` makes a control's widget inside the holder it is given. Returns the
// body that holds every section.
QWidget* PlaceForm(const EditorForm& form, const std::function<QWidget*(const ControlDef&, QWidget* holder)>& make);

// The dialog's scrolling frame around the body: as large as its content,
// scrolling only when the screen is too small for it.
QScrollArea* MakeFormArea(QWidget* body, QWidget* parent);

}  // namespace v3
