#include "widgets/ErrorBox.h"

#include <QGuiApplication>
#include <exception>

namespace kx {

void ShowErrorBox(MessageBoxes& boxes, QWidget* parent, const QString& text) {
    boxes.show(parent, {QGuiApplication::applicationDisplayName(), text, QMessageBox::Ok,
                        QMessageBox::Critical});
}

bool RunReportingErrors(MessageBoxes& boxes, QWidget* parent, const std::function<void()>& work) {
    try {
        work();
        return true;
    } catch (const std::exception& error) {
        ShowErrorBox(boxes, parent, QString::fromUtf8(error.what()));
    } catch (...) {
        ShowErrorBox(boxes, parent, QStringLiteral("Unknown error."));
    }
    return false;
}

}  // namespace kx
