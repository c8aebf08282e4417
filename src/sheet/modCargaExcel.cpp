#include "sheet/modCargaExcel.h"

#include "common/modGlobal.h"
#include "external/FileSystemComponent.h"
#include "platform/AppError.h"
#include "platform/ErrorNumbers.h"
#include "platform/ErrorText.h"
#include "platform/FlexGrid.h"
#include "platform/MsgBox.h"
#include "sheet/clEcxel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <memory>

namespace modCargaExcel {
namespace {

constexpr int kColumnWidthTwips = 3000;
// Repainting the caption on every row would cost more than reading the sheet.
constexpr qint64 kProgressIntervalMs = 40;

// Hourglass while alive; a message box shown meanwhile gets the normal pointer back.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { restore(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
    void restore()
    {
        if (m_active)
            QApplication::restoreOverrideCursor();
        m_active = false;
    }

private:
    bool m_active = true;
};

class Progress {
public:
    explicit Progress(QLabel &label) : m_label(label) { m_clock.start(); }
    void rowsRead(int count, bool final)
    {
        if (!final && m_shownOnce && m_clock.elapsed() < kProgressIntervalMs)
            return;
        m_label.setText(QStringLiteral("Leyendo ") + QString::number(count) + QStringLiteral(" registros..."));
        m_label.repaint();
        m_shownOnce = true;
        m_clock.restart();
    }

private:
    QLabel &m_label;
    QElapsedTimer m_clock;
    bool m_shownOnce = false;
};

struct SheetBlock {
    QString text;
    int rows = 0;
};

FileSystemComponent &sistemaArchivos(const QString &procedure)
{
    if (!modGlobal::SistemaArchivos)
        throw AppError(ErrorNumbers::kObjectNotSet, procedure, QStringLiteral("Variable de objeto o bloque With no establecido"));
    return *modGlobal::SistemaArchivos;
}

// Only blanks count, as the operator sees a path.
bool isBlank(const QString &text)
{
    for (const QChar ch : text) {
        if (ch != QLatin1Char(' '))
            return false;
    }
    return true;
}

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
    std::replace_if(clean.begin(), clean.end(), [](QChar ch) { return isControl(ch.unicode()); }, QLatin1Char(' '));
    block += clean;
}

// Header width: the run of non-empty cells of row 1 from column 1; at least 1.
int scanHeader(clEcxel &excel, FlexGrid &grid)
{
    int c = 1;
    QString text;
    do {
        text = excel.LeerCelda(1, c);
        if (!text.isEmpty()) {
            grid.setCols(c);
            ++c;
        }
    } while (!text.isEmpty());
    if (c > 1)
        --c;
    return c;
}

// Rows up to the first one whose columns 1..width are all empty, as one TAB/CR block.
SheetBlock scanRows(clEcxel &excel, int width, Progress &progress)
{
    SheetBlock block;
    int r = 1;
    bool empty = true;
    try {
        do {
            const qsizetype rowStart = block.text.size();
            if (!block.text.isEmpty())
                block.text += QLatin1Char('\r');
            const qsizetype lineStart = block.text.size();
            empty = true;
            for (int c = 1; c <= width; ++c) {
                const QString cell = excel.LeerCelda(r, c);
                if (!cell.isEmpty())
                    empty = false;
                if (c > 1)
                    block.text += QLatin1Char('\t');
                appendCell(block.text, cell);
            }
            if (block.text.size() > lineStart && !empty)
                ++r;
            else
                block.text.truncate(rowStart);
            progress.rowsRead(r - 1, false);
        } while (r < kMaxFilas + 1 && !empty);
    } catch (const AppError &) {
        progress.rowsRead(r - 1, true);
        throw;
    }
    progress.rowsRead(r - 1, true);
    block.rows = r - 1;
    return block;
}

// Filled rows after the last one a load takes, counted as the scan would have read them on,
// so the operator learns that part of the sheet was left out.
int rowsBeyondLimit(const clEcxel &excel, int width)
{
    int count = 0;
    while (!excel.FilaVacia(kMaxFilas + 1 + count, width))
        ++count;
    return count;
}

void fillGrid(FlexGrid &grid, const SheetBlock &block, int width, int &line)
{
    line = 91;
    grid.setRows(1);
    grid.setRows(block.rows);
    line = 92;
    grid.setRow(0);
    grid.setCol(0);
    grid.setRowSel(block.rows - 1);
    grid.setColSel(width - 1);
    line = 93;
    grid.setClip(block.text);
    line = 94;
    grid.setCol(0);
    grid.setRow(0);
    grid.setCol(0);
    grid.setColSel(grid.cols() - 1);
    line = 95;
    grid.setCellForeColor(QColor(0, 0, 255));
    grid.setCellFontBold(true);
    line = 96;
    grid.setFixedRows(1);
    line = 97;
    for (int i = 0; i < grid.cols(); ++i)
        grid.setColWidth(i, kColumnWidthTwips);
}

} // namespace

bool Seleccionar_Archivo_XLS(QLineEdit &TxtArchivo, QWidget *owner)
{
    const QString procedure = QStringLiteral("Trivolsa.frmMain.Seleccionar_Archivo_XLS");
    try {
        const QString path = sistemaArchivos(procedure).ShowOpen(
            QStringLiteral("Seleccionar archivo de sorvanta"), owner, QStringLiteral("xls"),
            QStringLiteral("Archivos Excel"));
        if (path.isEmpty())
            return false;
        TxtArchivo.setText(path);
        return true;
    } catch (const AppError &e) {
        MsgBox::show(ErrorText::seccionSinOrigen(e, procedure));
        return false;
    }
}

bool lf_LevantarExcel(QString p_Archivo, FlexGrid &grid, QLabel &lbLineas)
{
    WaitCursor hourglass;
    int line = 0;
    try {
        if (isBlank(p_Archivo))
            return false;
        line = 30;
        if (!sistemaArchivos(QStringLiteral("lf_LevantarExcel")).ExisteArchivo(p_Archivo)) {
            hourglass.restore();
            MsgBox::show(QStringLiteral("No se encuentra el archivo seleccionado \r\n") + p_Archivo,
                         MsgBox::Icon::Exclamation);
            return false;
        }
        line = 40;
        auto excel = std::make_unique<clEcxel>();
        excel->Archivo(p_Archivo);
        excel->Abrir(true);
        line = 50;
        grid.setCols(1);
        grid.setRows(1);
        line = 60;
        const int width = scanHeader(*excel, grid);
        line = 70;
        Progress progress(lbLineas);
        const SheetBlock block = scanRows(*excel, width, progress);
        if (block.rows == 1) {
            hourglass.restore();
            MsgBox::show(QStringLiteral("Archivo excel con Formato incorrecto, por favor edite el archivo y no "
                                        "deje muchas columnas vacias"),
                         MsgBox::Icon::Exclamation);
            return false;
        }
        // Every cell is in the block now: the workbook goes before the grid takes its copy,
        // so a large sheet is never held twice.
        const int beyond = block.rows == kMaxFilas ? rowsBeyondLimit(*excel, width) : 0;
        line = 80;
        excel->CerrarArchivo();
        excel.reset();
        fillGrid(grid, block, width, line);
        if (beyond > 0) {
            hourglass.restore();
            const QString resto = beyond == 1 ? QStringLiteral("1 fila más que no se cargó")
                                              : QStringLiteral("%1 filas más que no se cargaron").arg(beyond);
            MsgBox::show(QStringLiteral("Se cargaron %1 filas; la hoja tiene %2. Divida el archivo para procesarlas.")
                             .arg(kMaxFilas)
                             .arg(resto),
                         MsgBox::Icon::Information);
        }
        return true;
    } catch (const AppError &e) {
        hourglass.restore();
        MsgBox::show(ErrorText::levantarExcel(e, line), MsgBox::Icon::Critical);
        return false;
    }
}

} // namespace modCargaExcel
