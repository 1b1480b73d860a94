#include "widgets/Fonts.h"

#include <QApplication>

namespace kx {

namespace {

const QString kSongFamily = QStringLiteral("宋体");

}  // namespace

void InstallSongFont() {
    const QStringList songFaces{QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW"),
                                QStringLiteral("SimSun"), QStringLiteral("NSimSun")};
    QFont::insertSubstitutions(kSongFamily, songFaces);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), songFaces);
    QApplication::setFont(SongFont());
}

QFont SongFont(int pixelSize) {
    QFont font(kSongFamily);
    font.setPixelSize(pixelSize);
    return font;
}

}  // namespace kx
