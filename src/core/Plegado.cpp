#include "core/Plegado.h"

namespace Plegado {
namespace {

bool tieneAcentos(QChar::Script escritura)
{
    return escritura == QChar::Script_Latin || escritura == QChar::Script_Greek || escritura == QChar::Script_Cyrillic;
}

} // namespace

QString sinMayusculasNiAcentos(const QString &texto)
{
    // Compatibility forms too: full-width "ＵＳＡ" is "USA".
    const QString descompuesto = texto.trimmed().normalized(QString::NormalizationForm_KD);
    QString plegado;
    plegado.reserve(descompuesto.size());
    QChar::Script base = QChar::Script_Common;
    for (int i = 0; i < descompuesto.size(); ++i) {
        const char32_t letra = descompuesto.at(i).isHighSurrogate() && i + 1 < descompuesto.size()
                                   ? QChar::surrogateToUcs4(descompuesto.at(i), descompuesto.at(i + 1))
                                   : descompuesto.at(i).unicode();
        const int largo = QChar::requiresSurrogates(letra) ? 2 : 1;
        if (QChar::category(letra) == QChar::Mark_NonSpacing) {
            if (!tieneAcentos(base))
                plegado += descompuesto.mid(i, largo);
        } else {
            base = QChar::script(letra);
            plegado += descompuesto.mid(i, largo);
        }
        i += largo - 1;
    }
    return plegado.toCaseFolded();
}

QString soloLetrasYCifras(const QString &texto)
{
    const QString plegado = sinMayusculasNiAcentos(texto);
    QString limpio;
    limpio.reserve(plegado.size());
    for (int i = 0; i < plegado.size(); ++i) {
        const QChar c = plegado.at(i);
        if (c.isSurrogate() || c.isLetterOrNumber() || c.isMark())
            limpio += c;
    }
    return limpio;
}

} // namespace Plegado
