// The note's running text as set: numbers in the labels' form turned into
// Russian notation, the symbols' indices lowered, everything else untouched.

#include "core/note_typography.h"

#include <QTest>

using namespace kalventa;

namespace {

// The runs written out, an index as "_{…}".
QString written(const std::vector<NoteRun>& runs)
{
    QString text;
    for (const NoteRun& run : runs) {
        const QString piece = QString::fromStdString(run.text);
        text += run.index ? QStringLiteral("_{") + piece + QLatin1Char('}') : piece;
    }
    return text;
}

} // namespace

class NoteTypographyTest : public QObject {
    Q_OBJECT

private slots:
    void sets_the_text_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("set");
        QTest::newRow("decimal") << "3.14159 · 475"
                                 << "3,14159 · 475";
        QTest::newRow("integer") << "55000 Н"
                                 << "55000 Н";
        QTest::newRow("no leading zero") << "-.0001"
                                         << "−0,0001";
        QTest::newRow("point first") << "= .5 м"
                                     << "= 0,5 м";
        QTest::newRow("negative integer") << "(-5)"
                                          << "(−5)";
        QTest::newRow("exponent") << "1.2E+08"
                                  << "1,2·10⁸";
        QTest::newRow("negative exponent") << "-4.5E-07 мм"
                                           << "−4,5·10⁻⁷ мм";
        QTest::newRow("exponent of two digits") << "3.402823E+38."
                                                << "3,402823·10³⁸.";
        QTest::newRow("exponent zero") << "1E+00"
                                       << "1·10⁰";
        QTest::newRow("single exactly") << "(одинарная точность: 8.30000019073486328125)"
                                        << "(одинарная точность: 8,30000019073486328125)";
        QTest::newRow("full stop after a number") << "принято 5. Далее"
                                                  << "принято 5. Далее";
        QTest::newRow("infinity") << "= 1.#INF мм"
                                  << "= 1.#INF мм";
        QTest::newRow("negative infinity") << "-1.#INF;"
                                           << "-1.#INF;";
        QTest::newRow("date and time") << "14.03.2025 09:30"
                                       << "14.03.2025 09:30";
        QTest::newRow("version") << "Кальвента 1.3.0"
                                 << "Кальвента 1.3.0";
        QTest::newRow("number in a word") << "группа M6, кг/см2"
                                          << "группа M6, кг/см2";
        QTest::newRow("digits before a word") << "3D 2x"
                                              << "3D 2x";
        QTest::newRow("hyphen") << "кран-балка -"
                                << "кран-балка -";
        QTest::newRow("minus sign kept") << "L − n · d"
                                         << "L − n · d";
        QTest::newRow("layer symbols") << "S = l1 + l2 + l12"
                                       << "S = l₁ + l₂ + l₁₂";
        QTest::newRow("layer of the formula") << "P3 = D + d"
                                              << "P₃ = D + d";
        QTest::newRow("general layer") << "lN = 3.14159 · PN"
                                       << "l_{N} = 3,14159 · P_{N}";
        QTest::newRow("word indices") << "Fр < Sмин; Lмакс = 3 · Dмин; Sк"
                                      << "F_{р} < S_{мин}; L_{макс} = 3 · D_{мин}; S_{к}";
        QTest::newRow("not an index") << "Sмакс2 Qмин Pa"
                                      << "Sмакс2 Qмин Pa";
        QTest::newRow("Greek") << "[σ] · d"
                               << "[σ] · d";
        QTest::newRow("inside brackets") << "⌈5000 / (14.5 · 15)⌉"
                                         << "⌈5000 / (14,5 · 15)⌉";
    }

    void sets_the_text()
    {
        QFETCH(QString, text);
        QFETCH(QString, set);
        QCOMPARE(written(noteTypography(text.toStdString())), set);
    }
};

QTEST_APPLESS_MAIN(NoteTypographyTest)
#include "note_typography_test.moc"
