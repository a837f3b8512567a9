// The drum sketch: its table against the drawing's description, and the
// pixels that Picture1 paints: every line and every circle where the table
// puts it, in its colour, and nothing else; at a device pixel ratio of 2 the
// same drawing, twice as large and still crisp.

#include "ui/form1.h"
#include "window/sketch_table.h"
#include "window_test_support.h"

#include <QFrame>
#include <QHash>
#include <QSet>
#include <QtTest>

#include <cstdlib>
#include <memory>

using namespace kalventa::ui;
using namespace kalventa::ui::testing;

namespace {

QColor colourOf(SketchInk ink)
{
    switch (ink) {
    case SketchInk::Outline: return blue;
    case SketchInk::Dimension: return red;
    case SketchInk::WindowText: return black;
    }
    return {};
}

bool isArrowhead(const SketchLine& line)
{
    return std::abs(line.x2 - line.x1) == 120 && std::abs(line.y2 - line.y1) == 120;
}

// Whether (x, y) lies on the segment of `line` (both in twips).
bool passesThrough(const SketchLine& line, int x, int y)
{
    const long cross = long(line.x2 - line.x1) * (y - line.y1) - long(line.y2 - line.y1) * (x - line.x1);
    return cross == 0 && std::min(line.x1, line.x2) <= x && x <= std::max(line.x1, line.x2)
        && std::min(line.y1, line.y2) <= y && y <= std::max(line.y1, line.y2);
}

// What each pixel of the sketch must show, worked out from the table: the
// lines in table order, later ones over earlier ones. A slanted line that is
// neither 45 degrees nor axis-parallel may take either pixel of a column where
// it runs between two; those pixels are `either`. Circles are checked apart.
struct Expected {
    QHash<QPoint, QColor> lines;
    QSet<QPoint> either;
    QList<QRect> circles;

    Expected()
    {
        for (const SketchLine& line : sketchLines()) {
            const int x1 = line.x1 / 15, y1 = line.y1 / 15, x2 = line.x2 / 15, y2 = line.y2 / 15;
            const int steps = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
            for (int i = 0; i <= steps; ++i) {
                const int numeratorX = x1 * steps + (x2 - x1) * i;
                const int numeratorY = y1 * steps + (y2 - y1) * i;
                if (numeratorX % steps == 0 && numeratorY % steps == 0) {
                    lines.insert(QPoint(numeratorX / steps, numeratorY / steps), colourOf(line.ink));
                } else {
                    // Only along y can the line fall between two pixels here.
                    requireWholeColumns(numeratorX % steps == 0);
                    const int x = numeratorX / steps;
                    const int below = int(std::floor(double(numeratorY) / steps));
                    either << QPoint(x, below) << QPoint(x, below + 1);
                }
            }
        }
        for (const SketchCircle& circle : sketchCircles())
            circles << QRect(circle.box.left / 15, circle.box.top / 15, circle.box.width / 15, circle.box.height / 15);
    }

    static void requireWholeColumns(bool condition)
    {
        if (!condition)
            throw std::runtime_error("a slanted line of an unexpected slope");
    }

    bool inCircle(QPoint pixel) const
    {
        return std::any_of(circles.begin(), circles.end(), [&](const QRect& box) { return box.contains(pixel); });
    }
};

} // namespace

class DrumSketchTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Form1> window;
    QFrame* sketch = nullptr;

    // The sketch alone, without the fields and labels on it, from the corner
    // inside its border.
    QImage drawing(qreal devicePixelRatio) const
    {
        const QImage whole = renderAlone(*sketch, false, devicePixelRatio);
        const QRect inside = sketch->contentsRect();
        return whole.copy(QRect(inside.topLeft() * devicePixelRatio, inside.size() * devicePixelRatio));
    }

private slots:
    void initTestCase()
    {
        window = std::make_unique<Form1>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        sketch = &control<QFrame>(*window, QStringLiteral("Picture1"));
    }
    void cleanupTestCase() { window.reset(); }

    // The table against the drawing's description: names, colours, the grid
    // of 120 twips, the bounds, the row of turns, the arrowheads on their
    // dimension lines.
    void table()
    {
        const auto lines = sketchLines();
        QCOMPARE(lines.size(), 56u);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const SketchLine& line = lines[i];
            const int number = int(i) + 1;
            QCOMPARE(QString::fromUtf8(line.name.data(), qsizetype(line.name.size())),
                     QStringLiteral("Line%1").arg(number));
            const SketchInk ink = number == 10 ? SketchInk::WindowText
                : number <= 11                 ? SketchInk::Outline
                                               : SketchInk::Dimension;
            QCOMPARE(line.ink, ink);
            for (const int x : {line.x1, line.x2}) {
                QCOMPARE(x % 120, 0);
                QVERIFY(120 <= x && x <= 4560);
            }
            for (const int y : {line.y1, line.y2}) {
                QCOMPARE(y % 120, 0);
                QVERIFY(480 <= y && y <= 2640);
            }
        }

        const auto circles = sketchCircles();
        QCOMPARE(circles.size(), 12u);
        for (std::size_t k = 0; k < circles.size(); ++k) {
            QCOMPARE(circles[k].box.left, 1560 + 120 * int(k));
            QCOMPARE(circles[k].box.top, 960);
            QCOMPARE(circles[k].box.width, 135);
            QCOMPARE(circles[k].box.height, 135);
        }

        // Twelve arrowheads of two strokes each, the strokes mirrored about
        // the tip they share, each tip on a red line that is not an arrowhead.
        QHash<QPoint, QList<SketchLine>> byTip;
        for (const SketchLine& line : lines)
            if (isArrowhead(line))
                byTip[QPoint(line.x1, line.y1)] << line;
        QCOMPARE(byTip.size(), 12);
        for (auto it = byTip.cbegin(); it != byTip.cend(); ++it) {
            QCOMPARE(it.value().size(), 2);
            const SketchLine& a = it.value()[0];
            const SketchLine& b = it.value()[1];
            const bool mirrored = (a.x2 == b.x2) != (a.y2 == b.y2);
            QVERIFY2(mirrored, a.name.data());
            const bool onDimension = std::any_of(lines.begin(), lines.end(), [&](const SketchLine& line) {
                return !isArrowhead(line) && line.ink == SketchInk::Dimension && passesThrough(line, a.x1, a.y1);
            });
            QVERIFY2(onDimension, a.name.data());
        }
    }

    void pixels()
    {
        const Expected expected;
        const QImage image = drawing(1.0);
        QCOMPARE(image.size(), QSize(317, 213));

        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QPoint pixel(x, y);
                const QColor shown = image.pixelColor(pixel);
                const auto line = expected.lines.constFind(pixel);
                const QString where = QStringLiteral("pixel %1,%2").arg(x).arg(y);
                if (expected.inCircle(pixel)) {
                    const bool allowed
                        = shown == black || shown == background || (line != expected.lines.cend() && shown == *line);
                    QVERIFY2(allowed, qPrintable(where));
                } else if (expected.either.contains(pixel)) {
                    QVERIFY2(shown == red || shown == background, qPrintable(where));
                } else if (line != expected.lines.cend()) {
                    QVERIFY2(shown == *line, qPrintable(where));
                } else {
                    QVERIFY2(shown == background, qPrintable(where));
                }
            }
        }

        // The slanted leader runs on: one of the two pixels in each column.
        for (const QPoint& pixel : expected.either) {
            const QPoint other
                = expected.either.contains(pixel + QPoint(0, 1)) ? pixel + QPoint(0, 1) : pixel - QPoint(0, 1);
            QVERIFY(image.pixelColor(pixel) == red || image.pixelColor(other) == red);
        }

        // Each turn: a closed ring touching its box's four sides, not filled.
        for (const QRect& box : expected.circles) {
            const QPoint centre = box.center();
            for (const QPoint edge : {QPoint(box.left(), centre.y()), QPoint(box.right(), centre.y()),
                                      QPoint(centre.x(), box.top()), QPoint(centre.x(), box.bottom())})
                QCOMPARE(image.pixelColor(edge), black);
            QVERIFY(countPixels(image, box, black) >= 16);
            QCOMPARE(countPixels(image, QRect(centre - QPoint(1, 1), QSize(3, 3)), black), 0);
        }
    }

    // At a device pixel ratio of 2 the drawing is twice as large and still
    // crisp: only the drawing's own colours, never a blend, and every pixel
    // of a line or of the ground becomes a block of two by two in the same
    // colour (the circles are drawn anew on the finer grid).
    void twice_the_device_pixels()
    {
        const Expected expected;
        const QImage single = drawing(1.0);
        const QImage twice = drawing(2.0);
        QCOMPARE(twice.size(), single.size() * 2);
        for (int y = 0; y < twice.height(); ++y) {
            for (int x = 0; x < twice.width(); ++x) {
                const QColor shown = twice.pixelColor(x, y);
                QVERIFY2(shown == background || shown == red || shown == blue || shown == black,
                         qPrintable(QStringLiteral("device pixel %1,%2").arg(x).arg(y)));
            }
        }
        for (int y = 0; y < single.height(); ++y) {
            for (int x = 0; x < single.width(); ++x) {
                const QPoint pixel(x, y);
                if (expected.inCircle(pixel) || expected.either.contains(pixel))
                    continue;
                for (const QPoint device : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)})
                    QVERIFY2(twice.pixelColor(pixel * 2 + device) == single.pixelColor(pixel),
                             qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            }
        }
    }
};

QTEST_MAIN(DrumSketchTest)
#include "drum_sketch_test.moc"
