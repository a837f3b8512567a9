// The fontconfig configuration the program loads before Qt: the one
// fontconfig itself would put in force (the same files, the same fonts),
// FONTCONFIG_FILE honoured, a broken file refused; and the embedded faces
// found by their family.

#include "ui/font_configuration.h"
#include "ui/look.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>
#include <QTemporaryDir>
#include <QtTest>

#include <fontconfig/fontconfig.h>

#include <cstdlib>

namespace {

QStringList configurationFiles(FcConfig* config)
{
    QStringList files;
    FcStrList* list = FcConfigGetConfigFiles(config);
    while (const FcChar8* file = FcStrListNext(list))
        files << QString::fromUtf8(reinterpret_cast<const char*>(file));
    FcStrListDone(list);
    return files;
}

int fontCount(FcConfig* config)
{
    const FcFontSet* fonts = FcConfigGetFonts(config, FcSetSystem);
    return fonts ? fonts->nfont : 0;
}

// The number of glyphs of a face, from its maximum profile table.
int glyphCount(const QRawFont& face)
{
    const QByteArray maxp = face.fontTable("maxp");
    if (maxp.size() < 6)
        return 0;
    return (static_cast<unsigned char>(maxp[4]) << 8) | static_cast<unsigned char>(maxp[5]);
}

} // namespace

class FontConfigurationTest : public QObject {
    Q_OBJECT

private slots:
    void the_configuration_in_force_is_fontconfigs_own()
    {
        qunsetenv("FONTCONFIG_FILE");
        kalventa::ui::loadFontConfiguration();
        FcConfig* own = FcInitLoadConfigAndFonts();
        QVERIFY(own != nullptr);
        QVERIFY(!configurationFiles(own).isEmpty());
        QCOMPARE(configurationFiles(nullptr), configurationFiles(own));
        QCOMPARE(fontCount(nullptr), fontCount(own));
        FcConfigDestroy(own);
    }

    void a_configuration_file_named_in_the_environment_data()
    {
        QTest::addColumn<QByteArray>("rest"); // of the file, after its cache folder
        QTest::addColumn<bool>("read");
        QTest::newRow("well formed") << QByteArray("</fontconfig>\n") << true;
        // Fontconfig itself refuses a broken file and falls back; so does the program.
        QTest::newRow("broken") << QByteArray("<dir>/nowhere\n") << false;
    }

    void a_configuration_file_named_in_the_environment()
    {
        QFETCH(QByteArray, rest);
        QFETCH(bool, read);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString path = folder.filePath(QStringLiteral("fonts.conf"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<?xml version=\"1.0\"?>\n<fontconfig><cachedir>" + folder.path().toUtf8() + "/cache</cachedir>"
                   + rest);
        file.close();
        qunsetenv("FONTCONFIG_FILE");
        kalventa::ui::loadFontConfiguration();
        const QStringList systems = configurationFiles(nullptr);
        qputenv("FONTCONFIG_FILE", path.toUtf8());
        kalventa::ui::loadFontConfiguration();
        qunsetenv("FONTCONFIG_FILE");
        QCOMPARE(configurationFiles(nullptr), read ? QStringList{path} : systems);
        if (read)
            QCOMPARE(fontCount(nullptr), 0);
    }

    // Last, with Qt on the configuration in force: the window's faces come
    // from the program, whatever the system has.
    void the_window_font_is_the_embedded_face()
    {
        qunsetenv("FONTCONFIG_FILE");
        kalventa::ui::loadFontConfiguration();
        int argc = 1;
        char name[] = "font_configuration_test";
        char* argv[] = {name, nullptr};
        QApplication application(argc, argv);
        kalventa::ui::registerWindowFont();
        // The face drawn is the program's own, cut to its characters, not a
        // Liberation Sans of the system: it has the embedded file's glyphs.
        const struct {
            kalventa::ui::FontForm form;
            const char* file;
        } faces[] = {{kalventa::ui::FontForm::Regular8, ":/fonts/LiberationSans-Regular.ttf"},
                     {kalventa::ui::FontForm::Bold10, ":/fonts/LiberationSans-Bold.ttf"}};
        for (const auto& face : faces) {
            const QFont font = kalventa::ui::windowFont(face.form);
            QCOMPARE(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));
            QFile embedded(QString::fromLatin1(face.file));
            QVERIFY(embedded.open(QIODevice::ReadOnly));
            const int embeddedGlyphs = glyphCount(QRawFont(embedded.readAll(), font.pointSizeF()));
            QVERIFY(embeddedGlyphs > 0);
            QCOMPARE(glyphCount(QRawFont::fromFont(font)), embeddedGlyphs);
        }
    }
};

QTEST_APPLESS_MAIN(FontConfigurationTest)
#include "font_configuration_test.moc"
