#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QComboBox;
class QEvent;
class QKeyEvent;
class QLineEdit;
class QListWidget;
class QMouseEvent;
class QWidget;

// Gives one linked text box, list box and combo box a common keyboard and lookup
// behaviour: focus highlight by the text box's "Tag" property, Enter and the arrows moving
// between controls, the keypad decimal key typing the locale's separator, prefix searches
// and the list's item tooltip. The instance watches the linked widgets' events.
class ClCntrl : public QObject {
    Q_OBJECT
public:
    // Windows virtual-key codes of the keys the handlers react to.
    static constexpr int kTeclaEnter = 13;
    static constexpr int kTeclaArriba = 38;
    static constexpr int kTeclaAbajo = 40;
    static constexpr int kTeclaDecimal = 110;
    static constexpr int kAsciiPunto = 46;

    // Highlight colours (0x00BBGGRR numbers).
    static constexpr quint32 kColorResaltadoF6 = 14083326;
    static constexpr quint32 kColorResaltado = 12648384;
    static constexpr quint32 kColorBlanco = 16777215;

    // Selects the first list item that begins with Valor (letter case ignored), or none.
    void LstBuscarStr(QString &Valor);
    // Reads the locale again and gives its decimal separator.
    QString Separador_Decimal();
    // Stores the user locale's decimal separator; on failure stores "" and says so.
    void ObtenerDecimal();

    // Where the separator comes from; by default the user locale (QLocale()). A reader
    // that gives "" stands for a locale that could not be read.
    using LectorSeparador = std::function<QString()>;

    explicit ClCntrl(QObject *parent = nullptr, LectorSeparador lector = {});

protected:
    void vTextCtrl_GotFocus();
    void vTextCtrl_KeyUp(int &KeyCode, Qt::KeyboardModifiers Shift);
    void vTextCtrl_LostFocus();
    void vTextCtrl_KeyPress(int &KeyAscii);
    void vTextCtrl_KeyDown(int &KeyCode, Qt::KeyboardModifiers Shift);

public:
    void sLinkText(QLineEdit *vTextBox);
    void sLinkListBox(QListWidget *InvListBox);
    // Empties every text box of the window frm (not the edit parts of combos or spin boxes).
    void VaciarTxt(QWidget &frm);
    QString Obtener_Sep_Decim();

protected:
    void vListBox_MouseMove(Qt::MouseButtons Button, Qt::KeyboardModifiers Shift, const QPoint &punto);

public:
    // Selects the first combo entry that begins with Valor (letter case ignored), or none.
    void BuscarCBO(QString &Valor);
    void sLinkCBoBox(QComboBox *InvCboBox);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool filtrarTexto(QEvent *event);
    bool filtrarTeclaPulsada(QKeyEvent *tecla);
    void filtrarTeclaSoltada(QKeyEvent *tecla);
    void filtrarLista(QEvent *event);
    void enviarTab(bool haciaAtras, bool esperar);
    void ponerFondo(quint32 color);
    void seleccionarTodo();
    QString tagTexto() const;
    static int codigoTecla(const QKeyEvent &tecla);
    static int codigoAscii(const QKeyEvent &tecla);

    QPointer<QLineEdit> vTextCtrl;
    QPointer<QListWidget> vListBox;
    QPointer<QComboBox> m_cboBox;
    LectorSeparador m_lector;
    QString m_separador;
    bool m_tecladoDecimal = false;
    bool m_reenviando = false;
};
