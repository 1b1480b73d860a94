#include "widgets/ActionButton.h"

#include <QAbstractButton>
#include <QAction>

namespace kx {

void BindButtonToAction(QAbstractButton* button, QAction* action) {
    button->setEnabled(action->isEnabled());
    QObject::connect(action, &QAction::enabledChanged, button, &QWidget::setEnabled);
    QObject::connect(button, &QAbstractButton::clicked, action, [action] { action->trigger(); });
}

}  // namespace kx
