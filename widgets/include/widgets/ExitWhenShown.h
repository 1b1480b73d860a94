#pragma once
// Start-up measurement hook: with KX_EXIT_WHEN_SHOWN set in the environment, the program prints
// "shown" and quits as soon as its window has first been painted on the screen.

class QWidget;

namespace kx {

void ExitWhenShownIfAsked(QWidget& window);

}  // namespace kx
