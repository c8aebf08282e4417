#include "database/ConsultasPostgres.h"

#include <algorithm>
#include <utility>

bool ConsultasPostgres::preparable(const Sentencia &sentencia) const
{
    const auto &valores = sentencia.valores();
    return !valores.empty() && valores.size() <= kMaxValores
           && std::all_of(valores.begin(), valores.end(), [this](const Sentencia::Valor &valor) {
                  return valor.tipo == Sentencia::Valor::Texto
                         || (m_conNumeros && valor.tipo == Sentencia::Valor::Numero);
              });
}

// Each value as the written-out text spells it.
QString ConsultasPostgres::ejecucion(const QString &nombre, const Sentencia &sentencia)
{
    QString sql = QLatin1String("execute ") + nombre + QLatin1String(" (");
    sql.reserve(sql.size() + 16 * qsizetype(sentencia.valores().size()));
    bool primero = true;
    for (const Sentencia::Valor &valor : sentencia.valores()) {
        if (!std::exchange(primero, false))
            sql += QLatin1String(", ");
        sql += QLatin1Char('\'');
        Sentencia::escribir(sql, valor);
        sql += QLatin1Char('\'');
    }
    return sql + QLatin1Char(')');
}

void ConsultasPostgres::soltar(const Ejecutor &ejecutar)
{
    QStringList suyas;
    for (const Forma &forma : std::as_const(m_vistas))
        if (forma.estado == Forma::Preparada)
            suyas << QLatin1String("deallocate ") + forma.nombre;
    if (!suyas.isEmpty())
        ejecutar(suyas.join(QStringLiteral(";\n")));
    olvidar();
}

void ConsultasPostgres::olvidar()
{
    m_vistas.clear();
    m_preparadas = 0;
}

QString ConsultasPostgres::texto(const Sentencia &sentencia, const Ejecutor &ejecutar)
{
    if (!preparable(sentencia))
        return m_formas.escrita(sentencia);
    auto forma = m_vistas.find(sentencia.forma());
    if (forma == m_vistas.end()) {
        if (m_vistas.size() >= kMaxVistas || m_preparadas >= kMaxPreparadas)
            soltar(ejecutar);
        m_vistas.insert(sentencia.forma(), Forma{});
        return m_formas.escrita(sentencia);
    }
    if (forma->estado == Forma::Vista) {
        const QString nombre = m_prefijo + QString::number(++m_siguiente);
        const bool preparada = ejecutar(
            QLatin1String("prepare ") + nombre + QLatin1String(" as ")
            + m_formas.conLugares(sentencia, [](qsizetype n) { return QLatin1Char('$') + QString::number(n); }));
        forma->estado = preparada ? Forma::Preparada : Forma::Rechazada;
        forma->nombre = nombre;
        m_preparadas += preparada ? 1 : 0;
    }
    if (forma->estado == Forma::Rechazada)
        return m_formas.escrita(sentencia);
    return ejecucion(forma->nombre, sentencia);
}
