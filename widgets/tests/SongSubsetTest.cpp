// The terminals' texts come from the cut of the Song face built beside the programs; any other
// character, as in a member's name, still comes from the full face.

#include <QFontInfo>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>
#include <QtTest>

#include "widgets/Fonts.h"

namespace {

const QString kSubsetFamily = QStringLiteral("AR PL UMing CN Subset");

// The family of the face that draws each run of text, in no set order, in lower case as the glyph
// cache names them.
QStringList FacesDrawing(const QString& text) {
    QTextLayout layout(text, kx::SongFont());
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QStringList faces;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        faces << run.rawFont().familyName().toLower();
    }
    return faces;
}

}  // namespace

class SongSubsetTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void windowTextsComeFromTheSubset();
    void otherCharactersComeFromTheFullFace();
    void missingSubsetLeavesTheFullFace();
};

void SongSubsetTest::initTestCase() {
    QVERIFY(kx::UseSongSubsetIn(KX_DIST_DIR));
}

void SongSubsetTest::windowTextsComeFromTheSubset() {
    QCOMPARE(QFontInfo(kx::SongFont()).family(), kSubsetFamily);
    // Texts of the windows' sources, with digits and Latin letters.
    const QStringList faces = FacesDrawing(QStringLiteral("会员编号：0012 读卡 Ab"));
    QVERIFY(!faces.isEmpty());
    for (const QString& face : faces) {
        QCOMPARE(face, kSubsetFamily.toLower());
    }
}

void SongSubsetTest::otherCharactersComeFromTheFullFace() {
    QVERIFY(!QRawFont::fromFont(kx::SongFont()).supportsCharacter(U'鑫'));  // in no text of ours
    QStringList faces = FacesDrawing(QStringLiteral("会员鑫"));
    faces.sort();
    QCOMPARE(faces, (QStringList{QStringLiteral("ar pl uming cn"), kSubsetFamily.toLower()}));
}

void SongSubsetTest::missingSubsetLeavesTheFullFace() {
    QVERIFY(!kx::UseSongSubsetIn(QDir::tempPath().toStdString() + "/no-such-folder"));
}

QTEST_MAIN(SongSubsetTest)
#include "SongSubsetTest.moc"
