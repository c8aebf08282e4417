#pragma once

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// Writes real workbook files with the project's example writer (xlsx, xls, ods, csv).
namespace SheetFiles {

inline QString examplesDir()
{
    return QStringLiteral(SORVANTA_SOURCE_DIR "/examples");
}

// rows: JSON list of rows, cells as make-examples.py takes them. Returns the path, or "" on failure.
inline QString write(const QTemporaryDir &dir, const QString &name, const QJsonArray &rows)
{
    const QString json = dir.filePath(name + QStringLiteral(".json"));
    QFile f(json);
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    f.write(QJsonDocument(rows).toJson(QJsonDocument::Compact));
    f.close();
    const QString out = dir.filePath(name);
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(SORVANTA_SOURCE_DIR "/scripts/make-examples.py"), json, out});
    if (!python.waitForFinished(120000) || python.exitCode() != 0) {
        qWarning("make-examples.py failed: %s", python.readAllStandardError().constData());
        return QString();
    }
    return out;
}

} // namespace SheetFiles
