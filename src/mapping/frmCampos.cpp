#include "mapping/frmCampos.h"

#include "core/modGlobal.h"
#include "mapping/CampoCatalogo.h"
#include "widgets/Twips.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QPointer>

frmCampos &frmCampos::instancia(QWidget *owner)
{
    static QPointer<frmCampos> unico;
    if (!unico)
        unico = new frmCampos(owner);
    return *unico;
}

frmCampos::frmCampos(QWidget *owner) : QDialog(owner)
{
    setWindowTitle(QStringLiteral("Establecer Campo"));
    QFont fuente(QStringLiteral("Tahoma"));
    fuente.setPointSizeF(8.25);
    setFont(fuente);
    setFixedSize(twips(3675), twips(915));

    m_cboCampos = new QComboBox(this);
    m_cboCampos->setObjectName(QStringLiteral("cboCampos"));
    m_cboCampos->setEditable(false);
    m_cboCampos->setGeometry(twips(270), twips(225), twips(3120), m_cboCampos->sizeHint().height());
    // The dialog answers Enter and Escape before the list does, also with the list open.
    m_cboCampos->installEventFilter(this);
    m_cboCampos->view()->installEventFilter(this);
    llenarCampos();
}

int frmCampos::twips(int valor) const
{
    return Twips::toPixelsX(valor, this);
}

void frmCampos::llenarCampos()
{
    m_cboCampos->clear();
    m_cboCampos->addItems(etiquetasCampos());
    m_cboCampos->setCurrentIndex(0);
}

void frmCampos::showEvent(QShowEvent *event)
{
    llenarCampos();
    m_cboCampos->setFocus();
    QDialog::showEvent(event);
}

bool frmCampos::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && atenderTecla(static_cast<QKeyEvent *>(event)->key()))
        return true;
    return QDialog::eventFilter(watched, event);
}

bool frmCampos::atenderTecla(int key)
{
    if (key == Qt::Key_Escape) {
        m_cboCampos->hidePopup();
        modGlobal::CampoElegido.clear();
        reject();
        return true;
    }
    // With the list open, Enter first picks the highlighted entry, as any drop-down list does.
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !m_cboCampos->view()->isVisible()) {
        modGlobal::CampoElegido = m_cboCampos->currentText();
        accept();
        return true;
    }
    return false;
}
