#pragma once
// The seam every modal box of the terminals goes through, so that tests can answer it.

#include <QMessageBox>
#include <QString>

namespace kx {

struct MessageBoxRequest {
    QString caption;
    QString text;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // Shows a modal box owned by parent (may be null) and returns the button chosen.
    virtual QMessageBox::StandardButton show(QWidget* parent, const MessageBoxRequest& request) = 0;
};

// The real thing: a QMessageBox.
class QtMessageBoxes : public MessageBoxes {
  public:
    QMessageBox::StandardButton show(QWidget* parent, const MessageBoxRequest& request) override;
};

}  // namespace kx
