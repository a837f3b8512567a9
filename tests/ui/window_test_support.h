#pragma once
// What the window's tests share: finding a control by its name, and the
// colours the window is described with (written out here, not taken from the
// window's own code, so that a wrong colour there shows).

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

#include <cstdlib>
#include <stdexcept>

namespace kalventa::ui::testing {

inline const QColor background{255, 224, 192};
inline const QColor buttonFace{255, 192, 128};
inline const QColor groupCaption{192, 0, 0};
inline const QColor result{0, 128, 0};
inline const QColor verdict{255, 0, 0};
inline const QColor black{0, 0, 0};
inline const QColor blue{0, 0, 255};
inline const QColor red{255, 0, 0};

// The control of that name and kind; a missing one fails the test.
template <class Widget = QWidget>
Widget& control(const QWidget& window, const QString& name)
{
    auto* widget = window.findChild<Widget*>(name);
    if (!widget)
        throw std::runtime_error("no control " + name.toStdString() + " of the expected kind");
    return *widget;
}

// The widget's own pixels at 96 dots per inch, children included or not.
inline QImage renderAlone(QWidget& widget, bool withChildren, qreal devicePixelRatio = 1.0)
{
    QImage image(widget.size() * devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::magenta);
    QWidget::RenderFlags flags = QWidget::DrawWindowBackground;
    if (withChildren)
        flags |= QWidget::DrawChildren;
    widget.render(&image, QPoint(), QRegion(), flags);
    return image;
}

inline int countPixels(const QImage& image, const QRect& area, const QColor& colour)
{
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            count += image.pixelColor(x, y) == colour ? 1 : 0;
    return count;
}

// Pixels of text in `ink`: anti-aliased glyphs of a small regular font have
// few pixels of the exact colour, so the nearest shades count as well.
inline int countInk(const QImage& image, const QRect& area, const QColor& ink)
{
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QColor shown = image.pixelColor(x, y);
            count += std::abs(shown.red() - ink.red()) < 60 && std::abs(shown.green() - ink.green()) < 60
                    && std::abs(shown.blue() - ink.blue()) < 60
                ? 1
                : 0;
        }
    }
    return count;
}

// The window's controls, without the parts that Qt's widgets make for
// themselves (a list's pop-up and the like), which carry no name.
inline QList<QWidget*> namedControls(const QWidget& window)
{
    QList<QWidget*> controls = window.findChildren<QWidget*>();
    controls.removeIf([](const QWidget* widget) {
        return widget->objectName().isEmpty() || widget->objectName().startsWith(QLatin1String("qt_"));
    });
    return controls;
}

} // namespace kalventa::ui::testing
