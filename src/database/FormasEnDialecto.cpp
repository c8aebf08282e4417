#include "database/FormasEnDialecto.h"

const QStringList &FormasEnDialecto::partes(const Sentencia &sentencia)
{
    auto hallada = m_partes.constFind(sentencia.forma());
    if (hallada != m_partes.constEnd())
        return *hallada;
    if (m_partes.size() >= kMaxFormas)
        m_partes.clear();
    const QString sql = SqlDialect::translate(sentencia.forma(), m_kind);
    QStringList partes;
    if (sentencia.valores().empty())
        partes << sql;
    else
        partes = sql.split(QChar(Sentencia::kLugar));
    return *m_partes.insert(sentencia.forma(), partes);
}

QString FormasEnDialecto::escrita(const Sentencia &sentencia)
{
    if (m_kind == SqlDialect::Native)
        return sentencia.texto();
    if (sentencia.valores().empty())
        return SqlDialect::translate(sentencia.forma(), m_kind);
    const QStringList &cortada = partes(sentencia);
    const auto &valores = sentencia.valores();
    QString sql;
    sql.reserve(sentencia.forma().size() + 16 * qsizetype(valores.size()));
    sql += cortada.front();
    for (size_t i = 0; i < valores.size(); ++i) {
        if (valores[i].tipo == Sentencia::Valor::Fecha)
            sql += valor(valores[i]);
        else
            Sentencia::escribir(sql, valores[i]);
        sql += cortada[qsizetype(i) + 1];
    }
    return sql;
}

// Only a date is spelled otherwise by a dialect: the rewrite reads it alone as it would in the
// whole text, where nothing around it changes how it is read.
QString FormasEnDialecto::valor(const Sentencia::Valor &valor) const
{
    if (valor.tipo != Sentencia::Valor::Fecha) {
        QString sql;
        Sentencia::escribir(sql, valor);
        return sql;
    }
    return SqlDialect::translate(valor.escrito, m_kind);
}

QString FormasEnDialecto::formaCompartida(const Sentencia &sentencia)
{
    partes(sentencia);
    return m_partes.constFind(sentencia.forma()).key();
}

QString FormasEnDialecto::conLugares(const Sentencia &sentencia, const std::function<QString(qsizetype)> &lugar)
{
    const QStringList &piezas = partes(sentencia);
    const auto &valores = sentencia.valores();
    QString sql = piezas.front();
    for (qsizetype i = 1; i < piezas.size(); ++i) {
        const bool texto = valores[std::size_t(i - 1)].tipo == Sentencia::Valor::Texto;
        if (texto)
            sql.chop(1);
        sql += lugar(i);
        sql += QStringView(piezas[i]).mid(texto ? 1 : 0);
    }
    return sql;
}
