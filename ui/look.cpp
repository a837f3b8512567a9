#include "ui/look.h"

#include <QApplication>
#include <QFontDatabase>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionComboBox>

namespace kalventa::ui {
namespace {

// The "Windows" style, except that a drop-down list's field shows the white
// ground of a text field, as the platform's lists do; the arrow button keeps
// the standard face.
class WindowStyle final : public QProxyStyle {
public:
    WindowStyle()
        : QProxyStyle(QStyleFactory::create(QStringLiteral("Windows")))
    {
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override
    {
        const auto* list = qstyleoption_cast<const QStyleOptionComboBox*>(option);
        if (control != CC_ComboBox || !list) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        QStyleOptionComboBox field = *list;
        field.palette.setBrush(QPalette::Button, list->palette.base());
        field.subControls &= ~SC_ComboBoxArrow;
        QProxyStyle::drawComplexControl(control, &field, painter, widget);

        QStyleOptionComboBox arrow = *list;
        arrow.subControls &= SC_ComboBoxArrow;
        QProxyStyle::drawComplexControl(control, &arrow, painter, widget);
    }
};

} // namespace

QFont windowFont(FontForm form)
{
    // Asked for by its own name: a request for a face that is missing would
    // first send fontconfig through its whole fallback search.
    QFont font(windowFontFamily);
    const FontShape shape = fontShape(form);
    font.setPointSizeF(shape.points);
    font.setWeight(shape.bold ? QFont::Bold : QFont::Normal);
    font.setUnderline(shape.underlined);
    return font;
}

void registerWindowFont()
{
    static const bool done = [] {
        // Always the embedded files, registered after the system's fonts so that
        // they win over another version of the same family (Debian's older
        // fonts-liberation, say): the same glyphs on every machine.
        QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/LiberationSans-Regular.ttf"));
        QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/LiberationSans-Bold.ttf"));
        return true;
    }();
    (void)done;
}

void useWindowLook()
{
    static const bool done = [] {
        registerWindowFont();
        QApplication::setFont(windowFont(FontForm::Regular8));
        // The application's style rather than each control's: one style
        // object, and Qt's default style is never built. The application owns it.
        QApplication::setStyle(new WindowStyle);
        return true;
    }();
    (void)done;
}

} // namespace kalventa::ui
