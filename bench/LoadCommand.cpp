#include "LoadCommand.h"

#include "ProcessMemory.h"

#include "app/frmMain.h"
#include "components/ComponentRegistry.h"
#include "components/ComponentesDeVentana.h"
#include "core/AppError.h"
#include "core/modGlobal.h"
#include "files/FileSystemComponent.h"
#include "sheet/clEcxel.h"
#include "sheet/modCargaExcel.h"
#include "widgets/FlexGrid.h"
#include "widgets/MsgBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTextStream>
#include <ctime>

namespace LoadCommand {
namespace {

QString seconds(qint64 ns)
{
    return QString::number(double(ns) / 1e9, 'f', 3);
}

qint64 cpuSince(std::clock_t start)
{
    return qint64(double(std::clock() - start) * 1e9 / CLOCKS_PER_SEC);
}

QString mib(qint64 kib)
{
    return QString::number(double(kib) / 1024.0, 'f', 1);
}

// Where the processor time goes, without the grid: opening (the reader) and reading every
// cell the load reads. Run in a fresh wrapper so the load below is measured on its own.
void printSplit(const QString &file, QTextStream &out)
{
    clEcxel excel;
    excel.Archivo(file);
    std::clock_t cpu = std::clock();
    excel.Abrir(true);
    const qint64 openNs = cpuSince(cpu);
    int width = 0;
    while (!excel.LeerCelda(1, width + 1).isEmpty())
        ++width;
    int rows = 0;
    qint64 chars = 0;
    cpu = std::clock();
    for (int r = 1; r <= modCargaExcel::kMaxFilas; ++r) {
        bool empty = true;
        for (int c = 1; c <= width; ++c) {
            const QString text = excel.LeerCelda(r, c);
            chars += text.size();
            empty = empty && text.isEmpty();
        }
        if (empty)
            break;
        ++rows;
    }
    const qint64 readNs = cpuSince(cpu);
    excel.CerrarArchivo();
    out << "split cpu: open_s=" << seconds(openNs) << " leercelda_s=" << seconds(readNs) << " rows=" << rows
        << " cols=" << width << " chars=" << chars << Qt::endl;
}

} // namespace

int run(const QStringList &arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    const bool split = arguments.contains(QStringLiteral("--split"));
    QStringList files = arguments;
    files.removeAll(QStringLiteral("--split"));
    if (files.size() != 1) {
        err << "usage: sorvanta-bench load [--split] FILE" << Qt::endl;
        return 2;
    }
    const QString file = files.first();
    MsgBox::setHandler([&err](const QString &text, MsgBox::Icon, const QString &title) {
        err << "[" << title << "] " << text << Qt::endl;
    });
    try {
        ComponentesDeVentana::registrar();
        modGlobal::SistemaArchivos = ComponentRegistry::create<FileSystemComponent>(QStringLiteral("oFILES.clSistema"));
        if (split)
            printSplit(file, out);
    } catch (const AppError &e) {
        err << e.what() << Qt::endl;
        return 1;
    }

    // The real main window, shown, so the grid lays out and paints as the operator's does.
    frmMain window;
    window.resize(1024, 700);
    window.show();
    QLabel *lbLineas = window.lbLineas();
    FlexGrid *grid = window.FRAM2_Grid();

    const qint64 rssBefore = ProcessMemory::residentKiB();
    QElapsedTimer clock;
    clock.start();
    // Processor time too: on a busy machine it says more than the wall clock.
    const std::clock_t cpuStart = std::clock();
    const bool filled = modCargaExcel::lf_LevantarExcel(file, *grid, *lbLineas);
    const qint64 levantarNs = clock.nsecsElapsed();
    // The operator waits until the filled grid is painted.
    QApplication::processEvents();
    const qint64 loadNs = clock.nsecsElapsed();
    const qint64 cpuNs = cpuSince(cpuStart);
    const qint64 rssAfter = ProcessMemory::residentKiB();

    out << "caption=\"" << lbLineas->text() << "\" levantar_s=" << seconds(levantarNs)
        << " paint_s=" << seconds(loadNs - levantarNs) << " cpu_s=" << seconds(cpuNs)
        << " peak_rss_mib=" << mib(ProcessMemory::peakResidentKiB()) << " rss_before_mib=" << mib(rssBefore)
        << Qt::endl;
    out << "load_s=" << seconds(loadNs) << " rows=" << grid->rows() << " cols=" << grid->cols()
        << " rss_growth_mib=" << mib(rssAfter - rssBefore) << Qt::endl;
    return filled ? 0 : 1;
}

} // namespace LoadCommand
