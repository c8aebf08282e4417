#pragma once

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>
#include <functional>

// Data tables in tests/data: JSON arrays of cases, each an object named by "name"; a file
// holding several names each table.
namespace DataTable {

inline QJsonArray read(const QString &file, const QString &table = QString())
{
    QFile f(QStringLiteral(SORVANTA_SOURCE_DIR "/tests/data/") + file);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("%s: not readable", qPrintable(f.fileName()));
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll());
    return table.isEmpty() ? doc.array() : doc[table].toArray();
}

// One row per case, in a QJsonObject column "c".
inline void addRows(const QString &file, const QString &table = QString())
{
    QTest::addColumn<QJsonObject>("c");
    for (const QJsonValue &c : read(file, table))
        QTest::newRow(qPrintable(c[QLatin1String("name")].toString())) << c.toObject();
}

// A JSON array of texts; an absent value gives none.
inline QStringList texts(const QJsonValue &v)
{
    QStringList out;
    for (const QJsonValue &t : v.toArray())
        out << t.toString();
    return out;
}

// The texts a table expects, where null stands for any value: got's own there. fill
// completes the others (dates of today and the like).
inline QStringList expected(const QJsonArray &want, const QStringList &got,
                            const std::function<QString(QString)> &fill = {})
{
    QStringList out;
    for (int k = 0; k < want.size(); ++k)
        out << (want[k].isNull() ? got.value(k) : fill ? fill(want[k].toString()) : want[k].toString());
    return out;
}

} // namespace DataTable
