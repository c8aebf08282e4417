#include "GridCommand.h"
#include "LoadCommand.h"
#include "ProcessCommand.h"
#include "RelayCommand.h"
#include "ScreensCommand.h"
#include "SendCommand.h"

#include "core/HugePages.h"
#include "core/modGlobal.h"
#include "widgets/AppFont.h"

#include <QApplication>
#include <QTextStream>

// Benchmarks of the whole program on large workbooks; never run by the tests.
// One file per subcommand; this only dispatches.
namespace {
struct Subcommand {
    const char *name;
    const char *usage;
    int (*run)(const QStringList &arguments);
};

const Subcommand kSubcommands[] = {
    {"grid", "grid FILE", &GridCommand::run},
    {"load", "load [--split] FILE", &LoadCommand::run},
    {"process", "process [--postgres [--fsync] [--latencia MS]] FILE", &ProcessCommand::run},
    {"relay", "relay PORT MS [SECONDS]", &RelayCommand::run},
    {"screens", "screens WORKBOOK OUTDIR", &ScreensCommand::run},
    {"send", "send [--una-por-una] [--postgres [--fsync] [--latencia MS]] FILE", &SendCommand::run},
};
} // namespace

int main(int argc, char *argv[])
{
    HugePages::enableForHeap(argv);
    QApplication app(argc, argv);
    AppFont::ensureTahoma();
    // Database connections must close while the application object still exists.
    struct ReleaseGlobals {
        ~ReleaseGlobals() { modGlobal::reset(); }
    } releaseGlobals;
    QStringList arguments = QApplication::arguments().mid(1);
    if (!arguments.isEmpty()) {
        const QString name = arguments.takeFirst();
        for (const Subcommand &sub : kSubcommands) {
            if (name == QLatin1String(sub.name))
                return sub.run(arguments);
        }
    }
    QTextStream err(stderr);
    err << "usage:\n";
    for (const Subcommand &sub : kSubcommands)
        err << "  sorvanta-bench " << sub.usage << "\n";
    return 2;
}
