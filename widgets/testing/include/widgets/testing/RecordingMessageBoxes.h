#pragma once
// A message-box seam for tests: records every box and answers from a queue (default: the
// first button offered).

#include <QList>
#include <deque>
#include <functional>

#include "widgets/MessageBoxes.h"

namespace kx::testing {

class RecordingMessageBoxes : public MessageBoxes {
  public:
    struct Shown {
        QWidget* parent = nullptr;
        MessageBoxRequest request;
    };

    QMessageBox::StandardButton show(QWidget* parent, const MessageBoxRequest& request) override {
        shown.append({parent, request});
        if (onShow) {
            onShow(request);
        }
        if (!answers.empty()) {
            const auto answer = answers.front();
            answers.pop_front();
            return answer;
        }
        for (unsigned bit = QMessageBox::FirstButton; bit <= QMessageBox::LastButton; bit <<= 1) {
            if (request.buttons.testFlag(static_cast<QMessageBox::StandardButton>(bit))) {
                return static_cast<QMessageBox::StandardButton>(bit);
            }
        }
        return QMessageBox::NoButton;
    }

    QList<Shown> shown;
    std::deque<QMessageBox::StandardButton> answers;
    // Called while the box is "open": lets a test look at the window at that moment.
    std::function<void(const MessageBoxRequest&)> onShow;
};

}  // namespace kx::testing
