#include "ScreensCommand.h"

#include "app/TraduccionQt.h"
#include "app/frmMain.h"
#include "catalog/VistaPrevia.h"
#include "core/UserIdentity.h"
#include "core/modGlobal.h"
#include "database/DataAccessManager.h"
#include "mapping/CampoCatalogo.h"
#include "review/PanelCambios.h"
#include "review/frmRelPais.h"
#include "sheet/modCargaExcel.h"
#include "widgets/FlexGrid.h"
#include "widgets/MsgBox.h"
#include "widgets/ReviewList.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

namespace ScreensCommand {
namespace {
QString g_out;

void settle(int ms = 150)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

void shot(QWidget *w, const QString &name)
{
    w->grab().save(g_out + QLatin1Char('/') + name);
    QTextStream(stdout) << "saved " << name << Qt::endl;
}

// A dialog drawn over the middle of the window, where the operator meets it.
void shotOver(QWidget *window, QWidget *dialog, const QString &name)
{
    QPixmap picture = window->grab();
    const QPixmap boxPicture = dialog->grab();
    const QRect place(QPoint((picture.width() - boxPicture.width()) / 2, (picture.height() - boxPicture.height()) / 2),
                      boxPicture.size());
    QPainter painter(&picture);
    painter.drawPixmap(place.topLeft(), boxPicture);
    painter.setPen(QColor(90, 90, 90));
    painter.drawRect(place.adjusted(-1, -1, 0, 0));
    painter.end();
    picture.save(g_out + QLatin1Char('/') + name);
    QTextStream(stdout) << "saved " << name << Qt::endl;
}

void press(QWidget *w, int key)
{
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &down);
}

// Answers the next modal dialog with `answer` once it shows.
void whenModal(std::function<void(QWidget *)> answer)
{
    auto *poll = new QTimer;
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, [poll, answer] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        answer(modal);
    });
    poll->start();
}

void chooseField(frmMain &w, int column, CampoCatalogo campo, bool picture)
{
    w.FRAM2_Grid()->setCol(column);
    whenModal([&w, campo, picture](QWidget *dialog) {
        auto *combo = dialog->findChild<QComboBox *>();
        combo->setCurrentIndex(int(campo));
        settle(50);
        if (picture)
            shotOver(&w, dialog, QStringLiteral("3-campo.png"));
        press(combo, Qt::Key_Return);
    });
    press(w.FRAM2_Grid(), Qt::Key_F1);
}

QString countryFor(const QString &origin)
{
    const QString o = origin.toUpper();
    if (o.contains(QLatin1String("CHINA")))
        return QStringLiteral("CHN");
    if (o.contains(QLatin1String("ALEMANIA")))
        return QStringLiteral("DEU");
    if (o.contains(QLatin1String("BRASIL")))
        return QStringLiteral("BRA");
    if (o.contains(QLatin1String("EEUU")) || o.contains(QLatin1String("ESTADOS")))
        return QStringLiteral("USA");
    if (o.contains(QLatin1String("ITALIA")))
        return QStringLiteral("ITA");
    return QStringLiteral("ARG");
}

// F12 of the second load, an article corrected by another program, then the undo: its
// question and its closing message, the real boxes over the window.
bool undo(frmMain &w)
{
    press(w.lstArticulos(), Qt::Key_F12);
    settle();
    DataAccessManager &datos = *modGlobal::AccesoDatos;
    datos.getDataConnectionByEntity(QStringLiteral("CATALOGOS"))
        ->setSql(QStringLiteral("update catarticulos set ncm = '8482.10.10' where idcatalogo = 'GEN' and idarticulo = "
                                "(select min(idarticulo) from catarticulos where idcatalogo = 'GEN')"));
    datos.getDataConnectionByEntity(QStringLiteral("CATALOGOS"))->ejecutar();
    w.lstArticulos()->selectRow(-1);
    settle();
    const MsgBox::Handler toStderr = [](const QString &text, MsgBox::Icon, const QString &) {
        QTextStream(stderr) << text << Qt::endl;
    };
    MsgBox::setHandler({});
    int shown = 0;
    whenModal([&w, &shown, toStderr](QWidget *question) {
        settle(50);
        shotOver(&w, question, QStringLiteral("9-deshacer.png"));
        ++shown;
        whenModal([&w, &shown, toStderr](QWidget *box) {
            settle(50);
            shotOver(&w, box, QStringLiteral("10-deshecho.png"));
            ++shown;
            MsgBox::setHandler(toStderr);
            press(box, Qt::Key_Return);
        });
        qobject_cast<QMessageBox *>(question)->button(QMessageBox::Yes)->click();
    });
    w.cmd_Deshacer()->click();
    settle();
    MsgBox::setHandler(toStderr);
    return shown == 2;
}

// The same list loaded again in a new window: the columns come labelled when the catalog is chosen.
// F11 over the list the first load sent: the catalog holds every article. Its descriptions
// lose the blank the insert added, so the articles whose weight the insert kept show no change.
bool foreseenChanges(frmMain &w)
{
    DataAccessManager &datos = *modGlobal::AccesoDatos;
    datos.getDataConnectionByEntity(QStringLiteral("CATALOGOS"))
        ->setSql(QStringLiteral("update catarticulos set descripcion = rtrim(descripcion)"));
    datos.getDataConnectionByEntity(QStringLiteral("CATALOGOS"))->ejecutar();
    press(w.FRAM2_Grid(), Qt::Key_F11);
    settle();
    // The article with the most changes, so the pane shows them.
    int elegido = -1;
    for (int i = 0; i < w.lstArticulos()->itemCount(); ++i) {
        const PrevisionArticulo *p = w.vistaPrevia().de(i);
        const PrevisionArticulo *antes = w.vistaPrevia().de(elegido);
        if (p && p->tipo == Prevision::Cambia && (!antes || p->cambios.size() > antes->cambios.size()))
            elegido = i;
    }
    w.lstArticulos()->selectRow(elegido);
    settle();
    shot(&w, QStringLiteral("8-cambios.png"));
    return w.panelCambios()->isVisible() && undo(w);
}

bool secondLoad(const QString &workbook)
{
    frmMain w;
    if (!w.Form_Load())
        return false;
    w.resize(1440, 640);
    w.show();
    settle();
    // The first load's send, offered for undoing as the window starts.
    shot(&w, QStringLiteral("7-oferta.png"));
    w.TxtArchivo()->setText(workbook);
    if (!w.LevantarArchivo())
        return false;
    w.cboCatalogos()->setCurrentIndex(w.cboIdCatalogo()->findText(QStringLiteral("GEN")));
    settle();
    shot(&w, QStringLiteral("7-segunda-carga.png"));
    return foreseenChanges(w);
}

void answerCountries(QWidget *window, int *asked)
{
    whenModal([window, asked](QWidget *modal) {
        auto *dialog = qobject_cast<frmRelPais *>(modal);
        if (!dialog)
            return;
        // A suggested country is taken as it comes, with F11 alone, as the operator takes it.
        if (!dialog->lblSugerido()->isVisible())
            dialog->cboPais()->setCurrentIndex(dialog->cboidPais()->findText(countryFor(dialog->txtValor()->text())));
        settle(50);
        if ((*asked)++ == 0)
            shotOver(window, dialog, QStringLiteral("4-pais.png"));
        answerCountries(window, asked);
        press(dialog->txtESM(), Qt::Key_F11);
    });
}
} // namespace

int run(const QStringList &arguments)
{
    QTextStream err(stderr);
    if (arguments.size() != 2) {
        err << "usage: sorvanta-bench screens WORKBOOK OUTDIR" << Qt::endl;
        return 2;
    }
    g_out = QFileInfo(arguments[1]).absoluteFilePath();
    QDir().mkpath(g_out);
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toUtf8());
    const auto toStderr = [&err](const QString &text, MsgBox::Icon, const QString &) { err << text << Qt::endl; };
    MsgBox::setHandler(toStderr);

    // The pictures name an operator and a computer of no real machine.
    UserIdentity::setUserNameSource([] { return std::optional<QString>(QStringLiteral("operador")); });
    UserIdentity::setComputerNameSource([] { return std::optional<QString>(QStringLiteral("PUESTO1")); });
    // As the program starts: Qt's own dialogs in Spanish.
    if (!InstalarTraduccionQt())
        err << "Qt's Spanish translations not found (qt6-translations-l10n)" << Qt::endl;
    frmMain w;
    if (!w.Form_Load())
        return 1;
    w.resize(1440, 640);
    w.show();
    settle();
    shot(&w, QStringLiteral("1-inicio.png"));

    // Only the file name in the file box: the pictures show no folder of this machine.
    const QFileInfo workbook(arguments[0]);
    QDir::setCurrent(workbook.absolutePath());
    whenModal([&w](QWidget *dialog) {
        settle(300);
        shotOver(&w, dialog, QStringLiteral("1-archivo.png"));
        press(dialog, Qt::Key_Escape);
    });
    modCargaExcel::Seleccionar_Archivo_XLS(*w.TxtArchivo(), &w);
    w.TxtArchivo()->setText(workbook.fileName());
    if (!w.LevantarArchivo())
        return 1;
    settle();
    shot(&w, QStringLiteral("2-planilla.png"));

    w.cboCatalogos()->setCurrentIndex(w.cboIdCatalogo()->findText(QStringLiteral("GEN")));
    const CampoCatalogo campos[] = {
        CampoCatalogo::Articulo,      CampoCatalogo::Descripcion, CampoCatalogo::DescripcMaria, CampoCatalogo::Ncm,
        CampoCatalogo::KilosUnitario, CampoCatalogo::PaisOrigen,  CampoCatalogo::Observacion1};
    for (int c = 0; c < 7 && c < w.FRAM2_Grid()->cols(); ++c)
        chooseField(w, c, campos[c], c == 5);
    w.FRAM2_Grid()->setCol(0);
    settle();
    shot(&w, QStringLiteral("3-campos.png"));

    int asked = 0;
    answerCountries(&w, &asked);
    press(w.FRAM2_Grid(), Qt::Key_F11);
    settle();
    if (w.lstArticulos()->itemCount() > 2)
        w.lstArticulos()->setChecked(2, false);
    settle();
    shot(&w, QStringLiteral("5-revision.png"));

    // The real box this time: the picture shows what the operator reads after F12.
    MsgBox::setHandler({});
    bool told = false;
    whenModal([&w, &told, toStderr](QWidget *box) {
        settle(50);
        shotOver(&w, box, QStringLiteral("6-enviado.png"));
        told = true;
        MsgBox::setHandler(toStderr);
        press(box, Qt::Key_Return);
    });
    press(w.lstArticulos(), Qt::Key_F12);
    settle();
    if (!told)
        err << "F12 showed no message" << Qt::endl;
    return told && secondLoad(workbook.fileName()) ? 0 : 1;
}
} // namespace ScreensCommand
