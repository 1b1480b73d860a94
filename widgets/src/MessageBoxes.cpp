#include "widgets/MessageBoxes.h"

namespace kx {

QMessageBox::StandardButton QtMessageBoxes::show(QWidget* parent,
                                                 const MessageBoxRequest& request) {
    QMessageBox box(request.icon, request.caption, request.text, request.buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace kx
