// Calculation files: what a window holds comes back whole through a file,
// the sample file is the one every edition writes, and a file that cannot be
// taken says why before the window is touched.

#include "core/calculation_file.h"
#include "core/calculation_file_window.h"
#include "core/calculation_table.h"
#include "core/utf8.h"
#include "sample_calculation.h"
#include "table_window.h"

#include <QFile>
#include <QTest>

#include <string>

using namespace kalventa;
using kalventa::testing::TableWindow;

Q_DECLARE_METATYPE(std::string)

namespace {

std::string fileText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

// The sample calculation: all three run, a title, Cyrillic in the title.
TableWindow sampleWindow()
{
    TableWindow window;
    for (const auto& [field, text] : kalventa::testing::sampleTexts)
        window.setText(field, text);
    for (const std::string_view option : kalventa::testing::sampleOptions)
        window.choose(option);
    for (const auto& [list, index] : kalventa::testing::sampleListIndexes)
        window.setListIndex(list, Integer(index));
    for (const CalculationEntry& calculation : calculations())
        calculation.run(window);
    return window;
}

CalculationFile sampleFile()
{
    TableWindow window = sampleWindow();
    const std::vector<CalculationId> ran{CalculationId::RopeCheck, CalculationId::DrumSizeLimits,
                                         CalculationId::RopeCapacity};
    CalculationFile file = captureFile(window, ran, nullptr);
    file.title = {"Кран мостовой 5 т", "КЛВ.001.000 РР", "ООО «Подъём»", "Иванов", "Петров", "", "", true};
    return file;
}

// What a file gives a new window, written again.
std::string reopened(const std::string& text)
{
    const FileReading reading = readCalculationFile(text);
    TableWindow window;
    applyFile(reading.file, window);
    CalculationFile again = captureFile(window, calculationsRun(reading.file), nullptr);
    again.title = reading.file.title;
    again.readFrom = reading.file.readFrom;
    for (const CalculationId id : calculationsRun(reading.file))
        again.of(id).results = reading.file.of(id).results;
    return writeCalculationFile(again);
}

std::string withReplaced(std::string text, std::string_view from, std::string_view to)
{
    const std::size_t at = text.find(from);
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

} // namespace

namespace QTest {
template <>
char* toString(const std::vector<std::string>& lines)
{
    QByteArray text;
    for (const std::string& line : lines)
        text += "\n  \"" + QByteArray::fromStdString(line) + "\"";
    return qstrdup(text.constData());
}
} // namespace QTest

class CalculationFileTest : public QObject {
    Q_OBJECT

private slots:
    // The file every edition must write for the sample calculation.
    void sample_file_is_the_kept_one()
    {
        const std::string written = writeCalculationFile(sampleFile());
        const QString path = QStringLiteral(KALVENTA_TEST_FILES_DIR "/sample.kalventa");
        if (qEnvironmentVariableIsSet("KALVENTA_UPDATE_FILES")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(written.data(), qint64(written.size()));
        }
        QCOMPARE(QString::fromStdString(written), QString::fromStdString(fileText(path)));
        QCOMPARE(reopened(written), written);
    }

    void results_are_told_as_labels_show_them()
    {
        CalculationFile file = sampleFile();
        file.of(CalculationId::DrumSizeLimits).ran = false;
        QCOMPARE(QString::fromStdString(resultsAsText(file)),
                 QStringLiteral("Расчёт каната\n"
                                "Минимальное допустимое натяжение каната: 275000 Н\n"
                                "Заключение о канате: «»\n"
                                "Расчёт канатоёмкости\n"
                                "Слоёв каната: 3\n"
                                "Витков в слое: 66\n"
                                "Остаток длины барабана за последним витком: 8 мм\n"
                                "Диаметр реборды: 520 мм\n"
                                "Канатоёмкость без учёта неравномерности укладки: 271.2072 м\n"
                                "Канатоёмкость: 244.0865 м\n"
                                "Толщина стенки барабана: 42 мм\n"));
        const std::string json = resultsAsJson(file);
        QVERIFY(json.starts_with("{\n  \"rope_check\": {\n    \"min_rope_tension_n\": \" 275000\",\n"));
        QVERIFY(json.find("drum_size_limits") == std::string::npos);
        QVERIFY(json.find("\"wall_thickness_mm\": \" 42\"") != std::string::npos);
    }

    void round_trip_keeps_every_text_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("empty") << QString();
        QTest::newRow("blanks and comma") << QStringLiteral("  12,5 ");
        QTest::newRow("Unicode beyond the plane") << QStringLiteral("Ø 12 мм 𝔡 \"кавычки\" \\ \t\n");
        QTest::newRow("control characters") << QString::fromUtf8("a\x01\x1f"
                                                                 "b",
                                                                 4);
        QTest::newRow("a million characters") << QString(1'048'576, QChar(u'ж'));
    }
    void round_trip_keeps_every_text()
    {
        QFETCH(QString, typed);
        TableWindow window = sampleWindow();
        for (const std::string_view field : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7"})
            window.setText(field, typed.toStdString());
        const std::string written = writeCalculationFile(captureFile(window, {}, nullptr));
        const FileReading reading = readCalculationFile(written);
        QCOMPARE(reading.notices, std::vector<std::string>{});
        QCOMPARE(QString::fromStdString(reading.file.of(CalculationId::RopeCapacity).inputs.at("drum_length_mm")),
                 typed);
        QCOMPARE(reopened(written), written);
    }

    void bad_file_says_why_data()
    {
        const std::string sample = writeCalculationFile(sampleFile());
        QTest::addColumn<std::string>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty") << std::string() << QStringLiteral("файл обрывается, не закончив JSON");
        QTest::newRow("not JSON") << std::string("format: kalventa\n")
                                  << QStringLiteral("это не JSON: ошибка в тексте (строка 1, столбец 2)");
        QTest::newRow("cut short") << sample.substr(0, sample.size() / 2)
                                   << QStringLiteral("файл обрывается, не закончив JSON");
        QTest::newRow("an array") << std::string("[1, 2]")
                                  << QStringLiteral("это не файл расчёта Кальвенты: в файле массив JSON, а не объект");
        QTest::newRow("another format")
            << withReplaced(sample, "kalventa-calculation", "kalventa-report")
            << QStringLiteral("это не файл расчёта Кальвенты: нет метки «\"format\": \"kalventa-calculation\"»");
        QTest::newRow("newer version") << withReplaced(sample, "\"version\": 1", "\"version\": 2")
                                       << QStringLiteral("файл записан более новой версией программы (формат версии "
                                                         "2); эта версия читает формат версии 1: обновите программу");
        QTest::newRow("version as text") << withReplaced(sample, "\"version\": 1", "\"version\": \"1\"")
                                         << QStringLiteral("в файле нет номера версии формата («version»)");
        QTest::newRow("number for a text")
            << withReplaced(sample, "\"load_weight_kg\": \"5000\"", "\"load_weight_kg\": 5000")
            << QStringLiteral("значение «rope_check → inputs → load_weight_kg» должно быть текстом, а в файле число");
        QTest::newRow("option out of its group")
            << withReplaced(sample, "\"index\": 1,\n        \"text\": \"2d\"",
                            "\"index\": 2,\n        \"text\": \"2d\"")
            << QStringLiteral("номер выбора 2 в «rope_capacity → choices → flange_margin» вне допустимого (0 … 1)");
        QTest::newRow("negative list index")
            << withReplaced(sample, "\"index\": 2,\n        \"text\": \"3\"", "\"index\": -1,\n        \"text\": \"3\"")
            << QStringLiteral("номер выбора -1 в «rope_capacity → choices → rope_layers» вне допустимого");
        QTest::newRow("ran as text") << withReplaced(sample, "\"ran\": true", "\"ran\": \"да\"")
                                     << QStringLiteral("значение «rope_check → ran» должно быть логическим значением "
                                                       "(true или false), а в файле текст");
        QTest::newRow("number beyond a Double")
            << std::string("{\"format\": 1E999}") << QStringLiteral("в файле число вне допустимого диапазона");
        QTest::newRow("nested too deep") << std::string(40, '[') + std::string(40, ']')
                                         << QStringLiteral("в файле JSON вложен глубже 32 уровней");
        QTest::newRow("invalid UTF-8") << withReplaced(sample, "Иванов", "Ив\xD0\x28нов")
                                       << QStringLiteral("текст файла не в кодировке UTF-8 (строка 8, столбец 21)");
    }
    void bad_file_says_why()
    {
        QFETCH(std::string, bytes);
        QFETCH(QString, reason);
        try {
            readCalculationFile(bytes);
            QFAIL("the file was taken");
        } catch (const CalculationFileError& error) {
            QCOMPARE(QString::fromUtf8(error.what()), reason);
        }
    }

    void missing_keys_are_named_and_left_as_new()
    {
        std::string text = writeCalculationFile(sampleFile());
        text = withReplaced(text, ",\n      \"breaking_force_n\": \"300000\"", "");
        text = withReplaced(
            text, "\"duty_class\": {\n        \"index\": 1,\n        \"text\": \"Средний (к=5,5)\"\n      }", "");
        const FileReading reading = readCalculationFile(text);
        QCOMPARE(reading.notices,
                 (std::vector<std::string>{"В файле нет значения «разрывное усилие каната» расчёта «Расчёт каната» "
                                           "(breaking_force_n): поле оставлено как в новом расчёте.",
                                           "В файле нет выбора «коэффициент запаса по режиму работы» расчёта «Расчёт "
                                           "каната» (duty_class): оставлено как в новом расчёте."}));
        TableWindow window;
        applyFile(reading.file, window);
        QCOMPARE(window.text("Text3"), std::string());
        QCOMPARE(window.value("Option2"), Integer{0});
        QCOMPARE(window.text("Text1"), std::string("5000"));
    }

    void later_keys_come_back_on_save()
    {
        std::string text = writeCalculationFile(sampleFile());
        text = withReplaced(text, "\"title\": {", "\"units\": \"SI\",\n  \"title\": {\n    \"sheet\": \"A4\",");
        const FileReading reading = readCalculationFile(text);
        CalculationFile changed = reading.file;
        changed.title.object = "Кран козловой";
        const std::string saved = writeCalculationFile(changed);
        QVERIFY(saved.find("\"units\": \"SI\"") != std::string::npos);
        QVERIFY(saved.find("\"sheet\": \"A4\"") != std::string::npos);
        QCOMPARE(readCalculationFile(saved).file.title.object, std::string("Кран козловой"));
    }

    void window_that_cannot_take_the_file_is_left_alone()
    {
        CalculationFile file = sampleFile();
        file.of(CalculationId::RopeCapacity).choices["drum_material"] = ChosenItem{9, "Титан"};
        file.of(CalculationId::RopeCheck).inputs["load_weight_kg"] = std::string(40, '7');
        TableWindow window;
        window.fieldLimit = 20;
        QCOMPARE(fileMisfits(file, window, nullptr),
                 (std::vector<std::string>{
                     "значение «вес груза» расчёта «Расчёт каната» (40 знаков) не помещается в поле",
                     "выбор «допускаемое напряжение материала барабана» расчёта «Расчёт канатоёмкости»: пункта 9 в "
                     "списке нет (в нём пункты 0 … 1)"}));
        QCOMPARE(window.text("Text1"), std::string());
    }

    void renamed_choice_and_changed_result_are_told()
    {
        CalculationFile file = sampleFile();
        file.of(CalculationId::RopeCheck).choices["duty_class"] = ChosenItem{1, "Средний"};
        file.of(CalculationId::DrumSizeLimits).results["min_drum_diameter_mm"] = "227";
        TableWindow window;
        QCOMPARE(applyFile(file, window),
                 std::vector<std::string>{"Выбор «коэффициент запаса по режиму работы» расчёта «Расчёт каната» "
                                          "записан в файле как «Средний», в окне он называется «Средний (к=5,5)»."});
        for (const CalculationId id : calculationsRun(file))
            calculation(id).run(window);
        QCOMPARE(resultDifferences(file, window),
                 std::vector<std::string>{"минимальный диаметр барабана: сохранено «227», теперь « 228»"});
    }

    void utf8_is_checked_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("firstBad"); // -1: well formed
        QTest::newRow("Cyrillic and a four-byte letter") << QByteArray("ж𝔡a") << -1;
        QTest::newRow("lone continuation") << QByteArray("a\x80") << 1;
        QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << 0;
        QTest::newRow("overlong three bytes") << QByteArray("\xE0\x80\xAF") << 0;
        QTest::newRow("surrogate") << QByteArray("x\xED\xA0\x80") << 1;
        QTest::newRow("beyond U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << 0;
        QTest::newRow("cut short") << QByteArray("ab\xE2\x82") << 2;
    }
    void utf8_is_checked()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, firstBad);
        const std::optional<std::size_t> bad = firstInvalidUtf8({text.constData(), std::size_t(text.size())});
        QCOMPARE(bad ? int(*bad) : -1, firstBad);
    }
};

QTEST_GUILESS_MAIN(CalculationFileTest)
#include "calculation_file_test.moc"
