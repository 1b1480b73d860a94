#include "widgets/Fonts.h"

#include <QApplication>
#include <QFontDatabase>

#include "widgets/ProgramFolder.h"

namespace kx {

namespace {

const QString kSongFamily = QStringLiteral("宋体");

// The faces "宋体" resolves to, in order of preference.
QStringList& SongFaces() {
    static QStringList faces{QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW"),
                             QStringLiteral("SimSun"), QStringLiteral("NSimSun")};
    return faces;
}

bool SubstituteSongFaces() {
    for (const QString& family : {kSongFamily, QStringLiteral("SimSun")}) {
        QFont::removeSubstitutions(family);
        QFont::insertSubstitutions(family, SongFaces());
    }
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

bool UseSongSubsetIn(const std::filesystem::path& folder) {
    const std::filesystem::path file = folder / kSongSubsetName;
    const int id = QFontDatabase::addApplicationFont(QString::fromStdU16String(file.u16string()));
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) {
        return false;
    }
    if (!SongFaces().contains(families.first())) {
        SongFaces().prepend(families.first());
    }
    SubstituteSongFaces();
    return true;
}

void InstallSongFont() {
    UseSongSubsetIn(ProgramFolder());
    QApplication::setFont(SongFont());
}

}  // namespace kx
