// The real program on a real X server: kalventa runs as its own process under
// its own Xvfb; xdotool types and clicks with X input events, xwd takes the
// window's picture. A rope check that fails must show the red verdict inside
// Label6's box, and the green tension inside Label3's.

#include <QDate>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <cstdlib>
#include <optional>

namespace {

// A box in twips on the window: the group box's place plus the control's.
QRect onWindow(QPoint groupTwips, QRect controlTwips)
{
    return {controlTwips.topLeft() + groupTwips, controlTwips.size()};
}

QRect inPixels(QRect twips)
{
    return {twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15};
}

const QPoint frame1{120, 120};
const QPoint frame2{120 + 240, 120 + 720};
const QRect text1 = inPixels(onWindow(frame1, {1800, 360, 855, 285}));
const QRect text3 = inPixels(onWindow(frame1, {4800, 360, 855, 285}));
const QRect option1 = inPixels(onWindow(frame2, {240, 360, 1335, 255}));
const QRect command1 = inPixels(onWindow(frame1, {3240, 1800, 2655, 375}));
const QRect label3 = inPixels(onWindow(frame1, {4800, 1080, 1095, 375}));
const QRect label6 = inPixels(onWindow(frame1, {3240, 2400, 2655, 375}));

// An X window dump (xwd's format) of a true-colour window as an image.
QImage fromXwd(const QByteArray& dump)
{
    if (dump.size() < 100)
        return {};
    const auto field = [&](int index) { return qFromBigEndian<quint32>(dump.constData() + 4 * index); };
    const quint32 headerSize = field(0), width = field(4), height = field(5), byteOrder = field(7),
                  bitsPerPixel = field(11), bytesPerLine = field(12), redMask = field(14), greenMask = field(15),
                  blueMask = field(16), colours = field(19);
    const qsizetype start = qsizetype(headerSize) + qsizetype(colours) * 12;
    if (bitsPerPixel != 32 || dump.size() < start + qsizetype(bytesPerLine) * height)
        return {};
    const auto channel
        = [](quint32 pixel, quint32 mask) { return int((pixel & mask) >> qCountTrailingZeroBits(mask)) & 0xff; };
    QImage image(int(width), int(height), QImage::Format_RGB32);
    for (quint32 y = 0; y < height; ++y) {
        for (quint32 x = 0; x < width; ++x) {
            const char* at = dump.constData() + start + y * bytesPerLine + x * 4;
            const quint32 pixel = byteOrder == 0 ? qFromLittleEndian<quint32>(at) : qFromBigEndian<quint32>(at);
            image.setPixel(int(x), int(y),
                           qRgb(channel(pixel, redMask), channel(pixel, greenMask), channel(pixel, blueMask)));
        }
    }
    return image;
}

// Pixels within a few shades of `colour`: text is anti-aliased.
int pixelsOf(const QImage& image, const QRect& box, QRgb colour, int shades = 0)
{
    int count = 0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            if (!image.valid(x, y))
                continue;
            const QRgb pixel = image.pixel(x, y);
            count += std::abs(qRed(pixel) - qRed(colour)) <= shades
                    && std::abs(qGreen(pixel) - qGreen(colour)) <= shades
                    && std::abs(qBlue(pixel) - qBlue(colour)) <= shades
                ? 1
                : 0;
        }
    }
    return count;
}

} // namespace

class RealWindowTest : public QObject {
    Q_OBJECT

    QProcess server;
    QProcess program;
    QTemporaryDir home;                    // the program's home, where its Documents folder is
    QProcessEnvironment environment;       // the program's: the user's own locale
    QProcessEnvironment clientEnvironment; // the X clients': untranslated
    QString windowId;

    // Runs a short X client on the test's display; what it printed, or
    // nothing when it failed.
    std::optional<QByteArray> x(const QString& tool, const QStringList& arguments)
    {
        QProcess client;
        client.setProcessEnvironment(clientEnvironment);
        client.start(tool, arguments);
        if (!client.waitForFinished(10000)) {
            client.kill();
            client.waitForFinished();
            return std::nullopt;
        }
        if (client.exitStatus() != QProcess::NormalExit || client.exitCode() != 0)
            return std::nullopt;
        return client.readAllStandardOutput();
    }

    // The program's window once it shows, empty until then.
    QString shownWindow()
    {
        const auto found = x(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--name", "Кальвента"});
        return QString::fromLatin1(found.value_or(QByteArray()).trimmed());
    }

    QImage screenshot()
    {
        return fromXwd(x(QStringLiteral("xwd"), {"-silent", "-id", windowId}).value_or(QByteArray()));
    }

    // xdotool's input goes to the window under the pointer, as a person's does.
    void clickAt(const QRect& box)
    {
        const QPoint at = box.center();
        QVERIFY(x(QStringLiteral("xdotool"),
                  {"mousemove", "--window", windowId, QString::number(at.x()), QString::number(at.y()), "click", "1"}));
    }

    void typeText(const QString& text) { QVERIFY(x(QStringLiteral("xdotool"), {"type", "--delay", "10", text})); }

private slots:
    void initTestCase()
    {
        // Xvfb picks a free display and tells its number on its output. Its
        // messages go nowhere: a full pipe that nobody reads would stop it.
        server.setStandardErrorFile(QProcess::nullDevice());
        server.start(QStringLiteral("Xvfb"),
                     {"-displayfd", "1", "-screen", "0", "800x600x24", "-nolisten", "tcp", "-noreset"});
        QVERIFY2(server.waitForStarted(5000), "Xvfb is missing (Debian: xvfb)");
        QTRY_VERIFY_WITH_TIMEOUT(server.canReadLine() || server.state() != QProcess::Running, 10000);
        const QByteArray display = server.readLine().trimmed();
        QVERIFY2(!display.isEmpty(), "Xvfb did not start");

        environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":") + QString::fromLatin1(display));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        QVERIFY(home.isValid() && QDir(home.path()).mkpath(QStringLiteral("Documents")));
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
        clientEnvironment = environment;
        clientEnvironment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        // The program is started only once the server answers a client.
        QTRY_VERIFY_WITH_TIMEOUT(x(QStringLiteral("xdotool"), {"getdisplaygeometry"}).has_value(), 10000);

        program.setProcessEnvironment(environment);
        // Its standard error is read when the display goes away.
        program.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        program.start(QStringLiteral(KALVENTA_PROGRAM), {});
        QVERIFY(program.waitForStarted(5000));

        QTRY_VERIFY_WITH_TIMEOUT(program.state() != QProcess::Running || !(windowId = shownWindow()).isEmpty(), 20000);
        QVERIFY2(program.state() == QProcess::Running, "the program ended before it showed its window");
        QVERIFY2(!windowId.contains(QLatin1Char('\n')), "more than one window");
        QTRY_VERIFY_WITH_TIMEOUT(pixelsOf(screenshot(), {2, 2, 4, 4}, qRgb(255, 224, 192)) == 16, 20000);
        QCOMPARE(screenshot().size(), QSize(690, 483));
    }

    void cleanupTestCase()
    {
        program.kill();
        program.waitForFinished();
        server.terminate();
        server.waitForFinished();
    }

    void failing_rope_check_shows_the_red_verdict()
    {
        QCOMPARE(pixelsOf(screenshot(), label6, qRgb(255, 0, 0)), 0);
        QCOMPARE(pixelsOf(screenshot(), label3, qRgb(0, 128, 0), 60), 0);

        clickAt(text1);
        typeText(QStringLiteral("1000"));
        clickAt(option1);
        clickAt(text3);
        typeText(QStringLiteral("49999"));
        clickAt(command1);

        QTRY_VERIFY_WITH_TIMEOUT(pixelsOf(screenshot(), label6, qRgb(255, 0, 0)) > 20, 10000);
        const QImage shown = screenshot();
        QVERIFY(pixelsOf(shown, label3, qRgb(0, 128, 0), 60) > 10);
        // Only the verdict is red in the rope check's group, outside its caption.
        const QRect group = inPixels({120, 120 + 300, 6375, 2895 - 300});
        QCOMPARE(pixelsOf(shown, group, qRgb(255, 0, 0)), pixelsOf(shown, label6, qRgb(255, 0, 0)));
        QCOMPARE(program.state(), QProcess::Running);
    }

    // Ctrl+E opens the save dialog on "Кальвента YYYY-MM-DD.pdf" in the
    // Documents folder; Enter there writes the report as a PDF.
    void control_e_saves_the_report_through_the_file_dialog()
    {
        const QString saved = home.filePath(
            QStringLiteral("Documents/Кальвента %1.pdf").arg(QDate::currentDate().toString(Qt::ISODate)));
        QVERIFY(!QFile::exists(saved));
        QVERIFY(x(QStringLiteral("xdotool"), {"key", "ctrl+e"}));
        QTRY_VERIFY_WITH_TIMEOUT(
            x(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--name", "Сохранить расчётную записку"}), 10000);
        QVERIFY(x(QStringLiteral("xdotool"), {"key", "Return"}));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(saved).size() > 1000, 20000);
        QFile pdf(saved);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QCOMPARE(pdf.read(5), QByteArray("%PDF-"));
        QCOMPARE(program.state(), QProcess::Running);
    }

    // Without a display the program says so in one Russian line and ends with
    // status 1, instead of aborting with a core dump.
    void without_a_display_it_says_so_and_ends_with_one()
    {
        QProcessEnvironment bare = environment;
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            bare.remove(QString::fromLatin1(name));
        QProcess alone;
        alone.setProcessEnvironment(bare);
        alone.start(QStringLiteral(KALVENTA_PROGRAM), {});
        QVERIFY(alone.waitForFinished(20000));
        QCOMPARE(alone.exitStatus(), QProcess::NormalExit);
        QCOMPARE(alone.exitCode(), 1);
        QCOMPARE(QString::fromUtf8(alone.readAllStandardError()),
                 QStringLiteral("kalventa: не удалось открыть дисплей (переменная DISPLAY не задана); окно показать "
                                "негде.\n"));
    }

    // Last: the display going away ends the program with status 1 and says so.
    void losing_the_display_ends_with_one_and_says_so()
    {
        QCOMPARE(program.state(), QProcess::Running);
        server.kill();
        QVERIFY(server.waitForFinished(10000));
        QVERIFY(program.waitForFinished(20000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 1);
        const QString said = QString::fromUtf8(program.readAllStandardError());
        QVERIFY2(said.contains(QStringLiteral("kalventa: связь с дисплеем «%1» прервана; программа закрывается.\n")
                                   .arg(environment.value(QStringLiteral("DISPLAY")))),
                 qPrintable(said));
    }
};

QTEST_GUILESS_MAIN(RealWindowTest)
#include "real_window_test.moc"
