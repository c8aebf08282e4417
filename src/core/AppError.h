#pragma once

#include <QString>
#include <QtGlobal>
#include <exception>

// The one error type of the program: a signed 32-bit number, a source that grows a
// location text at every level it passes, and a description that stays as first raised.
class AppError : public std::exception {
public:
    AppError(qint32 number, QString source, QString description);

    qint32 number() const { return m_number; }
    const QString &source() const { return m_source; }
    const QString &description() const { return m_description; }

    // The same error passed on by an inner operation: new number, location text put in
    // front of the source, description kept.
    AppError rethrownAs(qint32 number, const QString &locationPrefix) const;

    const char *what() const noexcept override;

private:
    qint32 m_number;
    QString m_source;
    QString m_description;
    QByteArray m_what;
};
