// Writes the calculation report of all three calculations as a PDF file, for
// a look at the pages (scripts/report-page.sh makes docs/report-page1.png);
// with «--framed», with sample title data, in the frame with the main
// inscription.

#include "report_runs.h"
#include "ui/report_document.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const bool framed = argc == 3 && QString::fromLocal8Bit(argv[2]) == QStringLiteral("--framed");
    if (argc != 2 && !framed) {
        QTextStream(stderr) << "usage: report_sample <file.pdf> [--framed]\n";
        return 2;
    }
    const auto records = kalventa::ui::testing::allThreeRuns();
    kalventa::Report report = kalventa::ui::testing::reportOf(records);
    if (framed)
        report.titleData = {"Кран мостовой 5 т, механизм подъёма",
                            "КЛВ.001.000 РР",
                            "ООО «Подъём»",
                            "Иванов",
                            "Петров",
                            "Сидоров",
                            "",
                            true};
    const QString reason = kalventa::ui::saveReportPdf(report, QString::fromLocal8Bit(argv[1]));
    if (!reason.isEmpty()) {
        QTextStream(stderr) << "cannot write " << argv[1] << ": " << reason << "\n";
        return 1;
    }
    return 0;
}
