#include "core/AppError.h"

AppError::AppError(qint32 number, QString source, QString description)
    : m_number(number), m_source(std::move(source)), m_description(std::move(description)),
      m_what((QString::number(number) + QStringLiteral(" ") + m_source + QStringLiteral(": ") + m_description).toUtf8())
{
}

AppError AppError::rethrownAs(qint32 number, const QString &locationPrefix) const
{
    return AppError(number, locationPrefix + m_source, m_description);
}

const char *AppError::what() const noexcept
{
    return m_what.constData();
}
