#include "catalog/CambiosPrevistos.h"

#include "catalog/FormatoSql.h"

namespace {

class Comparador {
public:
    explicit Comparador(QList<CambioPrevisto> &cambios) : m_cambios(cambios) {}

    // Texts compare exactly; a null never equals a text.
    void texto(const QString &campo, const QVariant &antes, const QString &despues)
    {
        if (antes.isNull() || antes.toString() != despues)
            m_cambios.append({campo, comoTexto(antes), despues});
    }

    // The update writes the weight with 15 significant digits; the catalog holds the number
    // the database reads from that text.
    void peso(const QVariant &antes, double kilos)
    {
        const double despues = FormatoSql::pesoUpdateLeido(kilos);
        bool esNumero = false;
        const double valor = antes.isNull() ? 0 : antes.toDouble(&esNumero);
        if (esNumero && valor == despues)
            return;
        m_cambios.append({QStringLiteral("ArtKgUnitario"), esNumero ? FormatoSql::pesoUpdate(valor) : comoTexto(antes),
                          FormatoSql::pesoUpdate(kilos)});
    }

private:
    static QString comoTexto(const QVariant &valor)
    {
        if (valor.isNull())
            return QString();
        const QString texto = valor.toString();
        return texto.isNull() ? QStringLiteral("") : texto;
    }

    QList<CambioPrevisto> &m_cambios;
};

// The description as the update leaves it: PUR, or no description from the sheet, only adds
// the addition after a blank, which a null description swallows.
void descripcion(Comparador &c, PrevisionArticulo &p, const QString &idCatalogo, const RegArticulo &a,
                 const FilaCatalogo &fila)
{
    if (idCatalogo == QLatin1String("PUR") || a.descripcion.isEmpty()) {
        if (a.anexo_descripcion.isEmpty())
            return;
        if (fila.descripcion.isNull()) {
            p.aviso = QStringLiteral("La descripción del catálogo es nula: el anexo \"%1\" no se agregará.")
                          .arg(a.anexo_descripcion);
            return;
        }
        c.texto(QStringLiteral("Descripcion"), fila.descripcion,
                fila.descripcion.toString() + QLatin1Char(' ') + a.anexo_descripcion);
        return;
    }
    c.texto(QStringLiteral("Descripcion"), fila.descripcion,
            a.anexo_descripcion.isEmpty() ? a.descripcion : a.descripcion + QLatin1Char(' ') + a.anexo_descripcion);
}

void observaciones(Comparador &c, const RegArticulo &a, const FilaCatalogo &fila)
{
    const QString *nuevas[] = {&a.observacion1, &a.observacion2, &a.observacion3};
    const QVariant *actuales[] = {&fila.observacion1, &fila.observacion2, &fila.observacion3};
    for (int i = 0; i < 3; ++i) {
        if (nuevas[i]->isEmpty())
            continue;
        QString texto = *nuevas[i];
        texto.replace(QLatin1Char('\''), QLatin1Char('.'));
        c.texto(QStringLiteral("observacion%1").arg(i + 1), *actuales[i], texto);
    }
}

void cambios(PrevisionArticulo &p, const QString &idCatalogo, const RegArticulo &a, const FilaCatalogo &fila,
             const QString &tipoBase)
{
    Comparador c(p.cambios);
    // A short code from the sheet never replaces the one the catalog holds.
    if (a.ncm.size() > 9)
        c.texto(QStringLiteral("NCM"), fila.ncm, a.ncm);
    descripcion(c, p, idCatalogo, a, fila);
    if (!a.descripcion_maria.isEmpty())
        c.texto(QStringLiteral("Descripcion_Maria"), fila.descripcion_maria, a.descripcion_maria);
    if (a.kilos_unitario > 0)
        c.peso(fila.kilos, a.kilos_unitario);
    if (tipoBase == QLatin1String("SQL"))
        observaciones(c, a, fila);
    if (!a.idpais.isEmpty())
        c.texto(QStringLiteral("idPais"), fila.idpais, a.idpais);
}

} // namespace

bool NadaQueActualizar(const RegArticulo &art)
{
    return art.ncm.size() <= 9 && art.descripcion.isEmpty() && art.anexo_descripcion.isEmpty()
           && art.kilos_unitario == 0 && art.descripcion_maria.isEmpty();
}

PrevisionArticulo PreverArticulo(const QString &idCatalogo, const RegArticulo &articulo,
                                 const std::optional<FilaCatalogo> &fila, const QString &tipoBase)
{
    PrevisionArticulo p;
    if (articulo.estado == QLatin1String("Nuevo"))
        return p;
    if (NadaQueActualizar(articulo)) {
        p.tipo = Prevision::NoSeEnvia;
        return p;
    }
    if (!fila || !fila->completa) {
        p.tipo = Prevision::SinFila;
        return p;
    }
    cambios(p, idCatalogo, articulo, *fila, tipoBase);
    p.tipo = p.cambios.isEmpty() ? Prevision::SoloSello : Prevision::Cambia;
    return p;
}
