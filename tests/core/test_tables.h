#pragma once
// The test rows kept as JSON in tests/core/tables, which the browser
// edition's core tests read as well, so that both run the same rows against
// the same expected texts.

#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QString>

#include <limits>

namespace kalventa::testing {

inline QJsonObject testTable(const char* fileName)
{
    QFile file(QStringLiteral(KALVENTA_TEST_TABLES_DIR "/") + QString::fromUtf8(fileName));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read the test table %s", fileName);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (document.isNull())
        qFatal("test table %s: %s", fileName, qPrintable(error.errorString()));
    return document.object();
}

// A float written in a table: a decimal (read in the C locale), "inf" or "-inf".
inline double tableFloat(const QJsonValue& value)
{
    const QString text = value.toString();
    if (text == QLatin1String("inf"))
        return std::numeric_limits<double>::infinity();
    if (text == QLatin1String("-inf"))
        return -std::numeric_limits<double>::infinity();
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (!ok)
        qFatal("not a number in a test table: %s", qPrintable(text));
    return number;
}

} // namespace kalventa::testing
