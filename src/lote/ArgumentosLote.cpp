#include "lote/ArgumentosLote.h"

namespace {

// "--opcion valor" or "--opcion=valor".
QString valorDe(const QStringList &args, int &i, const QString &opcion)
{
    const QString &actual = args[i];
    if (actual.startsWith(opcion + QLatin1Char('=')))
        return actual.mid(opcion.size() + 1);
    if (i + 1 >= args.size())
        throw ArgumentosInvalidos(QStringLiteral("Falta el valor de %1").arg(opcion));
    return args[++i];
}

bool es(const QString &arg, const QString &opcion)
{
    return arg == opcion || arg.startsWith(opcion + QLatin1Char('='));
}

QPair<QString, QString> par(const QString &texto, const QString &opcion)
{
    const int igual = texto.lastIndexOf(QLatin1Char('='));
    if (igual <= 0 || igual == texto.size() - 1)
        throw ArgumentosInvalidos(QStringLiteral("%1 espera TEXTO=VALOR, no \"%2\"").arg(opcion, texto));
    return {texto.left(igual), texto.mid(igual + 1)};
}

} // namespace

ArgumentosLote LeerArgumentos(const QStringList &args)
{
    ArgumentosLote a;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h") || arg == QLatin1String("--ayuda"))
            a.ayuda = true;
        else if (es(arg, QStringLiteral("--catalogo")))
            a.catalogo = valorDe(args, i, QStringLiteral("--catalogo"));
        else if (es(arg, QStringLiteral("--campo")))
            a.campos << par(valorDe(args, i, QStringLiteral("--campo")), QStringLiteral("--campo"));
        else if (es(arg, QStringLiteral("--pais")))
            a.paises << par(valorDe(args, i, QStringLiteral("--pais")), QStringLiteral("--pais"));
        else if (es(arg, QStringLiteral("--reporte")))
            a.reporte = valorDe(args, i, QStringLiteral("--reporte"));
        else if (es(arg, QStringLiteral("--cambios")))
            a.cambios = valorDe(args, i, QStringLiteral("--cambios"));
        else if (arg == QLatin1String("--quitar-guiones"))
            a.quitarGuiones = true;
        else if (arg == QLatin1String("--revisar"))
            a.revisar = true;
        else if (arg == QLatin1String("--deshacer"))
            a.deshacer = true;
        else if (arg == QLatin1String("--campos-recordados"))
            a.camposRecordados = true;
        else if (arg == QLatin1String("--paises-sugeridos"))
            a.paisesSugeridos = true;
        else if (arg.startsWith(QLatin1String("--")))
            throw ArgumentosInvalidos(QStringLiteral("Opción desconocida: %1").arg(arg));
        else if (a.archivo.isEmpty())
            a.archivo = arg;
        else
            throw ArgumentosInvalidos(
                QStringLiteral("Sobra el argumento \"%1\": se procesa un archivo por vez").arg(arg));
    }
    if (a.ayuda)
        return a;
    if (a.deshacer && !a.archivo.isEmpty())
        throw ArgumentosInvalidos(
            QStringLiteral("--deshacer no lee planillas: sobra \"%1\". Use sorvanta-lote --deshacer --catalogo ID")
                .arg(a.archivo));
    if (!a.deshacer && a.archivo.isEmpty())
        throw ArgumentosInvalidos(QStringLiteral("Falta el archivo de la planilla"));
    if (a.catalogo.trimmed().isEmpty())
        throw ArgumentosInvalidos(QStringLiteral("Falta el catálogo: --catalogo ID"));
    return a;
}

QString UsoLote()
{
    return QStringLiteral("Uso: sorvanta-lote ARCHIVO --catalogo ID [--campo COLUMNA=CAMPO]... [--campos-recordados]\n"
                          "                   [--quitar-guiones] [--pais TEXTO=ID]... [--paises-sugeridos]\n"
                          "                   [--reporte ARCHIVO] [--cambios ARCHIVO] [--revisar]\n"
                          "       sorvanta-lote --deshacer --catalogo ID\n"
                          "\n"
                          "Carga los artículos de la primera hoja de ARCHIVO (xlsx, xlsm, xls, ods, csv, txt) en el\n"
                          "catálogo ID, como lo hacen F11 y F12 en la ventana de Sorvanta.\n"
                          "\n"
                          "  --catalogo ID          catálogo de destino (tabla catalogo).\n"
                          "  --campo COLUMNA=CAMPO  la columna (letra, como B, o el texto de su encabezado) tiene\n"
                          "                         el campo CAMPO: ARTICULO, DESCRIPCION, \"ANEXAR DESCRIPCION\",\n"
                          "                         DESCRIPC_MARIA, NCM, KILOS_UNITARIO, PAIS_ORIGEN, OBSERVACION1,\n"
                          "                         OBSERVACION2, OBSERVACION3, UNIDAD, SUFIJOS, como F1 en la\n"
                          "                         ventana. Valen también los encabezados que ya dicen el campo,\n"
                          "                         como \"[ ARTICULO ]\". Hacen falta el artículo y uno más.\n"
                          "  --campos-recordados    las columnas que ningún --campo nombra toman el campo que la\n"
                          "                         ventana recordó para su encabezado en el catálogo ID (F11 lo\n"
                          "                         recuerda); dice en la salida de errores cuáles etiquetó.\n"
                          "  --quitar-guiones       quita los guiones de los códigos de artículo.\n"
                          "  --pais TEXTO=ID        país (id de la tabla PAIS) del origen TEXTO que la base todavía\n"
                          "                         no conoce; se guarda como lo hace la ventana \"Establecer Pais\".\n"
                          "  --paises-sugeridos     los orígenes que ningún --pais nombra toman el país que\n"
                          "                         \"Establecer Pais\" sugiere (el texto nombra un solo país, en\n"
                          "                         cualquier idioma o por su código ISO); se guardan igual y se\n"
                          "                         listan en la salida de errores. Los que no tienen sugerencia\n"
                          "                         terminan en 3.\n"
                          "  --reporte ARCHIVO      guarda la revisión como reporte separado por tabulaciones.\n"
                          "  --cambios ARCHIVO      guarda lo que la actualización cambiará en los artículos que\n"
                          "                         ya existen: una fila por campo (artículo, campo, antes,\n"
                          "                         después), separada por tabulaciones.\n"
                          "  --revisar              procesa y escribe el reporte, sin actualizar el catálogo; dice\n"
                          "                         cuántos artículos son nuevos y cuántos existentes cambian.\n"
                          "  --deshacer             deshace el último envío al catálogo ID hecho desde este\n"
                          "                         usuario y equipo con la misma conexión: borra los artículos\n"
                          "                         que insertó y devuelve los que actualizó a como estaban,\n"
                          "                         salvo los que alguien cambió después (los nombra). Un envío\n"
                          "                         se deshace una sola vez.\n"
                          "  --help                 muestra esta ayuda.\n"
                          "\n"
                          "Termina con 0 si todo se hizo, 1 ante un error (nada se informa enviado que no lo\n"
                          "esté), 2 si los argumentos no sirven, 3 si hay orígenes sin país (no se envía nada).\n");
}
