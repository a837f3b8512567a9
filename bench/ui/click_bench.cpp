// Click to labels: the time from a click on Command3 with six rope layers to
// the result labels holding their new texts, and to those labels painted.
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.
// The label texts are checked before anything is timed; every timed round
// first empties the labels, so that each click really writes all of them.
// fill_and_empty_result_labels bounds what that emptying adds: it writes the
// seven texts and empties the labels again, without a click.
//
// Instruction counts instead of time: click_bench -callgrind (under valgrind).

#include "paint_counter.h"
#include "ui/form1.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <array>
#include <memory>

using kalventa::ui::Form1;

using kalventa::bench::PaintCounter;

namespace {

struct Expected {
    const char* label;
    const char* text;
};

// Drum diameter 500 mm, drum length 1000 mm, no rope diameter typed, load
// 3000 kg, six layers, cast-iron drum, flange margin 2d.
constexpr std::array<Expected, 7> sixLayers{{
    {"Label18", "6"},
    {"Label21", " 516"},
    {"Label16", " 1000"},
    {"Label23", " 300"},
    {"Label12", " 0"},
    {"Label19", " 9537.867"},
    {"Label20", " 8584.08"},
}};

} // namespace

class ClickBench final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void command3_six_layers_writes_expected_labels();
    void command3_paints_its_labels();
    void fill_and_empty_result_labels();
    void click_command3_to_label_texts();
    void click_command3_to_painted_labels();
    void cleanupTestCase();

private:
    template <class Widget>
    Widget* control(const char* name) const;
    void emptyResultLabels() const;
    void clickCommand3() const;
    void checkNoModalWindow() const;

    std::unique_ptr<Form1> form_;
    QPushButton* command3_ = nullptr;
    std::array<QLabel*, sixLayers.size()> labels_{};
};

template <class Widget>
Widget* ClickBench::control(const char* name) const
{
    auto* widget = form_->findChild<Widget*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("the window has no control %s of the expected kind", name);
    return widget;
}

void ClickBench::initTestCase()
{
    form_ = std::make_unique<Form1>();
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));

    control<QLineEdit>("Text4")->setText(QStringLiteral("500"));
    control<QLineEdit>("Text5")->setText(QStringLiteral("1000"));
    control<QLineEdit>("Text6")->clear();
    control<QLineEdit>("Text7")->setText(QStringLiteral("3000"));
    control<QComboBox>("Combo1")->setCurrentIndex(5);
    control<QComboBox>("Combo2")->setCurrentIndex(1);
    control<QRadioButton>("Option6")->setChecked(true);
    command3_ = control<QPushButton>("Command3");
    for (std::size_t i = 0; i < sixLayers.size(); ++i)
        labels_[i] = control<QLabel>(sixLayers[i].label);
}

void ClickBench::emptyResultLabels() const
{
    for (QLabel* label : labels_)
        label->clear();
}

void ClickBench::clickCommand3() const
{
    QTest::mouseClick(command3_, Qt::LeftButton);
}

void ClickBench::checkNoModalWindow() const
{
    // An error message box would mean the calculation did not finish.
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void ClickBench::command3_six_layers_writes_expected_labels()
{
    emptyResultLabels();
    clickCommand3();
    checkNoModalWindow();
    for (std::size_t i = 0; i < sixLayers.size(); ++i)
        QCOMPARE(labels_[i]->text(), QString::fromUtf8(sixLayers[i].text));
}

void ClickBench::command3_paints_its_labels()
{
    // What click_command3_to_painted_labels times must include the paint.
    QApplication::processEvents();
    PaintCounter counter;
    labels_.back()->installEventFilter(&counter);
    emptyResultLabels();
    clickCommand3();
    QApplication::processEvents();
    labels_.back()->removeEventFilter(&counter);
    QVERIFY(counter.paints > 0);
}

void ClickBench::fill_and_empty_result_labels()
{
    std::array<QString, sixLayers.size()> texts;
    for (std::size_t i = 0; i < sixLayers.size(); ++i)
        texts[i] = QString::fromUtf8(sixLayers[i].text);
    QBENCHMARK {
        for (std::size_t i = 0; i < labels_.size(); ++i)
            labels_[i]->setText(texts[i]);
        emptyResultLabels();
    }
}

void ClickBench::click_command3_to_label_texts()
{
    QBENCHMARK {
        emptyResultLabels();
        clickCommand3();
    }
    checkNoModalWindow();
    QCOMPARE(labels_.back()->text(), QString::fromUtf8(sixLayers.back().text));
}

void ClickBench::click_command3_to_painted_labels()
{
    QBENCHMARK {
        emptyResultLabels();
        clickCommand3();
        QApplication::processEvents();
    }
    checkNoModalWindow();
    QCOMPARE(labels_.back()->text(), QString::fromUtf8(sixLayers.back().text));
}

void ClickBench::cleanupTestCase()
{
    form_.reset();
}

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ClickBench bench;
    return QTest::qExec(&bench, argc, argv);
}

#include "click_bench.moc"
