#pragma once
// Errors that end an event: shown in the error box captioned with the program's title
// (QGuiApplication::applicationDisplayName), one OK button.

#include <functional>

#include "widgets/MessageBoxes.h"

namespace kx {

void ShowErrorBox(MessageBoxes& boxes, QWidget* parent, const QString& text);

// Runs work; an exception it throws is shown in the error box. False when one was thrown.
bool RunReportingErrors(MessageBoxes& boxes, QWidget* parent, const std::function<void()>& work);

}  // namespace kx
