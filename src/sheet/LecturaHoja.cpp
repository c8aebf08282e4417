#include "sheet/LecturaHoja.h"

#include "core/AppError.h"
#include "sheet/clEcxel.h"

#include <algorithm>
#include <malloc.h>
#include <memory>

namespace {

constexpr int kRowsPerRelease = 4096;

bool isControl(char16_t ch)
{
    return ch < u' ';
}

// A TAB or line break inside a cell would move every later cell of the row when pasted, and
// a NUL would cut short the statement the cell ends up in: every control character is a blank.
void appendCell(QString &block, const QString &cell)
{
    const char16_t *begin = reinterpret_cast<const char16_t *>(cell.utf16());
    const char16_t *end = begin + cell.size();
    if (std::none_of(begin, end, isControl)) {
        block += cell;
        return;
    }
    QString clean = cell;
    std::replace_if(
        clean.begin(), clean.end(), [](QChar ch) { return isControl(ch.unicode()); }, QLatin1Char(' '));
    block += clean;
}

// The block holds the rows read: the workbook's copy of them goes as the block grows, and
// the heap gives the freed pages back, so a long sheet is never held twice.
void releaseRowsRead(clEcxel &excel, int row)
{
    excel.OlvidarFilasAntesDe(row);
    malloc_trim(0);
}

// Header width: the run of non-empty cells of row 1 from column 1; at least 1.
int scanHeader(clEcxel &excel, const PasosLectura &pasos)
{
    int c = 1;
    QString text;
    do {
        text = excel.LeerCelda(1, c);
        if (!text.isEmpty()) {
            pasos.encabezado(c);
            ++c;
        }
    } while (!text.isEmpty());
    if (c > 1)
        --c;
    return c;
}

// Rows up to the first one whose columns 1..width are all empty, as one TAB/CR block.
BloqueHoja scanRows(clEcxel &excel, int width, int maxRows, const PasosLectura &pasos)
{
    BloqueHoja block;
    int r = 1;
    bool empty = true;
    try {
        do {
            const qsizetype rowStart = block.texto.size();
            if (!block.texto.isEmpty())
                block.texto += QLatin1Char('\r');
            const qsizetype lineStart = block.texto.size();
            empty = true;
            for (int c = 1; c <= width; ++c) {
                const QString cell = excel.LeerCelda(r, c);
                if (!cell.isEmpty())
                    empty = false;
                if (c > 1)
                    block.texto += QLatin1Char('\t');
                appendCell(block.texto, cell);
            }
            if (block.texto.size() > lineStart && !empty)
                ++r;
            else
                block.texto.truncate(rowStart);
            pasos.avance(r - 1, false);
            if (r % kRowsPerRelease == 0)
                releaseRowsRead(excel, r);
        } while (r < maxRows + 1 && !empty);
    } catch (const AppError &) {
        pasos.avance(r - 1, true);
        throw;
    }
    pasos.avance(r - 1, true);
    block.filas = r - 1;
    return block;
}

// Filled rows after the last one a load takes, counted as the scan would have read them on,
// so the operator learns that part of the sheet was left out.
int rowsBeyondLimit(const clEcxel &excel, int width, int maxRows)
{
    int count = 0;
    while (!excel.FilaVacia(maxRows + 1 + count, width))
        ++count;
    return count;
}

} // namespace

QString MensajeFilasFuera(int filasFuera)
{
    const QString resto = filasFuera == 1 ? QStringLiteral("1 fila más que no se cargó")
                                          : QStringLiteral("%1 filas más que no se cargaron").arg(filasFuera);
    return QStringLiteral("Se cargaron %1 filas; la hoja tiene %2. Divida el archivo para procesarlas.")
        .arg(modCargaExcel::kMaxFilas)
        .arg(resto);
}

BloqueHoja LeerHoja(const QString &p_Archivo, const PasosLectura &pasos, int &linea, int maxFilas)
{
    linea = 40;
    auto excel = std::make_unique<clEcxel>();
    excel->Archivo(p_Archivo);
    if (maxFilas != modCargaExcel::kMaxFilas)
        excel->FilasGuardadas(maxFilas);
    excel->Abrir(true);
    linea = 50;
    pasos.abierta();
    linea = 60;
    const int width = scanHeader(*excel, pasos);
    linea = 70;
    BloqueHoja block = scanRows(*excel, width, maxFilas, pasos);
    block.columnas = width;
    if (block.filas == maxFilas)
        block.filasFuera = rowsBeyondLimit(*excel, width, maxFilas);
    // Every cell is in the block now: the workbook goes before a grid takes its copy, so a
    // large sheet is never held twice. A sheet of only its header is left open.
    linea = 80;
    if (block.filas > 1)
        excel->CerrarArchivo();
    return block;
}
