#pragma once

#include "review/TablaPaises.h"

#include <QDialog>
#include <QList>

class QComboBox;
class QLabel;
class QLineEdit;

// "Establecer Pais": the operator picks the customs-system country and the state of goods
// for an origin value that table ORG does not know yet. F11 stores the translation,
// Escape leaves without storing. Results travel through CampoElegido and EsmElegido.
// When the origin value names one country of the list, that country comes chosen.
class frmRelPais : public QDialog {
    Q_OBJECT
public:
    // The one instance of the program, created on first use.
    static frmRelPais &instancia(QWidget *owner = nullptr);

    int exec() override;
    // True when the last opening found no country to choose from.
    bool sinPaises() const;

    QLineEdit *txtValor() const { return m_txtValor; }
    QComboBox *cboPais() const { return m_cboPais; }
    QComboBox *cboidPais() const { return m_cboidPais; }
    QLineEdit *txtESM() const { return m_txtESM; }
    // Shown while the country chosen is the one suggested at opening.
    QLabel *lblSugerido() const { return m_lblSugerido; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    explicit frmRelPais(QWidget *owner);
    void construirControles();
    QLabel *etiqueta(const QString &texto, int left, int top, int width, int height, bool negrita);
    void place(QWidget *w, int left, int top, int width, int height) const;
    bool atenderTecla(int key);
    void Form_Load();
    void cargarPaises();
    void sugerirPais(const QList<TablaPaises::Pais> &paises);
    void f_Grabar();
    void salir();

    QLineEdit *m_txtValor = nullptr;
    QComboBox *m_cboPais = nullptr;
    QComboBox *m_cboidPais = nullptr;
    QLineEdit *m_txtESM = nullptr;
    QLabel *m_lblSugerido = nullptr;
    int m_indiceSugerido = -1;
};
