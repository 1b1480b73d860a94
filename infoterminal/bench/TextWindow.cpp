// The least any window with Chinese text costs: the bare window plus one label in the
// terminals' font, with their fontconfig set-up and the cut of the face with their texts. Printed
// beside the terminal by the start-up benchmark.

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include "widgets/ExitWhenShown.h"
#include "widgets/Fonts.h"
#include "widgets/ProgramFontConfig.h"

int main(int argc, char** argv) {
    kx::UseProgramFontConfig();
    QApplication app(argc, argv);
    kx::InstallSongFont();
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setFixedSize(1028, 734);
    QLabel label(QStringLiteral("会员编号："), &window);
    label.move(314, 151);
    kx::ExitWhenShownIfAsked(window);
    window.show();
    return QApplication::exec();
}
