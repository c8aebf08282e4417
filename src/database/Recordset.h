#pragma once

#include <QStringList>
#include <QVariant>
#include <vector>

// The rows a query gave, read from the first row on. Field names are matched without
// regard to letter case; a null value is a null QVariant, which reads as "" with toString().
class Recordset {
public:
    Recordset() = default;
    Recordset(QStringList fieldNames, std::vector<QVariantList> rows);

    bool eof() const { return m_position >= m_rows.size(); }
    void moveNext();
    // Raises AppError (3265, "No se encontró el elemento...") for an unknown field
    // name, and when there is no current row.
    QVariant fields(const QString &name) const;
    // The current row's value of the column at `index` (of fieldNames()); for reading many rows.
    QVariant field(int index) const { return m_rows[m_position].value(index); }
    // The current row, every column in order; shared, not copied.
    const QVariantList &fila() const { return m_rows[m_position]; }

    int recordCount() const { return static_cast<int>(m_rows.size()); }
    const QStringList &fieldNames() const { return m_fieldNames; }

private:
    QStringList m_fieldNames;
    std::vector<QVariantList> m_rows;
    std::size_t m_position = 0;
};
