#include "database/Recordset.h"

#include "core/AppError.h"
#include "core/ErrorNumbers.h"

Recordset::Recordset(QStringList fieldNames, std::vector<QVariantList> rows)
    : m_fieldNames(std::move(fieldNames)), m_rows(std::move(rows))
{
}

void Recordset::moveNext()
{
    if (m_position < m_rows.size())
        ++m_position;
}

QVariant Recordset::fields(const QString &name) const
{
    int index = -1;
    for (int i = 0; i < m_fieldNames.size() && index < 0; ++i)
        if (m_fieldNames[i].compare(name, Qt::CaseInsensitive) == 0)
            index = i;
    if (index < 0)
        throw AppError(ErrorNumbers::kItemNotFound, QStringLiteral("Recordset"),
                       QStringLiteral("No se encontró el campo \"%1\" en el resultado de la consulta").arg(name));
    if (eof())
        throw AppError(ErrorNumbers::kNoCurrentRecord, QStringLiteral("Recordset"),
                       QStringLiteral("No hay registro actual: el resultado está al final o vacío"));
    return m_rows[m_position].value(index);
}
