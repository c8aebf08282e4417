#include "sheet/modCargaExcel.h"

#include "core/AppError.h"
#include "core/ErrorNumbers.h"
#include "core/ErrorText.h"
#include "core/modGlobal.h"
#include "files/FileSystemComponent.h"
#include "sheet/LecturaHoja.h"
#include "widgets/FlexGrid.h"
#include "widgets/MsgBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>

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

FileSystemComponent &sistemaArchivos(const QString &procedure)
{
    if (!modGlobal::SistemaArchivos)
        throw AppError(ErrorNumbers::kObjectNotSet, procedure,
                       QStringLiteral("Variable de objeto o bloque With no establecido"));
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

void fillGrid(FlexGrid &grid, const BloqueHoja &block, int &line)
{
    line = 91;
    grid.setRows(1);
    grid.setRows(block.filas);
    line = 92;
    grid.setRow(0);
    grid.setCol(0);
    grid.setRowSel(block.filas - 1);
    grid.setColSel(block.columnas - 1);
    line = 93;
    grid.setClip(block.texto);
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
        const QString path = sistemaArchivos(procedure).ShowOpen(QStringLiteral("Seleccionar archivo de sorvanta"),
                                                                 owner, QStringLiteral("xls"),
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
        Progress progress(lbLineas);
        PasosLectura pasos;
        pasos.abierta = [&grid] {
            grid.setCols(1);
            grid.setRows(1);
        };
        pasos.encabezado = [&grid](int columna) { grid.setCols(columna); };
        pasos.avance = [&progress](int filas, bool final) { progress.rowsRead(filas, final); };
        const BloqueHoja block = LeerHoja(p_Archivo, pasos, line);
        if (block.filas == 1) {
            hourglass.restore();
            MsgBox::show(QStringLiteral("Archivo excel con Formato incorrecto, por favor edite el archivo y no "
                                        "deje muchas columnas vacias"),
                         MsgBox::Icon::Exclamation);
            return false;
        }
        fillGrid(grid, block, line);
        if (block.filasFuera > 0) {
            hourglass.restore();
            MsgBox::show(MensajeFilasFuera(block.filasFuera), MsgBox::Icon::Information);
        }
        return true;
    } catch (const AppError &e) {
        hourglass.restore();
        MsgBox::show(ErrorText::levantarExcel(e, line), MsgBox::Icon::Critical);
        return false;
    }
}

} // namespace modCargaExcel
