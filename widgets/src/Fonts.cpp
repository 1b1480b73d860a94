#include "widgets/Fonts.h"

#include <QApplication>

namespace kx {

namespace {

const QString kSongFamily = QStringLiteral("宋体");

bool SubstituteSongFaces() {
    const QStringList songFaces{QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW"),
                                QStringLiteral("SimSun"), QStringLiteral("NSimSun")};
    QFont::insertSubstitutions(kSongFamily, songFaces);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), songFaces);
    return true;
}

}  // namespace

QFont SongFont(int pixelSize) {
    static const bool substituted = SubstituteSongFaces();
    (void)substituted;
    QFont font(kSongFamily);
    font.setPixelSize(pixelSize);
    return font;
}

void InstallSongFont() {
    QApplication::setFont(SongFont());
}

}  // namespace kx
