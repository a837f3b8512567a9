// A click with 10 MB of text in every field of the rope capacity: each field
// holds ten million characters, zeros before the number, so every one of them
// is read. The labels are checked against the example run before anything is
// timed. Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include "ui/form1.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>

using kalventa::ui::Form1;

namespace {

constexpr qsizetype fieldLength = 10'000'000;

QString padded(const QString& number)
{
    return QString(fieldLength - number.size(), QLatin1Char('0')) + number;
}

} // namespace

class LongFieldsBench : public QObject {
    Q_OBJECT

    std::unique_ptr<Form1> window;

    QString label(const char* name) const { return window->findChild<QLabel*>(QLatin1String(name))->text(); }
    void click() const { window->findChild<QPushButton*>(QStringLiteral("Command3"))->click(); }

private slots:
    void initTestCase()
    {
        window = std::make_unique<Form1>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        for (const auto& [field, number] : {std::pair{"Text4", "400"}, std::pair{"Text5", "800"},
                                            std::pair{"Text6", "15"}, std::pair{"Text7", "5000"}})
            window->findChild<QLineEdit*>(QLatin1String(field))->setText(padded(QLatin1String(number)));
        window->findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(2);
        window->findChild<QComboBox*>(QStringLiteral("Combo2"))->setCurrentIndex(0);
        window->findChild<QRadioButton*>(QStringLiteral("Option5"))->setChecked(true);
    }

    void ten_megabyte_fields_read_whole()
    {
        click();
        QCOMPARE(label("Label18"), QStringLiteral("3"));
        QCOMPARE(label("Label21"), QStringLiteral(" 535"));
        QCOMPARE(label("Label23"), QStringLiteral(" 24"));
        QCOMPARE(label("Label19"), QStringLiteral(" 222.2832"));
        QCOMPARE(label("Label20"), QStringLiteral(" 200.0549"));
    }

    void click_command3_with_ten_megabyte_fields()
    {
        QBENCHMARK {
            click();
        }
    }

    void cleanupTestCase() { window.reset(); }
};

QTEST_MAIN(LongFieldsBench)
#include "long_fields_bench.moc"
