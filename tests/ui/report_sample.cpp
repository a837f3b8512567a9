// Writes the calculation report of all three calculations as a PDF file, for
// a look at the pages (scripts/report-page.sh makes docs/report-page1.png).

#include "report_runs.h"
#include "ui/report_document.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: report_sample <file.pdf>\n";
        return 2;
    }
    const auto records = kalventa::ui::testing::allThreeRuns();
    const QString reason
        = kalventa::ui::saveReportPdf(kalventa::ui::testing::reportOf(records), QString::fromLocal8Bit(argv[1]));
    if (!reason.isEmpty()) {
        QTextStream(stderr) << "cannot write " << argv[1] << ": " << reason << "\n";
        return 1;
    }
    return 0;
}
