#pragma once
// What a poppler tool (Debian: poppler-utils) prints about a PDF file: an
// empty string and a warning when the tool is missing or fails. Its words are
// read, so the tool runs untranslated, in the C locale; it writes UTF-8.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QtGlobal>

inline QString popplerOutput(const QString& tool, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    process.setProcessEnvironment(environment);
    process.start(tool, arguments);
    if (!process.waitForStarted()) {
        qWarning("%s did not start: install poppler-utils", qPrintable(tool));
        return {};
    }
    process.waitForFinished(60'000);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qWarning("%s failed: %s", qPrintable(tool), process.readAllStandardError().constData());
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}
