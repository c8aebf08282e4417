#include "GridCommand.h"

#include "components/ComponentRegistry.h"
#include "components/ComponentesDeVentana.h"
#include "core/AppError.h"
#include "core/modGlobal.h"
#include "files/FileSystemComponent.h"
#include "sheet/modCargaExcel.h"
#include "widgets/FlexGrid.h"
#include "widgets/MsgBox.h"

#include <QLabel>
#include <QTextStream>

namespace GridCommand {
namespace {

QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\r'))
        && !text.contains(QLatin1Char('\n')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

void printCsv(const FlexGrid &grid, QTextStream &out)
{
    for (int r = 0; r < grid.rows(); ++r) {
        for (int c = 0; c < grid.cols(); ++c) {
            if (c > 0)
                out << ',';
            out << csvField(grid.textMatrix(r, c));
        }
        out << "\r\n";
    }
}

} // namespace

int run(const QStringList &arguments)
{
    QTextStream err(stderr);
    if (arguments.size() != 1) {
        err << "usage: sorvanta-bench grid FILE" << Qt::endl;
        return 1;
    }
    const QString file = arguments.first();
    // The operator's message boxes become lines on standard error.
    bool told = false;
    MsgBox::setHandler([&err, &told](const QString &text, MsgBox::Icon, const QString &) {
        err << QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << Qt::endl;
        told = true;
    });
    try {
        ComponentesDeVentana::registrar();
        modGlobal::SistemaArchivos = ComponentRegistry::create<FileSystemComponent>(QStringLiteral("oFILES.clSistema"));
    } catch (const AppError &e) {
        err << e.what() << Qt::endl;
        return 1;
    }
    FlexGrid grid;
    QLabel lbLineas;
    if (!modCargaExcel::lf_LevantarExcel(file, grid, lbLineas)) {
        if (!told)
            err << "no grid loaded from \"" << file << "\"" << Qt::endl;
        return 1;
    }
    QTextStream out(stdout);
    printCsv(grid, out);
    out.flush();
    return 0;
}

} // namespace GridCommand
