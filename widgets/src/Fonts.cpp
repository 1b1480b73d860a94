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
    // The Song faces carry no hinting instructions, so hinting them means FreeType's
    // auto-hinter, which at the first text reads outlines scattered over the whole 20 MB
    // collection (3 MB more memory, and time) to measure its blue zones.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void InstallSongFont() {
    QApplication::setFont(SongFont());
}

}  // namespace kx
