#pragma once

#include <QDialog>

class QComboBox;

// "Establecer Campo": the operator picks the catalog field of one grid column. Enter takes
// the list's current label, Escape or the close box give ""; the answer is left in
// modGlobal::CampoElegido. Every opening starts again from "< ninguno >".
class frmCampos : public QDialog {
    Q_OBJECT
public:
    // The one instance of the program, created on first use (again if its owner went away).
    static frmCampos &instancia(QWidget *owner = nullptr);

    QComboBox *cboCampos() const { return m_cboCampos; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    explicit frmCampos(QWidget *owner);
    int twips(int valor) const;
    void llenarCampos();
    bool atenderTecla(int key);

    QComboBox *m_cboCampos = nullptr;
};
