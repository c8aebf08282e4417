#include "ProcessCommand.h"

#include "PrivateServer.h"
#include "ProcessMemory.h"

#include "app/frmMain.h"
#include "catalog/VistaPrevia.h"
#include "core/AppError.h"
#include "core/modGlobal.h"
#include "database/DataAccessManager.h"
#include "mapping/CampoCatalogo.h"
#include "mapping/MapaDeEncabezados.h"
#include "modelos/GridModel.h"
#include "modelos/ReviewListModel.h"
#include "review/ProcesoArticulos.h"
#include "sheet/modCargaExcel.h"
#include "widgets/FlexGrid.h"
#include "widgets/MsgBox.h"
#include "widgets/ReviewList.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QSet>
#include <QTemporaryDir>
#include <QTextStream>

namespace ProcessCommand {
namespace {
const QString kCatalogo = QStringLiteral("GEN");

void execute(const QString &sql)
{
    DataAccessManager &datos = *modGlobal::AccesoDatos;
    datos.getDataConnectionByEntity(QStringLiteral("CATALOGOS"))->setSql(sql);
    datos.getDataConnectionByEntity(QStringLiteral("CATALOGOS"))->ejecutar();
}

QString quoted(QString v)
{
    return QLatin1Char('\'') + v.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

int columnOf(const FlexGrid &grid, const QString &header)
{
    for (int c = 0; c < grid.cols(); ++c)
        if (grid.textMatrix(0, c) == header)
            return c;
    return -1;
}

bool mapColumns(FlexGrid &grid)
{
    const std::pair<const char *, CampoCatalogo> map[] = {{"Codigo", CampoCatalogo::Articulo},
                                                          {"Descripcion", CampoCatalogo::Descripcion},
                                                          {"NCM", CampoCatalogo::Ncm},
                                                          {"Peso Neto", CampoCatalogo::KilosUnitario},
                                                          {"Origen", CampoCatalogo::PaisOrigen}};
    for (const auto &[header, campo] : map) {
        const int c = columnOf(grid, QString::fromLatin1(header));
        if (c < 0)
            return false;
        grid.setTextMatrix(0, c, etiquetaCampo(campo));
    }
    return true;
}

// Every other article already in the catalog; every origin text already learned.
void seedCatalog(const FlexGrid &grid)
{
    const int articulo = columnOf(grid, etiquetaCampo(CampoCatalogo::Articulo));
    const int pais = columnOf(grid, etiquetaCampo(CampoCatalogo::PaisOrigen));
    QSet<QString> origenes;
    for (int r = 1; r < grid.rows(); ++r) {
        if (r % 2 == 0)
            execute(QStringLiteral("insert into catarticulos (idcatalogo, idarticulo, descripcion, ncm) values (")
                    + quoted(kCatalogo) + QLatin1Char(',') + quoted(grid.textMatrix(r, articulo))
                    + QStringLiteral(", 'anterior', '0000.00.00')"));
        const QString origen = grid.textMatrix(r, pais).replace(QLatin1Char('\''), QLatin1Char(' '));
        if (!origen.isEmpty())
            origenes.insert(origen);
    }
    for (const QString &origen : std::as_const(origenes))
        execute(QStringLiteral("insert into ORG (PAI, ORI, ESM) values (") + quoted(origen)
                + QStringLiteral(", 'ARG', '1')"));
}
} // namespace

bool prepare(const QString &file, frmMain &window, QTemporaryDir &home)
{
    QTextStream err(stderr);
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toUtf8());
    // Outlives this function: every message box of the run goes to standard error.
    MsgBox::setHandler([](const QString &text, MsgBox::Icon, const QString &title) {
        QTextStream(stderr) << "[" << title << "] " << text << Qt::endl;
    });
    if (!window.Form_Load())
        return false;
    window.resize(1200, 800);
    window.show();
    if (!modCargaExcel::lf_LevantarExcel(file, *window.FRAM2_Grid(), *window.lbLineas())
        || !mapColumns(*window.FRAM2_Grid())) {
        err << "could not load and map " << file << Qt::endl;
        return false;
    }
    try {
        seedCatalog(*window.FRAM2_Grid());
    } catch (const AppError &e) {
        err << e.what() << Qt::endl;
        return false;
    }
    window.cboCatalogos()->setCurrentIndex(window.cboIdCatalogo()->findText(kCatalogo));
    return true;
}

// F11's operation on the loaded grid, as the window's F11 calls it, without the window's
// progress painting: the seconds it took, or -1 when it failed.
double pressF11(frmMain &window)
{
    const GridModel &grilla = *window.FRAM2_Grid()->gridModel();
    QStringList encabezados;
    for (int c = 0; c < grilla.cols(); ++c)
        encabezados << grilla.text(0, c);
    ReviewListModel &lista = *window.lstArticulos()->listModel();
    modGlobal::IdCatalogoActual = kCatalogo;
    PasosProceso pasos;
    pasos.avance = [](int, bool) {};
    // Every origin text was learned beforehand: a question would mean a fault.
    bool preguntado = false;
    pasos.preguntarPais = [&preguntado](const QString &) {
        preguntado = true;
        return RelacionPais{};
    };
    QElapsedTimer clock;
    clock.start();
    try {
        const RegMapaCampos mapa = MapaDeEncabezados(encabezados);
        ValidarMapa(mapa);
        PrepararColumnasRevision(lista);
        // As the window does: what F12 would change is worked out on the way.
        VistaPrevia vista;
        ProcesarFilas(grilla, mapa, {kCatalogo, false}, lista, pasos, &vista);
    } catch (const AppError &e) {
        QTextStream(stderr) << e.what() << Qt::endl;
        return -1;
    }
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    return preguntado ? -1 : seconds;
}

int run(const QStringList &arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    QTemporaryDir home;
    PrivateServer server(home.path());
    QStringList rest = arguments;
    const int prepared = server.fromArguments(rest, home.path(), err);
    if (prepared != 0 || rest.size() != 1) {
        err << "usage: sorvanta-bench process " << PrivateServer::kUsage << " FILE" << Qt::endl;
        return prepared ? prepared : 2;
    }
    frmMain window;
    if (!prepare(rest.first(), window, home))
        return 1;
    const qint64 rssBefore = ProcessMemory::residentKiB();
    const double seconds = pressF11(window);
    const qint64 rssAfter = ProcessMemory::residentKiB();
    out << "process_s=" << QString::number(seconds, 'f', 3) << " items=" << window.lstArticulos()->itemCount()
        << " rss_growth_mib=" << QString::number(double(rssAfter - rssBefore) / 1024.0, 'f', 1) << Qt::endl;
    return seconds < 0 ? 1 : 0;
}
} // namespace ProcessCommand
