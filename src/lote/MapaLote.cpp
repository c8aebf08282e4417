#include "lote/MapaLote.h"

#include "core/modTexto.h"
#include "lote/ArgumentosLote.h"
#include "mapping/CampoCatalogo.h"
#include "mapping/CamposRecordados.h"
#include "mapping/MapaDeEncabezados.h"
#include "modelos/GridModel.h"

#include <algorithm>

namespace {

QStringList encabezados(const GridModel &grilla)
{
    QStringList textos;
    for (int c = 0; c < grilla.cols(); ++c)
        textos << grilla.text(0, c);
    return textos;
}

// "B" -> 1, "AA" -> 26; -1 when the text is not a column letter.
int columnaDeLetras(const QString &texto)
{
    if (texto.isEmpty() || texto.size() > 3)
        return -1;
    int columna = 0;
    for (const QChar ch : texto) {
        if (ch < QLatin1Char('A') || ch > QLatin1Char('Z'))
            return -1;
        columna = columna * 26 + (ch.unicode() - 'A' + 1);
    }
    return columna - 1;
}

int columnaDe(const QString &columna, const QStringList &titulos)
{
    const int porLetra = columnaDeLetras(columna);
    if (porLetra >= 0 && porLetra < titulos.size())
        return porLetra;
    int encontrada = titulos.indexOf(columna);
    for (int c = 0; encontrada < 0 && c < titulos.size(); ++c)
        if (titulos[c].trimmed().compare(columna.trimmed(), Qt::CaseInsensitive) == 0)
            encontrada = c;
    if (encontrada < 0) {
        QStringList mostrados;
        for (const QString &titulo : titulos)
            mostrados << modTexto::paraMensaje(titulo);
        throw ArgumentosInvalidos(QStringLiteral("La hoja no tiene la columna \"%1\" (encabezados: %2)")
                                      .arg(modTexto::paraMensaje(columna), mostrados.join(QStringLiteral(", "))));
    }
    return encontrada;
}

// A field's name is its label without brackets: "[ ANEXAR DESCRIPCION ]" -> ANEXAR DESCRIPCION.
CampoCatalogo campoDe(const QString &nombre)
{
    const QString buscado = nombre.simplified();
    for (int i = 1; i < kCantidadCampos; ++i) {
        const auto campo = static_cast<CampoCatalogo>(i);
        QString etiqueta = etiquetaCampo(campo);
        if (nombre == etiqueta)
            return campo;
        etiqueta = etiqueta.mid(1, etiqueta.size() - 2).simplified();
        if (etiqueta.compare(buscado, Qt::CaseInsensitive) == 0)
            return campo;
    }
    throw ArgumentosInvalidos(QStringLiteral("No existe el campo \"%1\"").arg(modTexto::paraMensaje(nombre)));
}

// The remembered fields of the columns no pair names, for the fields no pair names.
void etiquetarRecordados(const QStringList &titulos, const QList<QPair<int, QString>> &pares,
                         const CamposRecordados &recordados, QStringList &etiquetas, QList<ColumnaRecordada> *usadas)
{
    for (int c = 0; c < titulos.size(); ++c) {
        const QString etiqueta = recordados.etiquetaPara(titulos[c]);
        const bool nombrada = std::any_of(pares.begin(), pares.end(), [&](const QPair<int, QString> &par) {
            return par.first == c || par.second == etiqueta;
        });
        if (etiqueta.isEmpty() || etiqueta == titulos[c] || nombrada)
            continue;
        etiquetas[c] = etiqueta;
        if (usadas)
            usadas->append({c, titulos[c], etiqueta});
    }
}

} // namespace

RegMapaCampos MapaLote(const GridModel &grilla, const QList<QPair<QString, QString>> &campos,
                       const CamposRecordados *recordados, QList<ColumnaRecordada> *usadas)
{
    const QStringList titulos = encabezados(grilla);
    QList<QPair<int, QString>> pares;
    for (const auto &[columna, nombre] : campos)
        pares.append({columnaDe(columna, titulos), etiquetaCampo(campoDe(nombre))});
    QStringList etiquetas = titulos;
    if (recordados)
        etiquetarRecordados(titulos, pares, *recordados, etiquetas, usadas);
    // Each pair does what F1 does in the window: the column's header becomes the field's label.
    for (const auto &[columna, etiqueta] : pares)
        etiquetas[columna] = etiqueta;
    const RegMapaCampos mapa = MapaDeEncabezados(etiquetas);
    ValidarMapa(mapa);
    return mapa;
}

QString LetraDeColumna(int columna)
{
    QString letras;
    for (int n = columna + 1; n > 0; n = (n - 1) / 26)
        letras.prepend(QLatin1Char(static_cast<char>('A' + (n - 1) % 26)));
    return letras;
}
