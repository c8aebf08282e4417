#include "catalog/FilasCatalogo.h"

#include "catalog/modEntidadCatalogo.h"
#include "core/AppError.h"
#include "core/ErrorNumbers.h"

#include <memory>
#include <vector>

namespace FilasCatalogo {
namespace {

QString columnas(const QString &tipoBase)
{
    // Every column the update may write; the others it leaves as they are.
    QString select = QStringLiteral("select idarticulo, descripcion, descripcion_maria, ncm, ArtKgUnitario, IdPais");
    if (tipoBase != QLatin1String("ACCESS"))
        select += QStringLiteral(", [observacion1], [observacion2], [observacion3]");
    return select + QStringLiteral(" from catarticulos");
}

// Where each column stands in the answer, found once per answer rather than by name per row.
class Lector {
public:
    Lector(const Recordset &rs, const QString &tipoBase) : m_rs(rs)
    {
        const QStringList nombres = rs.fieldNames();
        m_completa = true;
        for (const char *nombre : {"idarticulo", "descripcion", "descripcion_maria", "ncm", "ArtKgUnitario", "IdPais",
                                   "observacion1", "observacion2", "observacion3"}) {
            int indice = -1;
            for (int i = 0; i < nombres.size() && indice < 0; ++i)
                indice = nombres[i].compare(QLatin1String(nombre), Qt::CaseInsensitive) == 0 ? i : -1;
            const bool observacion = qstrncmp(nombre, "observacion", 11) == 0;
            if (indice < 0 && !(observacion && tipoBase == QLatin1String("ACCESS")))
                m_completa = false;
            m_indices.push_back(indice);
        }
    }

    FilaCatalogo fila() const
    {
        FilaCatalogo f;
        f.idarticulo = campo(0).toString();
        f.descripcion = campo(1);
        f.descripcion_maria = campo(2);
        f.ncm = campo(3);
        f.kilos = campo(4);
        f.idpais = campo(5);
        f.observacion1 = campo(6);
        f.observacion2 = campo(7);
        f.observacion3 = campo(8);
        f.completa = m_completa;
        return f;
    }

private:
    QVariant campo(int i) const { return m_indices[i] < 0 ? QVariant() : m_rs.field(m_indices[i]); }

    const Recordset &m_rs;
    std::vector<int> m_indices;
    bool m_completa = false;
};

} // namespace

QList<FilaCatalogo> deAlgunos(const QString &idCatalogo, const QStringList &idsArticulo, const QString &tipoBase)
{
    try {
        modEntidadCatalogo::conexion()->setSql(
            modEntidadCatalogo::PreguntaDeAlgunos(columnas(tipoBase), idCatalogo, idsArticulo));
        std::shared_ptr<Recordset> rs;
        QList<FilaCatalogo> filas;
        if (modEntidadCatalogo::conexion()->crearRs(rs)) {
            const Lector lector(*rs, tipoBase);
            for (; !rs->eof(); rs->moveNext())
                filas.append(lector.fila());
        }
        return filas;
    } catch (...) {
        modEntidadCatalogo::relanzar(QStringLiteral("[ Sorvanta.FilasCatalogo.deAlgunos Linea "), 0);
    }
}

std::optional<FilaCatalogo> deUno(const QString &idCatalogo, const QString &idArticulo, const QString &tipoBase)
{
    try {
        modEntidadCatalogo::conexion()->setSql(
            modEntidadCatalogo::PreguntaDeUno(columnas(tipoBase), idCatalogo, idArticulo));
        std::shared_ptr<Recordset> rs;
        if (!modEntidadCatalogo::conexion()->crearRs(rs))
            return std::nullopt;
        if (!rs)
            throw AppError(ErrorNumbers::kObjectNotSet, QStringLiteral("Sorvanta"),
                           QStringLiteral("Variable de objeto o bloque With no establecido"));
        return Lector(*rs, tipoBase).fila();
    } catch (...) {
        modEntidadCatalogo::relanzar(QStringLiteral("[ Sorvanta.FilasCatalogo.deUno Linea "), 0);
    }
}

} // namespace FilasCatalogo
