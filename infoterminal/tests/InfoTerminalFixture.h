#pragma once
// One information terminal window over a fake card layer, a recording message-box seam and a
// program folder of its own, shown and active so that its shortcuts work.

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "FakeCardAccess.h"
#include "FmKxNetInfoTerminalMain.h"
#include "widgets/testing/RecordingMessageBoxes.h"

namespace kx::testing {

class InfoTerminalFixture {
  public:
    InfoTerminalFixture()
        : form(std::make_unique<TKxNetInfoTerminalMainForm>(card, boxes, Folder())) {}

    std::filesystem::path Folder() const { return QFile::encodeName(folder.path()).toStdString(); }

    // Shows the window and waits until it takes the keyboard.
    bool Show() {
        form->show();
        form->activateWindow();
        return QTest::qWaitForWindowActive(form.get());
    }

    template <class W>
    W* Find(const char* name) const {
        return form->findChild<W*>(QLatin1String(name));
    }
    QString Text(const char* edit) const { return Find<QLineEdit>(edit)->text(); }
    QString Caption() const { return Find<QAbstractButton>("fcConnection")->text(); }
    QString Message() const { return Find<QLabel>("lbMessageInfo")->text(); }
    QTimer* Timer() const { return Find<QTimer>("AutoReadTime"); }
    QAction* Action(const char* name) const { return Find<QAction>(name); }
    void Click(const char* button) const { Find<QAbstractButton>(button)->click(); }

    void SetAutoRead(bool on, int seconds) {
        Find<QCheckBox>("chAutoReaderCard")->setChecked(on);
        Find<QSpinBox>("spAutoReadTime")->setValue(seconds);
    }

    QTemporaryDir folder;
    FakeCardAccess card;
    RecordingMessageBoxes boxes;
    std::unique_ptr<TKxNetInfoTerminalMainForm> form;
};

}  // namespace kx::testing
