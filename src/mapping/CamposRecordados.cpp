#include "mapping/CamposRecordados.h"

#include "core/Plegado.h"
#include "core/SettingsStore.h"
#include "mapping/CampoCatalogo.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {
const QString kAplicacion = QStringLiteral("TELMOR");
const QString kSeccion = QStringLiteral("SORVANTA");

bool esCampo(const QString &etiqueta)
{
    return etiquetasCampos().indexOf(etiqueta) > 0;
}

bool mismoEncabezado(const QString &a, const QString &b)
{
    return Plegado::sinMayusculasNiAcentos(a) == Plegado::sinMayusculasNiAcentos(b);
}
} // namespace

CamposRecordados::CamposRecordados(const QString &idCatalogo) : m_catalogo(idCatalogo)
{
    leer();
}

QString CamposRecordados::clave() const
{
    // Any catalog id makes one plain key: "/" would open a group, other characters be escaped.
    return QStringLiteral("CAMPOS_") + QString::fromLatin1(m_catalogo.toUtf8().toPercentEncoding());
}

void CamposRecordados::leer()
{
    const QString guardado = SettingsStore::GetSetting(kAplicacion, kSeccion, clave());
    // A value edited by hand into something else is as good as nothing remembered.
    for (const QJsonValue &par : QJsonDocument::fromJson(guardado.toUtf8()).array()) {
        const QString encabezado = par[0].toString().trimmed();
        const QString etiqueta = par[1].toString();
        if (!encabezado.isEmpty() && esCampo(etiqueta))
            m_campos.append({encabezado, etiqueta});
    }
}

QString CamposRecordados::etiquetaPara(const QString &encabezado) const
{
    if (encabezado.trimmed().isEmpty())
        return QString();
    for (const auto &[recordado, etiqueta] : m_campos)
        if (mismoEncabezado(recordado, encabezado))
            return etiqueta;
    return QString();
}

void CamposRecordados::olvidar(const QString &encabezado)
{
    m_campos.removeIf([&](const QPair<QString, QString> &par) { return mismoEncabezado(par.first, encabezado); });
}

void CamposRecordados::recordar(const QStringList &encabezados, const QStringList &etiquetas)
{
    for (int c = 0; c < encabezados.size() && c < etiquetas.size(); ++c) {
        const QString encabezado = encabezados[c].trimmed();
        if (encabezado.isEmpty())
            continue;
        olvidar(encabezado);
        if (esCampo(etiquetas[c]))
            m_campos.append({encabezado, etiquetas[c]});
    }
    QJsonArray pares;
    for (const auto &[encabezado, etiqueta] : m_campos)
        pares.append(QJsonArray{encabezado, etiqueta});
    SettingsStore::SaveSetting(kAplicacion, kSeccion, clave(),
                               QString::fromUtf8(QJsonDocument(pares).toJson(QJsonDocument::Compact)));
}
