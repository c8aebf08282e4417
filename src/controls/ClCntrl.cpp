#include "controls/ClCntrl.h"

#include "controls/ColorBGR.h"
#include "widgets/MsgBox.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMouseEvent>
#include <QPalette>
#include <QScopedValueRollback>

namespace {
// Index of the first entry that begins with prefijo, letter case ignored; -1 when none.
int primeroQueEmpieza(int cuantos, const std::function<QString(int)> &texto, const QString &prefijo)
{
    for (int i = 0; i < cuantos; ++i) {
        if (texto(i).startsWith(prefijo, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

QString separadorDelLocale()
{
    return QLocale().decimalPoint();
}

// The edit part of a combo or spin box is not a text box of the window.
bool esParteDeOtroControl(const QLineEdit *txt)
{
    QObject *padre = txt->parent();
    return qobject_cast<QComboBox *>(padre) || qobject_cast<QAbstractSpinBox *>(padre);
}
} // namespace

void ClCntrl::LstBuscarStr(QString &Valor)
{
    if (!vListBox)
        return;
    QListWidget *lista = vListBox;
    const int indice = primeroQueEmpieza(
        lista->count(), [lista](int i) { return lista->item(i)->text(); }, Valor);
    lista->setCurrentRow(indice);
    if (indice < 0)
        lista->clearSelection();
}

QString ClCntrl::Separador_Decimal()
{
    ObtenerDecimal();
    return m_separador;
}

void ClCntrl::ObtenerDecimal()
{
    m_separador = m_lector();
    if (m_separador.isEmpty())
        MsgBox::show(QStringLiteral("No se puedo obtener la información"));
}

ClCntrl::ClCntrl(QObject *parent, LectorSeparador lector)
    : QObject(parent), m_lector(lector ? std::move(lector) : LectorSeparador(separadorDelLocale))
{
    ObtenerDecimal();
}

void ClCntrl::vTextCtrl_GotFocus()
{
    const QString tag = tagTexto();
    if (tag.endsWith(QLatin1String("#F6"))) {
        ponerFondo(kColorResaltadoF6);
        seleccionarTodo();
    } else if (tag.startsWith(QLatin1String("BB"))) {
        return;
    } else {
        ponerFondo(kColorResaltado);
        seleccionarTodo();
    }
}

void ClCntrl::vTextCtrl_KeyUp(int &KeyCode, Qt::KeyboardModifiers Shift)
{
    Q_UNUSED(Shift)
    if (KeyCode == kTeclaDecimal)
        m_tecladoDecimal = false;
}

void ClCntrl::vTextCtrl_LostFocus()
{
    if (!tagTexto().startsWith(QLatin1String("BB")))
        ponerFondo(kColorBlanco);
}

void ClCntrl::vTextCtrl_KeyPress(int &KeyAscii)
{
    if (KeyAscii == kTeclaEnter) {
        enviarTab(false, true);
        KeyAscii = 0;
        return;
    }
    // Without a separator the key stays as typed rather than typing nothing.
    if (KeyAscii == kAsciiPunto && m_tecladoDecimal && !m_separador.isEmpty())
        KeyAscii = m_separador.at(0).unicode();
}

void ClCntrl::vTextCtrl_KeyDown(int &KeyCode, Qt::KeyboardModifiers Shift)
{
    Q_UNUSED(Shift)
    switch (KeyCode) {
    case kTeclaArriba:
        enviarTab(true, false);
        break;
    case kTeclaAbajo:
        enviarTab(false, false);
        break;
    case kTeclaDecimal:
        m_tecladoDecimal = true;
        break;
    default:
        break;
    }
}

void ClCntrl::sLinkText(QLineEdit *vTextBox)
{
    if (vTextCtrl)
        vTextCtrl->removeEventFilter(this);
    vTextCtrl = vTextBox;
    m_tecladoDecimal = false;
    if (vTextCtrl)
        vTextCtrl->installEventFilter(this);
}

void ClCntrl::sLinkListBox(QListWidget *InvListBox)
{
    if (vListBox)
        vListBox->viewport()->removeEventFilter(this);
    vListBox = InvListBox;
    if (vListBox) {
        // Moves without a button pressed must reach the filter too.
        vListBox->viewport()->setMouseTracking(true);
        vListBox->viewport()->installEventFilter(this);
    }
}

void ClCntrl::VaciarTxt(QWidget &frm)
{
    const auto cajas = frm.findChildren<QLineEdit *>();
    for (QLineEdit *txt : cajas) {
        if (!esParteDeOtroControl(txt))
            txt->setText(QString());
    }
}

QString ClCntrl::Obtener_Sep_Decim()
{
    return Separador_Decimal();
}

void ClCntrl::vListBox_MouseMove(Qt::MouseButtons Button, Qt::KeyboardModifiers Shift, const QPoint &punto)
{
    Q_UNUSED(Shift)
    if (Button != Qt::NoButton || !vListBox)
        return;
    const QListWidgetItem *item = vListBox->itemAt(punto);
    vListBox->setToolTip(item ? item->text() : QString());
}

void ClCntrl::BuscarCBO(QString &Valor)
{
    if (!m_cboBox)
        return;
    QComboBox *combo = m_cboBox;
    combo->setCurrentIndex(primeroQueEmpieza(
        combo->count(), [combo](int i) { return combo->itemText(i); }, Valor));
}

void ClCntrl::sLinkCBoBox(QComboBox *InvCboBox)
{
    m_cboBox = InvCboBox;
}

bool ClCntrl::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_reenviando && vTextCtrl && watched == vTextCtrl)
        return filtrarTexto(event);
    if (vListBox && watched == vListBox->viewport())
        filtrarLista(event);
    return QObject::eventFilter(watched, event);
}

bool ClCntrl::filtrarTexto(QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        vTextCtrl_GotFocus();
        break;
    case QEvent::FocusOut:
        vTextCtrl_LostFocus();
        break;
    case QEvent::KeyPress:
        return filtrarTeclaPulsada(static_cast<QKeyEvent *>(event));
    case QEvent::KeyRelease:
        filtrarTeclaSoltada(static_cast<QKeyEvent *>(event));
        break;
    default:
        break;
    }
    return false;
}

// One key press is both a key-down and, when it types a character, a key-press.
bool ClCntrl::filtrarTeclaPulsada(QKeyEvent *tecla)
{
    int codigo = codigoTecla(*tecla);
    vTextCtrl_KeyDown(codigo, tecla->modifiers());
    const int original = codigoAscii(*tecla);
    if (original == 0 || !vTextCtrl)
        return false;
    int ascii = original;
    vTextCtrl_KeyPress(ascii);
    if (ascii == original)
        return false;
    if (ascii != 0 && vTextCtrl) {
        QKeyEvent cambiada(QEvent::KeyPress, tecla->key(), tecla->modifiers(), QString(QChar(ascii)),
                           tecla->isAutoRepeat(), tecla->count());
        QScopedValueRollback<bool> guarda(m_reenviando, true);
        QCoreApplication::sendEvent(vTextCtrl, &cambiada);
    }
    return true;
}

void ClCntrl::filtrarTeclaSoltada(QKeyEvent *tecla)
{
    int codigo = codigoTecla(*tecla);
    vTextCtrl_KeyUp(codigo, tecla->modifiers());
}

void ClCntrl::filtrarLista(QEvent *event)
{
    if (event->type() != QEvent::MouseMove)
        return;
    const auto *raton = static_cast<QMouseEvent *>(event);
    vListBox_MouseMove(raton->buttons(), raton->modifiers(), raton->position().toPoint());
}

// Stands for sending "{TAB}" or "+{TAB}" as keystrokes to the text box, which has the focus.
void ClCntrl::enviarTab(bool haciaAtras, bool esperar)
{
    if (!vTextCtrl)
        return;
    const Qt::Key tecla = haciaAtras ? Qt::Key_Backtab : Qt::Key_Tab;
    const Qt::KeyboardModifiers mods = haciaAtras ? Qt::ShiftModifier : Qt::NoModifier;
    if (esperar) {
        QKeyEvent tab(QEvent::KeyPress, tecla, mods);
        QCoreApplication::sendEvent(vTextCtrl, &tab);
    } else {
        QCoreApplication::postEvent(vTextCtrl, new QKeyEvent(QEvent::KeyPress, tecla, mods));
    }
}

void ClCntrl::ponerFondo(quint32 color)
{
    QPalette paleta = vTextCtrl->palette();
    paleta.setColor(QPalette::Base, ColorBGR(color));
    vTextCtrl->setPalette(paleta);
}

void ClCntrl::seleccionarTodo()
{
    vTextCtrl->setSelection(0, vTextCtrl->text().length());
}

QString ClCntrl::tagTexto() const
{
    return vTextCtrl->property("Tag").toString();
}

int ClCntrl::codigoTecla(const QKeyEvent &tecla)
{
    switch (tecla.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return kTeclaEnter;
    case Qt::Key_Up:
        return kTeclaArriba;
    case Qt::Key_Down:
        return kTeclaAbajo;
    case Qt::Key_Period:
    case Qt::Key_Comma:
        return tecla.modifiers().testFlag(Qt::KeypadModifier) ? kTeclaDecimal : 0;
    default:
        return 0;
    }
}

int ClCntrl::codigoAscii(const QKeyEvent &tecla)
{
    if (tecla.key() == Qt::Key_Return || tecla.key() == Qt::Key_Enter)
        return kTeclaEnter;
    const QString texto = tecla.text();
    return texto.isEmpty() ? 0 : texto.at(0).unicode();
}
