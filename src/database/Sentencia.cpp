#include "database/Sentencia.h"

Sentencia &Sentencia::operator<<(QLatin1String sql)
{
    m_forma += sql;
    return *this;
}

Sentencia &Sentencia::operator<<(const Sentencia &otra)
{
    m_forma += otra.m_forma;
    m_valores.insert(m_valores.end(), otra.m_valores.begin(), otra.m_valores.end());
    return *this;
}

Sentencia &Sentencia::texto(const QString &valor)
{
    m_forma += QLatin1Char('\'');
    m_forma += QChar(kLugar);
    m_forma += QLatin1Char('\'');
    m_valores.push_back({Valor::Texto, valor});
    return *this;
}

Sentencia &Sentencia::numero(const QString &escrito)
{
    m_forma += QChar(kLugar);
    m_valores.push_back({Valor::Numero, escrito});
    return *this;
}

Sentencia &Sentencia::fecha(const QString &literal)
{
    m_forma += QChar(kLugar);
    m_valores.push_back({Valor::Fecha, literal});
    return *this;
}

void Sentencia::escribir(QString &sql, const Valor &valor)
{
    if (valor.tipo != Valor::Texto) {
        sql += valor.escrito;
        return;
    }
    const QString &texto = valor.escrito;
    qsizetype desde = 0;
    for (qsizetype comilla; (comilla = texto.indexOf(QLatin1Char('\''), desde)) >= 0; desde = comilla + 1) {
        sql += QStringView(texto).mid(desde, comilla + 1 - desde);
        sql += QLatin1Char('\'');
    }
    sql += QStringView(texto).mid(desde);
}

QString Sentencia::texto() const
{
    if (m_valores.empty())
        return m_forma;
    QString sql;
    sql.reserve(m_forma.size() + 16 * qsizetype(m_valores.size()));
    qsizetype desde = 0;
    for (const Valor &valor : m_valores) {
        const qsizetype lugar = m_forma.indexOf(QChar(kLugar), desde);
        sql += QStringView(m_forma).mid(desde, lugar - desde);
        escribir(sql, valor);
        desde = lugar + 1;
    }
    sql += QStringView(m_forma).mid(desde);
    return sql;
}
