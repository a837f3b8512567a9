// The window against its description: every control's kind, container, box,
// text, font, colour and alignment; the window itself; the lists, the option
// groups, the Tab order, the initial state and the names a screen reader says.

#include "ui/form1.h"
#include "window_test_support.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QtTest>

#include <memory>

using namespace kalventa::ui::testing;
using kalventa::ui::Form1;

namespace {

enum Weight { Regular, Bold, Underlined };
enum Alignment { Left, Centred };

struct Twips {
    int left, top, width, height;
    QRect pixels() const { return {left / 15, top / 15, width / 15, height / 15}; }
};

// The topmost pixel row and the bottom one that hold ink of `label`'s text when
// the same text is set in a box of the same width but unlimited height.
int inkBottom(const QLabel& label)
{
    QLabel tall;
    tall.setFont(label.font());
    tall.setWordWrap(true);
    tall.setAlignment(label.alignment());
    tall.setText(label.text());
    tall.resize(label.width(), label.height() * 4);
    QImage image(tall.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    tall.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != QColor(Qt::white))
                bottom = y;
    return bottom;
}

} // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Form1> window;

private slots:
    void init()
    {
        window = std::make_unique<Form1>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() { window.reset(); }

    void the_window()
    {
        QCOMPARE(window->objectName(), QStringLiteral("Form1"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Кальвента "));
        QCOMPARE(window->size(), QSize(690, 483));
        // No layout: nothing follows the window's size.
        QVERIFY(!window->layout());
        for (const QWidget* child : namedControls(*window))
            QVERIFY2(!child->layout(), qPrintable(child->objectName()));
        const QImage image = renderAlone(*window, true);
        QCOMPARE(image.pixelColor(3, 3), background);
        QCOMPARE(image.pixelColor(689, 482), background);
        const QList<QSize> iconSizes = window->windowIcon().availableSizes();
        for (const int side : {16, 32, 48})
            QVERIFY2(iconSizes.contains(QSize(side, side)), qPrintable(QString::number(side)));
    }

    void resizing_moves_nothing()
    {
        QHash<QString, QRect> before;
        const QList<QWidget*> controls = namedControls(*window);
        QCOMPARE(controls.size(), 54);
        for (const QWidget* child : controls)
            before.insert(child->objectName(), child->geometry());
        for (const QSize size : {QSize(900, 700), QSize(300, 200)}) {
            window->resize(size);
            QTRY_COMPARE(window->size(), size);
            for (const QWidget* child : controls)
                QCOMPARE(child->geometry(), before.value(child->objectName()));
        }
    }

    void controls_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QRect>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<qreal>("points");
        QTest::addColumn<int>("weight");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<QColor>("ink");

        const auto row = [](const char* name, const char* kind, const char* container, Twips box, const char* text,
                            qreal points, Weight weight, Alignment alignment, QColor ink) {
            QTest::newRow(name) << QString::fromUtf8(kind) << QString::fromUtf8(container) << box.pixels()
                                << QString::fromUtf8(text) << points << int(weight) << int(alignment) << ink;
        };
        // One control a row, as the layout reads.
        // clang-format off
    row("Frame1", "QGroupBox", "Form1", {120, 120, 6375, 2895}, "Расчет каната", 9.75, Regular, Left, groupCaption);
    row("Frame3", "QGroupBox", "Form1", {6600, 120, 3615, 2895}, "Допустимые размеры барабана", 9.75, Regular, Left, groupCaption);
    row("Frame4", "QGroupBox", "Form1", {120, 3120, 10095, 3735}, "Расчет канатоёмкости", 9.75, Regular, Left, groupCaption);
    row("Label31", "QLabel", "Form1", {8040, 6960, 2175, 255}, "  Орвинск   V 1.3 ", 8.25, Regular, Left, black);
    row("Label1", "QLabel", "Frame1", {240, 360, 1575, 255}, "Вес груза, кг", 8.25, Bold, Left, black);
    row("Text1", "QLineEdit", "Frame1", {1800, 360, 855, 285}, "", 8.25, Regular, Left, black);
    row("Label5", "QLabel", "Frame1", {3000, 360, 1575, 495}, "Разрывное усилие каната, Н", 8.25, Bold, Centred, black);
    row("Text3", "QLineEdit", "Frame1", {4800, 360, 855, 285}, "", 8.25, Regular, Left, black);
    row("Frame2", "QGroupBox", "Frame1", {240, 720, 2655, 1815}, "Режим работы", 8.25, Bold, Left, black);
    row("Label2", "QLabel", "Frame1", {2880, 960, 1935, 735}, "Минимальное допустимое натяжение каната, Н", 8.25, Underlined, Centred, black);
    row("Label3", "QLabel", "Frame1", {4800, 1080, 1095, 375}, "", 9.75, Regular, Centred, result);
    row("Command1", "QPushButton", "Frame1", {3240, 1800, 2655, 375}, "Расчет", 9.75, Bold, Left, black);
    row("Label6", "QLabel", "Frame1", {3240, 2400, 2655, 375}, "", 9.75, Bold, Centred, verdict);
    row("Option1", "QRadioButton", "Frame2", {240, 360, 1335, 255}, "Легкий (к=5)", 8.25, Regular, Left, black);
    row("Option2", "QRadioButton", "Frame2", {240, 720, 1575, 255}, "Средний (к=5,5)", 8.25, Regular, Left, black);
    row("Option3", "QRadioButton", "Frame2", {240, 1080, 1455, 255}, "Тяжелый (к=6)", 8.25, Regular, Left, black);
    row("Option4", "QRadioButton", "Frame2", {240, 1440, 1575, 255}, "Тяговая (к=4,5)", 8.25, Regular, Left, black);
    row("Label4", "QLabel", "Frame3", {240, 480, 1095, 375}, "Диаметр каната, мм", 8.25, Bold, Centred, black);
    row("Text2", "QLineEdit", "Frame3", {1440, 480, 855, 285}, "", 8.25, Regular, Left, black);
    row("Label7", "QLabel", "Frame3", {240, 960, 1815, 495}, "Минимальный диаметр барабана, мм", 8.25, Underlined, Centred, black);
    row("Label8", "QLabel", "Frame3", {2280, 960, 975, 375}, "", 9.75, Regular, Centred, result);
    row("Label9", "QLabel", "Frame3", {240, 1440, 1815, 495}, "Максимальная длина барабана, мм", 8.25, Underlined, Centred, black);
    row("Label10", "QLabel", "Frame3", {2280, 1440, 975, 375}, "", 9.75, Regular, Centred, result);
    row("Command2", "QPushButton", "Frame3", {480, 2040, 2775, 375}, "Расчёт", 9.75, Bold, Left, black);
    row("Picture1", "QFrame", "Frame4", {240, 360, 4815, 3255}, "", 8.25, Regular, Left, black);
    row("Label13", "QLabel", "Frame4", {5160, 360, 1215, 495}, "Диаметр каната d, мм *", 8.25, Bold, Centred, black);
    row("Frame5", "QGroupBox", "Frame4", {7680, 360, 2175, 975}, "Размер Y (см. черт.)", 8.25, Bold, Left, black);
    row("Text6", "QLineEdit", "Frame4", {6480, 480, 735, 285}, "", 8.25, Regular, Left, black);
    row("Label14", "QLabel", "Frame4", {5160, 960, 1215, 375}, "Кол-во слоёв каната, мм *", 8.25, Bold, Centred, black);
    row("Combo1", "QComboBox", "Frame4", {6480, 960, 735, 315}, "", 8.25, Regular, Left, black);
    row("Text7", "QLineEdit", "Frame4", {6480, 1440, 735, 285}, "", 8.25, Regular, Left, black);
    row("Label17", "QLabel", "Frame4", {7560, 1440, 2415, 495}, "Канатоёмкость без учёта неравномерности укладки, м", 8.25, Underlined, Centred, black);
    row("Label28", "QLabel", "Frame4", {5040, 1560, 1455, 375}, "Вес груза, кг ", 8.25, Bold, Centred, black);
    row("Label11", "QLabel", "Frame4", {5160, 2040, 1095, 375}, "Материал барабана", 8.25, Bold, Centred, black);
    row("Combo2", "QComboBox", "Frame4", {6240, 2040, 1935, 315}, "", 8.25, Regular, Left, black);
    row("Label19", "QLabel", "Frame4", {8640, 2040, 1215, 375}, "", 9.75, Regular, Centred, result);
    row("Command3", "QPushButton", "Frame4", {6120, 2640, 2895, 375}, "Расчёт", 9.75, Bold, Left, black);
    row("Label26", "QLabel", "Frame4", {5040, 3240, 4935, 255}, "* Ввод данных для определения канатоёмкости", 8.25, Regular, Centred, black);
    row("Option5", "QRadioButton", "Frame5", {240, 240, 855, 255}, "1,5d", 8.25, Regular, Left, black);
    row("Option6", "QRadioButton", "Frame5", {240, 600, 855, 255}, "2d", 8.25, Regular, Left, black);
    row("Label15", "QLabel", "Picture1", {0, 120, 855, 375}, "Слои", 9.75, Bold, Centred, black);
    row("Label18", "QLabel", "Picture1", {840, 120, 615, 255}, "", 9.75, Regular, Centred, result);
    row("Label12", "QLabel", "Picture1", {3240, 240, 495, 255}, "", 8.25, Regular, Centred, result);
    row("Label24", "QLabel", "Picture1", {0, 480, 975, 255}, "Витки", 9.75, Bold, Centred, black);
    row("Label16", "QLabel", "Picture1", {840, 480, 495, 255}, "", 8.25, Regular, Centred, result);
    row("Label30", "QLabel", "Picture1", {1560, 480, 135, 255}, "Y", 8.25, Regular, Left, black);
    row("Label23", "QLabel", "Picture1", {2160, 480, 495, 255}, "", 8.25, Regular, Left, result);
    row("Label25", "QLabel", "Picture1", {840, 960, 135, 135}, "*", 8.25, Bold, Left, black);
    row("Label21", "QLabel", "Picture1", {3840, 960, 735, 255}, "", 9.75, Regular, Centred, result);
    row("Text4", "QLineEdit", "Picture1", {240, 1080, 615, 285}, "", 8.25, Regular, Left, black);
    row("Label29", "QLabel", "Picture1", {2640, 2040, 135, 135}, "*", 8.25, Bold, Centred, black);
    row("Text5", "QLineEdit", "Picture1", {2040, 2160, 615, 285}, "", 8.25, Regular, Left, black);
    row("Label27", "QLabel", "Picture1", {120, 2760, 2175, 375}, "Канатоёмкость, м", 9.75, Bold, Centred, black);
    row("Label20", "QLabel", "Picture1", {2400, 2760, 975, 255}, "", 9.75, Regular, Left, result);
        // clang-format on
    }

    void controls()
    {
        QFETCH(QString, kind);
        QFETCH(QString, container);
        QFETCH(QRect, box);
        QFETCH(QString, text);
        QFETCH(qreal, points);
        QFETCH(int, weight);
        QFETCH(int, alignment);
        QFETCH(QColor, ink);

        QWidget& widget = control(*window, QString::fromUtf8(QTest::currentDataTag()));
        QVERIFY2(widget.inherits(qPrintable(kind)), widget.metaObject()->className());
        QCOMPARE(widget.parentWidget()->objectName(), container);

        // On the sketch, boxes count from the corner inside its two-pixel border.
        const auto* sketch = qobject_cast<const QFrame*>(widget.parentWidget());
        if (container == QLatin1String("Picture1")) {
            QCOMPARE(sketch->contentsRect().topLeft(), QPoint(2, 2));
            box.translate(2, 2);
        }
        QCOMPARE(widget.geometry(), box);

        const QFont font = widget.font();
        QCOMPARE(font.pointSizeF(), points);
        QCOMPARE(font.bold(), weight == Bold);
        QCOMPARE(font.underline(), weight == Underlined);
        const QFontInfo shown(font);
        QCOMPARE(shown.family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(shown.pixelSize(), points > 9 ? 13 : 11);

        if (auto* label = qobject_cast<QLabel*>(&widget)) {
            QCOMPARE(label->text(), text);
            QCOMPARE(label->textFormat(), Qt::PlainText);
            QVERIFY(label->wordWrap());
            QCOMPARE(label->alignment(), Qt::AlignTop | (alignment == Centred ? Qt::AlignHCenter : Qt::AlignLeft));
            QCOMPARE(label->palette().color(QPalette::WindowText), ink);
            QVERIFY(label->autoFillBackground());
            QCOMPARE(renderAlone(widget, false).pixelColor(widget.width() - 1, widget.height() - 1), background);
            if (!text.isEmpty()) {
                // Every caption is readable inside its box, with its own ink.
                QVERIFY2(inkBottom(*label) < label->height(), "the text runs out of its box");
                QVERIFY(countInk(renderAlone(widget, false), widget.rect(), ink) > 0);
            }
        } else if (auto* group = qobject_cast<QGroupBox*>(&widget)) {
            QCOMPARE(group->title(), text);
            const QFontMetrics metrics(font);
            QVERIFY(metrics.horizontalAdvance(text) + 16 < group->width());
            // The caption alone carries the caption colour; the group's
            // contents are black (or green or red for results on the sketch).
            const QImage image = renderAlone(widget, true);
            const QRect captionBand(0, 0, metrics.horizontalAdvance(text) + 16, metrics.height());
            QVERIFY(countInk(image, captionBand, ink) > 0);
            if (ink != black)
                QCOMPARE(countPixels(image, image.rect(), ink), countPixels(image, captionBand, ink));
            QCOMPARE(image.pixelColor(group->width() - 5, group->height() - 5), background);
        } else if (auto* option = qobject_cast<QRadioButton*>(&widget)) {
            QCOMPARE(option->text(), text);
            const int indicator = option->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, option)
                + option->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, option);
            QVERIFY(indicator + QFontMetrics(font).horizontalAdvance(text) <= option->width());
            const QImage image = renderAlone(widget, false);
            QVERIFY(countInk(image, image.rect(), ink) > 0);
            QCOMPARE(image.pixelColor(option->width() - 1, option->height() - 1), background);
        } else if (auto* button = qobject_cast<QPushButton*>(&widget)) {
            QCOMPARE(button->text(), text);
            QVERIFY(QFontMetrics(font).horizontalAdvance(text) + 8 < button->width());
            const QImage image = renderAlone(widget, false);
            QCOMPARE(image.pixelColor(4, button->height() / 2), buttonFace);
            QCOMPARE(image.pixelColor(button->width() - 5, 4), buttonFace);
            QVERIFY(countPixels(image, image.rect(), black) > 0);
        } else if (auto* field = qobject_cast<QLineEdit*>(&widget)) {
            QVERIFY(text.isEmpty());
            QVERIFY(field->text().isEmpty());
            QCOMPARE(field->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
            QCOMPARE(renderAlone(widget, false).pixelColor(field->width() / 2, field->height() / 2), QColor(Qt::white));
        } else if (auto* list = qobject_cast<QComboBox*>(&widget)) {
            QVERIFY(!list->isEditable());
            QCOMPARE(list->currentIndex(), -1);
            QVERIFY(list->currentText().isEmpty());
            QCOMPARE(renderAlone(widget, false).pixelColor(list->width() / 4, list->height() / 2), QColor(Qt::white));
        }
    }

    // Fields, lists, buttons, group boxes and the sketch lie above the labels
    // of their container; on the sketch the turns per layer lie above "Витки".
    void stacking()
    {
        for (QWidget* container : window->findChildren<QWidget*>()) {
            const QList<QWidget*> siblings = container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
            qsizetype topLabel = -1;
            qsizetype bottomOther = siblings.size();
            for (qsizetype i = 0; i < siblings.size(); ++i) {
                if (qobject_cast<QLabel*>(siblings[i]))
                    topLabel = i;
                else
                    bottomOther = std::min(bottomOther, i);
            }
            QVERIFY2(topLabel < bottomOther, qPrintable(container->objectName()));
        }
        QWidget& sketch = control(*window, QStringLiteral("Picture1"));
        const QRect overlap = control(*window, QStringLiteral("Label24"))
                                  .geometry()
                                  .intersected(control(*window, QStringLiteral("Label16")).geometry());
        QCOMPARE(overlap.width(), 9);
        QCOMPARE(sketch.childAt(overlap.center()), &control(*window, QStringLiteral("Label16")));
    }

    void initial_state()
    {
        for (const QLineEdit* field : window->findChildren<QLineEdit*>())
            QVERIFY2(field->text().isEmpty(), qPrintable(field->objectName()));
        for (const QRadioButton* option : window->findChildren<QRadioButton*>())
            QVERIFY2(!option->isChecked(), qPrintable(option->objectName()));
        for (const QComboBox* list : window->findChildren<QComboBox*>())
            QCOMPARE(list->currentIndex(), -1);
        for (const char* name : {"Label3", "Label6", "Label8", "Label10", "Label12", "Label16", "Label18", "Label19",
                                 "Label20", "Label21", "Label23"})
            QVERIFY2(control<QLabel>(*window, QString::fromLatin1(name)).text().isEmpty(), name);
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(QApplication::focusWidget(), &control(*window, QStringLiteral("Text1")));
    }

    // Tab visits every control that takes the focus, in this order, and from
    // the last one goes round to the first; Shift+Tab goes back. An option
    // group is one Tab stop, as is Qt's standard: Tab enters it at its first
    // option and leaves it with the next (the arrow keys move within it).
    void tab_order()
    {
        const QStringList order{"Text1",   "Option1",  "Text3",    "Command1", "Command2", "Text2", "Text6", "Combo1",
                                "Option5", "Command3", "Picture1", "Text7",    "Combo2",   "Text4", "Text5", "Text1"};
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (qsizetype i = 1; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, order);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Text5"));
    }

    // Choosing an option turns the others of its group off, and only those.
    void option_groups()
    {
        const auto choose = [this](const char* name) {
            QTest::mouseClick(&control(*window, QString::fromLatin1(name)), Qt::LeftButton);
        };
        const auto on = [this] {
            QStringList checked;
            for (const QRadioButton* option : window->findChildren<QRadioButton*>())
                if (option->isChecked())
                    checked << option->objectName();
            return checked;
        };
        choose("Option2");
        QCOMPARE(on(), QStringList{"Option2"});
        choose("Option6");
        QCOMPARE(on(), (QStringList{"Option2", "Option6"}));
        choose("Option4");
        QCOMPARE(on(), (QStringList{"Option4", "Option6"}));
        choose("Option5");
        QCOMPARE(on(), (QStringList{"Option4", "Option5"}));
        choose("Option5"); // a second click leaves it on
        QCOMPARE(on(), (QStringList{"Option4", "Option5"}));
    }

    void list_items()
    {
        const auto items = [this](const char* name) {
            const auto& list = control<QComboBox>(*window, QString::fromLatin1(name));
            QStringList texts;
            for (int i = 0; i < list.count(); ++i)
                texts << list.itemText(i);
            return texts;
        };
        QCOMPARE(items("Combo1"), (QStringList{"1", "2", "3", "4", "5", "6"}));
        QCOMPARE(items("Combo2"), (QStringList{"Сталь. сварн.(1400 кг/см2)", "Чугунный(1000 кг/см2)"}));
    }

    // A screen reader sees neither object names nor the captions beside the
    // controls: each input and result says what it is, each result that it has
    // none yet; the containers and the sketch say what they hold.
    void spoken_names_data()
    {
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("spoken");
        QTest::addColumn<QString>("description");
        const auto row
            = [](const char* name, QAccessible::Role role, const char* spoken, const char* description = "") {
                  QTest::newRow(name) << int(role) << QString::fromUtf8(spoken) << QString::fromUtf8(description);
              };
        using enum QAccessible::Role;
        row("Form1", Window, "Кальвента ");
        row("Text1", EditableText, "Вес груза, кг, для расчёта каната");
        row("Text3", EditableText, "Разрывное усилие каната, Н");
        row("Label3", StaticText, "Минимальное допустимое натяжение каната: нет результата",
            "Sмин = Q · k · 10 — минимальное допустимое натяжение каната, Н");
        row("Label6", StaticText, "Заключение о канате: нет результата",
            "Канат не допустим, если Fр < Sмин: разрывное усилие каната меньше минимального допустимого натяжения");
        row("Text2", EditableText, "Диаметр каната, мм");
        row("Label8", StaticText, "Минимальный диаметр барабана: нет результата",
            "Dмин = 19 · d — минимальный диаметр барабана, мм");
        row("Label10", StaticText, "Максимальная длина барабана: нет результата",
            "Lмакс = 3 · Dмин — максимальная длина барабана, мм");
        row("Text6", EditableText, "Диаметр каната d, мм");
        row("Combo1", ComboBox, "Количество слоёв каната", "Ничего не выбрано");
        row("Text7", EditableText, "Вес груза, кг, для расчёта канатоёмкости");
        row("Combo2", ComboBox, "Материал барабана", "Ничего не выбрано");
        row("Label19", StaticText, "Канатоёмкость без учёта неравномерности укладки: нет результата",
            "S = l1 + … + lN — канатоёмкость без учёта неравномерности укладки, м");
        row("Label18", StaticText, "Слоёв каната: нет результата", "N — число слоёв каната");
        row("Label16", StaticText, "Витков в слое: нет результата", "n = ⌊L / d⌋ — число витков в слое");
        row("Label20", StaticText, "Канатоёмкость: нет результата", "Sк = 0.9 · S — канатоёмкость, м");
        row("Text4", EditableText, "Диаметр барабана, мм");
        row("Text5", EditableText, "Длина барабана, мм");
        row("Label12", StaticText, "Остаток длины барабана за последним витком: нет результата",
            "g = L − n · d — остаток длины барабана за последним витком, мм");
        row("Label21", StaticText, "Диаметр реборды: нет результата", "F = PN + d + 2 · d · Y — диаметр реборды, мм");
        row("Label23", StaticText, "Толщина стенки барабана: нет результата",
            "t = ⌈Q / ([σ] · d)⌉ — толщина стенки барабана, мм");
        row("Label2", StaticText, "Минимальное допустимое натяжение каната, Н");
        row("Frame2", Grouping, "Режим работы");
        row("Frame5", Grouping, "Размер Y (см. черт.)");
        row("Command1", Button, "Расчет",
            "Расчёт каната: минимальное допустимое натяжение каната и заключение о канате");
        row("Command2", Button, "Расчёт",
            "Допустимые размеры барабана: минимальный диаметр и максимальная длина барабана");
        row("Command3", Button, "Расчёт",
            "Расчёт канатоёмкости: витки, слои, диаметр реборды, канатоёмкость и толщина стенки барабана");
        row("Picture1", Graphic, "Эскиз барабана",
            "Барабан сбоку: обечайка, две реборды и слой витков каната. На эскизе поля диаметра и длины "
            "барабана и результаты: число слоёв и витков, толщина стенки, диаметр реборды, остаток длины "
            "барабана и канатоёмкость.");
    }

    void spoken_names()
    {
        QFETCH(int, role);
        QFETCH(QString, spoken);
        QFETCH(QString, description);
        const QString name = QString::fromUtf8(QTest::currentDataTag());
        QWidget& widget = name == window->objectName() ? *window : control(*window, name);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&widget);
        QVERIFY(accessible);
        QCOMPARE(int(accessible->role()), role);
        QCOMPARE(accessible->text(QAccessible::Name), spoken);
        QCOMPARE(accessible->text(QAccessible::Description), description);
    }

    // A list keeps its caption as its name whatever is chosen; the chosen item
    // is its value and description, and its tooltip shows it whole where the
    // box cuts it off.
    void list_keeps_its_name_when_an_item_is_chosen()
    {
        auto& list = control<QComboBox>(*window, QStringLiteral("Combo2"));
        list.setCurrentIndex(1);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&list);
        QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("Материал барабана"));
        QCOMPARE(accessible->text(QAccessible::Value), QStringLiteral("Чугунный(1000 кг/см2)"));
        QCOMPARE(accessible->text(QAccessible::Description), QStringLiteral("Выбрано: Чугунный(1000 кг/см2)"));
        QCOMPARE(list.toolTip(), QStringLiteral("Чугунный(1000 кг/см2)"));
        QCOMPARE(accessible->childCount(), 1);
        QCOMPARE(accessible->child(0)->childCount(), 2);

        // Closed, it says so; its Press action, as a screen reader offers it, opens it.
        QVERIFY(accessible->state().collapsed);
        QVERIFY(!accessible->state().expanded);
        QVERIFY(accessible->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(list.view()->isVisible());
        QVERIFY(accessible->state().expanded);
        QVERIFY(!accessible->state().collapsed);
    }

    // Each caption label is tied to what it captions, so a screen reader can
    // go from one to the other.
    void captions_label_their_controls_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("Label1") << "Text1";
        QTest::newRow("Label2") << "Label3";
        QTest::newRow("Label14") << "Combo1";
        QTest::newRow("Label27") << "Label20";
    }

    void captions_label_their_controls()
    {
        QFETCH(QString, control);
        QWidget& labelled = kalventa::ui::testing::control(*window, control);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&labelled);
        const auto labels = accessible->relations(QAccessible::Label);
        QStringList names;
        for (const auto& [label, relation] : labels)
            names << label->object()->objectName();
        QVERIFY2(names.contains(QString::fromUtf8(QTest::currentDataTag())), qPrintable(names.join(u',')));
    }
};

QTEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"
