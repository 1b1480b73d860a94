#pragma once
// Binds a button to an action: a click triggers the action, and the button is enabled exactly
// while the action is. (A disabled QAction also ignores its shortcut.)

class QAbstractButton;
class QAction;

namespace kx {

void BindButtonToAction(QAbstractButton* button, QAction* action);

}  // namespace kx
