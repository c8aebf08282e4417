#include "review/frmRelPais.h"

#include "core/AppError.h"
#include "core/ErrorText.h"
#include "core/modGlobal.h"
#include "review/SugerenciaPais.h"
#include "review/TablaPaises.h"
#include "widgets/MsgBox.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

frmRelPais &frmRelPais::instancia(QWidget *owner)
{
    // Owned by its window: if that window goes, the next use builds a new one.
    static QPointer<frmRelPais> unico;
    if (!unico)
        unico = new frmRelPais(owner);
    return *unico;
}

frmRelPais::frmRelPais(QWidget *owner) : QDialog(owner)
{
    setWindowTitle(QStringLiteral("Establecer Pais"));
    setModal(true);
    QFont fuente(QStringLiteral("Tahoma"));
    fuente.setPointSizeF(8.25);
    setFont(fuente);
    construirControles();
}

void frmRelPais::place(QWidget *w, int left, int top, int width, int height) const
{
    // Twips to pixels at the screen's logical resolution (1440 twips an inch).
    const double px = logicalDpiX() / 1440.0;
    const double py = logicalDpiY() / 1440.0;
    w->setGeometry(qRound(left * px), qRound(top * py), qRound(width * px), qRound(height * py));
}

QLabel *frmRelPais::etiqueta(const QString &texto, int left, int top, int width, int height, bool negrita)
{
    auto *label = new QLabel(texto, this);
    QFont f = label->font();
    f.setBold(negrita);
    label->setFont(f);
    place(label, left, top, width, height + 30);
    return label;
}

void frmRelPais::construirControles()
{
    const double px = logicalDpiX() / 1440.0;
    const double py = logicalDpiY() / 1440.0;
    setFixedSize(qRound(3315 * px), qRound(2910 * py));

    etiqueta(QStringLiteral("Valor origen"), 270, 180, 2985, 240, true);
    m_txtValor = new QLineEdit(this);
    m_txtValor->setObjectName(QStringLiteral("txtValor"));
    place(m_txtValor, 225, 495, 2805, 285);

    etiqueta(QStringLiteral("Pais - Sistema Maria"), 270, 900, 1860, 195, true);
    m_cboPais = new QComboBox(this);
    m_cboPais->setObjectName(QStringLiteral("cboPais"));
    place(m_cboPais, 225, 1170, 2805, 315);
    m_cboidPais = new QComboBox(this);
    m_cboidPais->setObjectName(QStringLiteral("cboidPais"));
    place(m_cboidPais, 675, 1170, 390, 315);
    m_cboidPais->hide();
    // Says the country shown was chosen by the program, not left at the first of the list.
    m_lblSugerido = etiqueta(QStringLiteral("País sugerido: [F11] lo acepta"), 270, 1500, 2760, 195, false);
    m_lblSugerido->setObjectName(QStringLiteral("lblSugerido"));
    m_lblSugerido->hide();
    connect(m_cboPais, &QComboBox::currentIndexChanged, this,
            [this](int indice) { m_lblSugerido->setVisible(indice >= 0 && indice == m_indiceSugerido); });

    etiqueta(QStringLiteral("Estado de Mercaderia"), 210, 1770, 2160, 180, true);
    m_txtESM = new QLineEdit(this);
    m_txtESM->setObjectName(QStringLiteral("txtESM"));
    place(m_txtESM, 2490, 1740, 540, 315);

    etiqueta(QStringLiteral("[F11] Seleccionar [ESC] Salir"), 555, 2310, 2490, 195, false);

    setTabOrder(m_txtValor, m_cboPais);
    setTabOrder(m_cboPais, m_txtESM);
    // The dialog sees every key before its controls do.
    for (QWidget *w :
         {static_cast<QWidget *>(m_txtValor), static_cast<QWidget *>(m_cboPais), static_cast<QWidget *>(m_txtESM)})
        w->installEventFilter(this);
}

int frmRelPais::exec()
{
    Form_Load();
    m_txtValor->setFocus();
    return QDialog::exec();
}

bool frmRelPais::sinPaises() const
{
    return m_cboPais->count() == 0;
}

void frmRelPais::Form_Load()
{
    m_txtValor->setText(modGlobal::CampoElegido);
    modGlobal::CampoElegido.clear();
    m_txtESM->setText(QStringLiteral("1"));
    // Each opening starts as a freshly built window: nothing kept from the last one.
    m_indiceSugerido = -1;
    m_cboidPais->clear();
    m_cboPais->clear();
    try {
        cargarPaises();
    } catch (const AppError &e) {
        MsgBox::show(ErrorText::seccionSinOrigen(e, QStringLiteral("Trivolsa.frmRelPais.Form_Load")),
                     MsgBox::Icon::Critical);
    }
}

void frmRelPais::cargarPaises()
{
    const QList<TablaPaises::Pais> paises = TablaPaises::paises();
    for (const TablaPaises::Pais &pais : paises) {
        m_cboidPais->addItem(pais.id);
        m_cboPais->addItem(pais.descripcion + QStringLiteral(" (") + pais.id + QStringLiteral(")"));
    }
    if (m_cboPais->count() > 0)
        m_cboPais->setCurrentIndex(0);
    sugerirPais(paises);
}

void frmRelPais::sugerirPais(const QList<TablaPaises::Pais> &paises)
{
    const QString id = SugerenciaPais(paises).idPara(m_txtValor->text());
    const int indice = id.isEmpty() ? -1 : m_cboidPais->findText(id, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (indice < 0)
        return;
    m_indiceSugerido = indice;
    m_cboPais->setCurrentIndex(indice);
    m_lblSugerido->show();
}

void frmRelPais::f_Grabar()
{
    if (m_txtValor->text().trimmed().isEmpty()) {
        MsgBox::show(QStringLiteral("el campo 'Valor origen' no puede estar vacio"), MsgBox::Icon::Critical);
        return;
    }
    if (m_txtESM->text().trimmed().isEmpty()) {
        MsgBox::show(QStringLiteral("El campo Estado de Mercaderia no puede estar vacio"), MsgBox::Icon::Critical);
        return;
    }
    const int indice = m_cboPais->currentIndex();
    if (indice < 0 || indice >= m_cboidPais->count()) {
        // Storing an empty country would only bring this dialog back for ever.
        MsgBox::show(QStringLiteral("Debe seleccionar un país de la lista 'Pais - Sistema Maria'"),
                     MsgBox::Icon::Critical);
        return;
    }
    const QString idPais = m_cboidPais->itemText(indice);
    long cambiados = 0;
    try {
        cambiados = TablaPaises::guardarOrigen(m_txtValor->text(), idPais, m_txtESM->text().trimmed());
    } catch (const AppError &e) {
        MsgBox::show(ErrorText::seccionSinOrigen(e, QStringLiteral("Trivolsa.frmRelPais.f_Grabar")),
                     MsgBox::Icon::Critical);
        return;
    }
    if (cambiados > 0) {
        modGlobal::CampoElegido = idPais;
        modGlobal::EsmElegido = m_txtESM->text();
        accept();
    }
}

void frmRelPais::salir()
{
    modGlobal::CampoElegido.clear();
    reject();
}

bool frmRelPais::atenderTecla(int key)
{
    if (key == Qt::Key_F11) {
        f_Grabar();
        return true;
    }
    if (key == Qt::Key_Escape) {
        salir();
        return true;
    }
    return false;
}

bool frmRelPais::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && atenderTecla(static_cast<QKeyEvent *>(event)->key()))
        return true;
    return QDialog::eventFilter(watched, event);
}

void frmRelPais::keyPressEvent(QKeyEvent *event)
{
    if (!atenderTecla(event->key()))
        QDialog::keyPressEvent(event);
}

void frmRelPais::closeEvent(QCloseEvent *event)
{
    // Closing the window is leaving without storing.
    modGlobal::CampoElegido.clear();
    QDialog::closeEvent(event);
}
