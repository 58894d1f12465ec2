#pragma once
#include <QHash>
#include <QObject>

#include <memory>
#include <vector>

class QComboBox;
class QWidget;

namespace v3 {

class ControlBinding;

// Which controls of a dialog the user changed since they were filled.
//
// What counts as the user's change: typing, pasting or a fill-in box in a
// text box; a new selection in an index list (keyboard, or mouse while it has
// the focus); an entry picked from the open list of a text list (a mouse click
// or Enter in the list, or Up/Down stepping to an entry while it is closed; not
// text typed into its edit field, not a focus change); a mouse click on a check
// box, or Space on the focused box. Nothing done while the controls are filled
// counts. The mouse wheel changes no control that lacks the keyboard focus
// (and never a text list): it scrolls the dialog instead.
class ChangeTracker : public QObject {
 public:
  // `bindings` stay the dialog's; the wheel scrolls `scrollViewport` where it changes nothing.
  ChangeTracker(const std::vector<std::unique_ptr<ControlBinding>>& bindings, QWidget* scrollViewport, QObject* parent);

  // Watches every control; a fill-in box's copies into its group count as changes of the group.
  void watchAll();

  bool isChanged(int index) const { return changed_[size_t(index)]; }
  // While filling, nothing counts.
  void setFilling(bool filling) { filling_ = filling; }
  bool filling() const { return filling_; }

  // The user changed the control (outside a fill).
  void touch(int index);
  // An entry picked from the list's open list counts as a change of the control.
  void watchPicks(int index, QComboBox* box);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  const std::vector<std::unique_ptr<ControlBinding>>& bindings_;
  QWidget* scrollViewport_;
  std::vector<bool> changed_;
  QHash<QObject*, int> indexOf_;  // a control's widget -> its index
  QHash<QObject*, int> popupOf_;  // a list's popup view and its viewport -> the list's index
  int picking_ = -1;              // the list whose popup is handing over a pick
  bool filling_ = false;
};

}  // namespace v3
