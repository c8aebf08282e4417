#include "app/frmMain.h"

#include "app/CargarCatalogos.h"
#include "app/DeshacerEnvioVentana.h"
#include "app/IconoPrograma.h"
#include "app/Mod_Main.h"
#include "catalog/EnviarCatalogos.h"
#include "catalog/VistaPrevia.h"
#include "components/ComponentRegistry.h"
#include "components/ComponentesDeVentana.h"
#include "core/AppError.h"
#include "core/ErrorNumbers.h"
#include "core/ErrorText.h"
#include "core/SettingsStore.h"
#include "core/VersionInfo.h"
#include "core/modGlobal.h"
#include "core/modTexto.h"
#include "database/DataAccessManager.h"
#include "files/FileSystemComponent.h"
#include "mapping/EtiquetasRecordadas.h"
#include "mapping/SeleccionarCampo.h"
#include "report/ExportarReporte.h"
#include "review/PanelCambios.h"
#include "review/ProcesarArticulos.h"
#include "sheet/modCargaExcel.h"
#include "widgets/FlexGrid.h"
#include "widgets/MsgBox.h"
#include "widgets/ReviewList.h"
#include "widgets/Twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <cmath>

namespace {
const QString kCaptionDisenado = QStringLiteral("Sorvanta de Catalogos");
// Designed inner size of the window and the grid's designed corner, in twips.
constexpr int kAnchoDisenado = 11640;
constexpr int kAltoDisenado = 6975;
constexpr int kGrillaLeft = 60;
constexpr int kGrillaTop = 2085;
constexpr int kListaLeft = 165;
constexpr int kListaTop = 2595;
constexpr int kMargen = 80;
// Height of the pane under the review list that shows what F12 will change.
constexpr int kAltoCambios = 1500;

// Rounded to a 16-bit integer, halves to even.
int aEntero16(double valor)
{
    const double redondeado = std::nearbyint(valor);
    if (redondeado < -32768 || redondeado > 32767)
        throw AppError(ErrorNumbers::kOverflow, QStringLiteral("Sorvanta"), QStringLiteral("Desbordamiento"));
    return static_cast<int>(redondeado);
}
} // namespace

frmMain::frmMain(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kCaptionDisenado);
    QPalette fondo = palette();
    fondo.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xE0));
    setPalette(fondo);
    setAutoFillBackground(true);
    QFont fuente(QStringLiteral("Tahoma"));
    fuente.setPointSizeF(8.25);
    setFont(fuente);
    construirControles();
    resize(Twips::toPixelsX(kAnchoDisenado, this), Twips::toPixelsY(kAltoDisenado, this));
    qApp->installEventFilter(this);
}

frmMain::~frmMain()
{
    qApp->removeEventFilter(this);
}

void frmMain::place(QWidget *w, int left, int top, int width, int height) const
{
    w->setGeometry(Twips::toPixelsX(left, this), Twips::toPixelsY(top, this), Twips::toPixelsX(width, this),
                   Twips::toPixelsY(height, this));
}

QLabel *frmMain::nuevaEtiqueta(QWidget *parent, const QString &name, const QString &text, bool bold, qreal points)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont f = font();
    f.setBold(bold);
    if (points > 0)
        f.setPointSizeF(points);
    label->setFont(f);
    return label;
}

void frmMain::construirControles()
{
    m_fram2 = new QFrame(this);
    m_fram2->setObjectName(QStringLiteral("FRAM2"));
    place(m_fram2, 0, 0, 11595, 2055);

    m_image5 = nuevaEtiqueta(m_fram2, QStringLiteral("Image5"), QString(), false);
    m_image5->setPixmap(IconoPrograma::pixmap(32));
    m_image5->setAlignment(Qt::AlignCenter);
    place(m_image5, 180, 210, 480, 480);

    m_label4 = nuevaEtiqueta(m_fram2, QStringLiteral("Label4"), QStringLiteral("1 - Seleccione el archivo a procesar"),
                             true);
    place(m_label4, 720, 90, 3075, 195);
    m_txtArchivo = new QLineEdit(m_fram2);
    m_txtArchivo->setObjectName(QStringLiteral("TxtArchivo"));
    place(m_txtArchivo, 720, 390, 5415, 285);
    m_cmdProcesar = new QPushButton(QStringLiteral("..."), m_fram2);
    m_cmdProcesar->setObjectName(QStringLiteral("FRAM2_CmdProcesar"));
    place(m_cmdProcesar, 6225, 390, 495, 285);
    m_lbLineas = nuevaEtiqueta(m_fram2, QStringLiteral("lbLineas"), QString(), false);
    m_lbLineas->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(m_lbLineas, 3915, 90, 2220, 420);

    m_label = nuevaEtiqueta(m_fram2, QStringLiteral("Label"), QStringLiteral("2 - seleccione Catalogo a procesar"),
                            true);
    place(m_label, 750, 780, 5325, 225);
    m_cboIdCatalogo = new QComboBox(m_fram2);
    m_cboIdCatalogo->setObjectName(QStringLiteral("cboIdCatalogo"));
    m_cboIdCatalogo->setEditable(true);
    place(m_cboIdCatalogo, 840, 1050, 1815, 315);
    m_cboIdCatalogo->hide();
    m_cboCatalogos = new QComboBox(m_fram2);
    m_cboCatalogos->setObjectName(QStringLiteral("cboCatalogos"));
    m_cboCatalogos->setPlaceholderText(QStringLiteral("Seleccione un catálogo"));
    place(m_cboCatalogos, 720, 1050, 4725, 315);

    m_label1 = nuevaEtiqueta(m_fram2, QStringLiteral("label1"),
                             QStringLiteral("3 - Seleccioner Campos con [F1]  4 - Procesar archivo [F11]"), true, 9.75);
    place(m_label1, 5640, 1110, 5925, 225);
    m_label2 = nuevaEtiqueta(m_fram2, QStringLiteral("label2"), QStringLiteral("5 - Actualizar Catalogos [F12]"), true,
                             12);
    place(m_label2, 5610, 1440, 5685, 315);
    m_label2->hide();
    m_lbCamposRecordados = nuevaEtiqueta(m_fram2, QStringLiteral("lbCamposRecordados"), QString(), false);
    place(m_lbCamposRecordados, 5640, 1400, 5925, 225);

    m_prgBar = new QProgressBar(m_fram2);
    m_prgBar->setObjectName(QStringLiteral("prgBar"));
    m_prgBar->setTextVisible(false);
    place(m_prgBar, 720, 1500, 4695, 255);

    m_lbHojaCalculo = nuevaEtiqueta(m_fram2, QStringLiteral("lbHojaCalculo"), QString(), false);
    place(m_lbHojaCalculo, 6960, 420, 4605, 195);
    m_chkRemoveGuion = new QCheckBox(QStringLiteral("Remover Guion del Codigo de Articulo"), m_fram2);
    m_chkRemoveGuion->setObjectName(QStringLiteral("chk_removeguion"));
    place(m_chkRemoveGuion, 7335, 435, 4140, 210);
    connect(m_chkRemoveGuion, &QCheckBox::stateChanged, this, &frmMain::chk_removeguion_Click);
    // Grey is a stored state only; the operator's click goes back to plain on/off.
    connect(m_chkRemoveGuion, &QCheckBox::clicked, this, [this] { m_chkRemoveGuion->setTristate(false); });

    m_lblUser = nuevaEtiqueta(m_fram2, QStringLiteral("LblUser"), QStringLiteral("User:"), true);
    place(m_lblUser, 7335, 105, 435, 195);

    m_cmdExportar = new QPushButton(QStringLiteral("Exportar Reporte"), m_fram2);
    m_cmdExportar->setObjectName(QStringLiteral("cmd_Exportar"));
    place(m_cmdExportar, 9585, 1470, 1860, 300);
    m_cmdExportar->hide();
    // In both states, under the check box and in line with the export button: the offer at
    // start-up is taken before any sheet is loaded.
    m_cmdDeshacer = new QPushButton(QStringLiteral("Deshacer último envío"), m_fram2);
    m_cmdDeshacer->setObjectName(QStringLiteral("cmd_Deshacer"));
    place(m_cmdDeshacer, 9195, 720, 2250, 300);
    m_cmdDeshacer->setEnabled(false);
    m_lbDeshacer = nuevaEtiqueta(m_fram2, QStringLiteral("lbDeshacer"), QString(), false);
    place(m_lbDeshacer, 720, 1785, 10725, 225);

    m_grid = new FlexGrid(this);
    m_grid->setObjectName(QStringLiteral("FRAM2_Grid"));
    place(m_grid, kGrillaLeft, kGrillaTop, 9645, 4635);
    m_lstArticulos = new ReviewList(this);
    m_lstArticulos->setObjectName(QStringLiteral("lstArticulos"));
    place(m_lstArticulos, kListaLeft, kListaTop, 9525, 3645);
    m_lstArticulos->hide();
    PrepararColumnasRevision(*m_lstArticulos);
    m_vistaPrevia = std::make_unique<VistaPrevia>();
    m_panelCambios = new PanelCambios(*m_lstArticulos, *m_vistaPrevia, this);
    m_panelCambios->hide();

    connect(m_cmdProcesar, &QPushButton::clicked, this, &frmMain::FRAM2_CmdProcesar_Click);
    connect(m_cmdExportar, &QPushButton::clicked, this, &frmMain::cmd_Exportar_Click);
    connect(m_cmdDeshacer, &QPushButton::clicked, this, &frmMain::cmd_Deshacer_Click);
    connect(m_cboCatalogos, &QComboBox::currentIndexChanged, this, &frmMain::etiquetarCamposRecordados);
    connect(m_cboCatalogos, &QComboBox::currentIndexChanged, this, [this] {
        m_catalogoOfrecido.clear();
        m_lbDeshacer->clear();
        actualizarDeshacer();
    });
}

bool frmMain::Form_Load()
{
    if (!GetUserData())
        return false;
    int linea = 2;
    try {
        setWindowTitle(windowTitle() + QStringLiteral(" - versión: ") + VersionInfo::text() + QStringLiteral(" - ")
                       + VersionInfo::fileDescription() + QStringLiteral("     User: ") + modGlobal::UsuarioSesion);
        linea = 3;
        m_lblUser->setText(QStringLiteral("User: ") + modGlobal::UsuarioSesion);
        m_lblUser->adjustSize();
        // Reaching a server may take seconds: the operator sees the window meanwhile.
        mostrarAntesDeConectar();
        iniciarComponentes(linea);
        linea = 6;
        CargarCatalogos(*m_cboCatalogos, *m_cboIdCatalogo);
        linea = 7;
        leerOpcionGuion();
    } catch (const AppError &e) {
        if (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
        MsgBox::show(ErrorText::seccion(e, QStringLiteral("Form_Load.frmMain.Sorvanta"), linea));
        return true;
    }
    if (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    ofrecerDeshacer();
    return true;
}

void frmMain::ofrecerDeshacer()
{
    const std::optional<DiarioEnvios::Entrada> envio = EnvioDeshacible(QString());
    if (!envio)
        return;
    m_catalogoOfrecido = envio->catalogo;
    m_lbDeshacer->setText(TextoOfertaDeshacer(*envio));
    actualizarDeshacer();
}

void frmMain::actualizarDeshacer()
{
    const QString catalogo = catalogoElegido().isEmpty() ? m_catalogoOfrecido : catalogoElegido();
    m_cmdDeshacer->setEnabled(!catalogo.isEmpty() && EnvioDeshacible(catalogo).has_value());
}

void frmMain::cmd_Deshacer_Click()
{
    const QScopedValueRollback<bool> enAccion(m_enAccion, true);
    const QString catalogo = catalogoElegido().isEmpty() ? m_catalogoOfrecido : catalogoElegido();
    if (catalogo.isEmpty())
        return;
    const bool deshecho = DeshacerEnvioElegido(catalogo, *m_prgBar);
    m_lbDeshacer->clear();
    m_catalogoOfrecido.clear();
    // The review was made against the catalog as the send found it: F12 of it would send the
    // same mistake again, so F11 must read the catalog anew first.
    if (deshecho && !m_label2->isHidden() && catalogo.compare(modGlobal::IdCatalogoActual, Qt::CaseInsensitive) == 0)
        volverACargar();
    actualizarDeshacer();
}

void frmMain::volverACargar()
{
    m_listaEnviada = false;
    m_panelCambios->hide();
    m_lstArticulos->hide();
    m_label2->hide();
    m_cmdExportar->hide();
    m_label1->show();
    m_grid->show();
    try {
        LevantarArchivo();
    } catch (const AppError &e) {
        MsgBox::show(ErrorText::enProcedimiento(e, QStringLiteral("cmd_Deshacer_Click of Formulario frmMain")));
    }
}

void frmMain::mostrarAntesDeConectar()
{
    show();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void frmMain::iniciarComponentes(int &linea)
{
    linea = 4;
    ComponentesDeVentana::registrar();
    modGlobal::SistemaArchivos = ComponentRegistry::create<FileSystemComponent>(QStringLiteral("oFILES.clSistema"));
    linea = 5;
    modGlobal::AccesoDatos = ComponentRegistry::create<DataAccessManager>(QStringLiteral("DataAccessManager.DAMMain"));
    modGlobal::AccesoDatos->LoadParameters();
}

void frmMain::leerOpcionGuion()
{
    const QString guardado = SettingsStore::GetSetting(QStringLiteral("TELMOR"), QStringLiteral("SORVANTA"),
                                                       QStringLiteral("REMOVERGUIONVW"), QStringLiteral("0"));
    switch (aEntero16(modTexto::aNumero(modTexto::recortar(guardado)))) {
    case 0:
        m_chkRemoveGuion->setCheckState(Qt::Unchecked);
        break;
    case 1:
        m_chkRemoveGuion->setCheckState(Qt::Checked);
        break;
    case 2:
        m_chkRemoveGuion->setTristate(true);
        m_chkRemoveGuion->setCheckState(Qt::PartiallyChecked);
        break;
    default:
        throw AppError(ErrorNumbers::kInvalidPropertyValue, QStringLiteral("chk_removeguion"),
                       QStringLiteral("Valor de propiedad no válido"));
    }
}

void frmMain::chk_removeguion_Click()
{
    const QString valor = m_chkRemoveGuion->checkState() == Qt::Unchecked ? QStringLiteral("0") : QStringLiteral("1");
    try {
        SettingsStore::SaveSetting(QStringLiteral("TELMOR"), QStringLiteral("SORVANTA"),
                                   QStringLiteral("REMOVERGUIONVW"), valor);
    } catch (const AppError &e) {
        MsgBox::show(ErrorText::seccion(e, QStringLiteral("chk_removeguion_Click.frmMain.Sorvanta")),
                     MsgBox::Icon::Exclamation);
    }
}

void frmMain::FRAM2_CmdProcesar_Click()
{
    try {
        modCargaExcel::Seleccionar_Archivo_XLS(*m_txtArchivo, this);
        LevantarArchivo();
    } catch (const AppError &e) {
        MsgBox::show(ErrorText::enProcedimiento(e, QStringLiteral("FRAM2_CmdProcesar_Click of Formulario frmMain")));
    }
}

bool frmMain::LevantarArchivo()
{
    m_encabezadosHoja.clear();
    m_lbCamposRecordados->clear();
    if (!modCargaExcel::lf_LevantarExcel(m_txtArchivo->text(), *m_grid, *m_lbLineas))
        return false;
    for (int c = 0; m_grid->rows() > 0 && c < m_grid->cols(); ++c)
        m_encabezadosHoja << m_grid->textMatrix(0, c);
    etiquetarCamposRecordados();
    return true;
}

QString frmMain::catalogoElegido() const
{
    const int indice = m_cboCatalogos->currentIndex();
    return indice >= 0 && indice < m_cboIdCatalogo->count() ? m_cboIdCatalogo->itemText(indice) : QString();
}

void frmMain::etiquetarCamposRecordados()
{
    // Only a sheet still being labelled: the review list has no headers to label.
    const QString catalogo = catalogoElegido();
    if (m_encabezadosHoja.isEmpty() || catalogo.isEmpty() || m_label1->isHidden())
        return;
    const int etiquetadas = EtiquetarRecordados(*m_grid, m_encabezadosHoja, catalogo);
    if (etiquetadas > 0)
        m_lbCamposRecordados->setText(TextoCamposRecordados(etiquetadas));
}

void frmMain::recordarCampos()
{
    m_lbCamposRecordados->clear();
    try {
        RecordarEtiquetas(*m_grid, m_encabezadosHoja, modGlobal::IdCatalogoActual);
    } catch (const AppError &e) {
        MsgBox::show(ErrorText::seccion(e, QStringLiteral("recordarCampos.frmMain.Sorvanta")),
                     MsgBox::Icon::Exclamation);
    }
}

void frmMain::cmd_Exportar_Click()
{
    ExportarReporte(*m_lstArticulos, this);
}

bool frmMain::teclaEnVentana(int key)
{
    if (key == Qt::Key_F11 && !m_label1->isHidden()) {
        ControlesProceso controles{*m_grid,
                                   *m_lstArticulos,
                                   *m_cboCatalogos,
                                   *m_cboIdCatalogo,
                                   *m_chkRemoveGuion,
                                   *m_prgBar,
                                   *m_label1,
                                   *m_label2,
                                   *m_cmdExportar,
                                   this,
                                   m_vistaPrevia.get()};
        ProcesarArticulos(controles);
        if (m_label1->isHidden()) {
            m_panelCambios->actualizar();
            m_panelCambios->show();
            aplicarDisposicion();
        }
        // The columns are remembered once they have served for a whole run.
        if (m_label1->isHidden())
            recordarCampos();
        m_listaEnviada = false;
        return true;
    }
    if (key == Qt::Key_F12 && !m_label2->isHidden()) {
        // A second F12 of the same list is mostly a key pressed once too often: it would
        // update every article again (and on PUR add the addition to the description again).
        if (m_listaEnviada
            && !MsgBox::ask(QStringLiteral("Estos artículos ya se enviaron. ¿Enviarlos otra vez?"), false))
            return true;
        m_listaEnviada = EnviarCatalogos(*m_lstArticulos, *m_prgBar) || m_listaEnviada;
        actualizarDeshacer();
        return true;
    }
    return false;
}

bool frmMain::teclaEnGrilla(int key)
{
    if (key != Qt::Key_F1)
        return false;
    SeleccionarCampo(*m_grid);
    return true;
}

void frmMain::atenderTecla(QWidget *destino, int key)
{
    const QScopedValueRollback<bool> enAccion(m_enAccion, true);
    bool actuo = false;
    if (destino == m_grid || m_grid->isAncestorOf(destino))
        actuo = teclaEnGrilla(key);
    if (teclaEnVentana(key) || actuo)
        // Presses made while it ran are still waiting: they come now, and find it busy.
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
}

bool frmMain::esRepeticion(const QKeyEvent &key) const
{
    // X repeats a held key as a release and a press of the same time, and Qt does not always
    // say so; events made by a program carry no time.
    return key.isAutoRepeat()
           || (key.timestamp() != 0 && key.key() == m_ultimaSuelta.tecla && key.timestamp() == m_ultimaSuelta.hora);
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    // Every new press is announced by the shortcut check, and may reuse the last one's address.
    if (event->type() == QEvent::ShortcutOverride)
        m_teclaAtendida = nullptr;
    if (event->type() == QEvent::KeyRelease) {
        const auto *suelta = static_cast<QKeyEvent *>(event);
        m_ultimaSuelta = {suelta->key(), suelta->timestamp()};
    }
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto *widget = qobject_cast<QWidget *>(watched);
    auto *key = static_cast<QKeyEvent *>(event);
    // A held key repeats; a press climbing to the parents after it acted comes here again;
    // a press made during an action (modal windows open and close then) waits for nothing.
    if (!widget || widget->window() != this || esRepeticion(*key) || m_enAccion || event == m_teclaAtendida)
        return false;
    atenderTecla(widget, key->key());
    m_teclaAtendida = event;
    // The key goes on to the focused control as well.
    return false;
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    aplicarDisposicion();
}

void frmMain::aplicarDisposicion()
{
    const int W = Twips::fromPixelsX(width(), this);
    const int H = Twips::fromPixelsY(height(), this);
    // Each step on its own: a size that would come out negative (a tiny window) is skipped.
    const int anchoGrilla = W - kGrillaLeft - kMargen;
    if (anchoGrilla >= 0)
        m_grid->resize(Twips::toPixelsX(anchoGrilla, this), m_grid->height());
    const int altoGrilla = H - kGrillaTop - kMargen;
    if (altoGrilla >= 0)
        m_grid->resize(m_grid->width(), Twips::toPixelsY(altoGrilla, this));
    m_fram2->resize(width(), m_fram2->height());
    // The list sits lower and further right than the grid: taken at the grid's very size
    // its last rows and its horizontal scroll bar would fall outside the window, so it
    // keeps the grid's margins instead.
    const int anchoLista = Twips::fromPixelsX(m_grid->width(), this) - (kListaLeft - kGrillaLeft);
    if (anchoLista >= 0)
        m_lstArticulos->resize(Twips::toPixelsX(anchoLista, this), m_lstArticulos->height());
    const int altoLista = Twips::fromPixelsY(m_grid->height(), this) - (kListaTop - kGrillaTop);
    if (altoLista >= 0)
        m_lstArticulos->resize(m_lstArticulos->width(), Twips::toPixelsY(altoLista, this));
    if (!m_panelCambios->isHidden() && altoLista > kAltoCambios) {
        m_lstArticulos->resize(m_lstArticulos->width(), Twips::toPixelsY(altoLista - kAltoCambios, this));
        m_panelCambios->setGeometry(m_lstArticulos->x(), m_lstArticulos->geometry().bottom() + 1,
                                    m_lstArticulos->width(), Twips::toPixelsY(kAltoCambios, this));
    }
}
