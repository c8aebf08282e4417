#pragma once

#include <QStringList>
#include <QWidget>
#include <memory>

class FlexGrid;
class PanelCambios;
class VistaPrevia;
class ReviewList;
class QCheckBox;
class QComboBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// The main window: the five numbered steps in the upper band, the loaded sheet (or, after
// processing, the review list) below. F11 and F12 act anywhere in the window, F1 in the grid.
class frmMain : public QWidget {
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // Start-up. False when the operator cannot be identified: the window must not be shown.
    bool Form_Load();
    // Loads the file named in TxtArchivo into the grid, then labels the columns whose headers
    // the chosen catalog remembers. False when the grid was not filled; raises AppError.
    bool LevantarArchivo();

    QFrame *FRAM2() const { return m_fram2; }
    QLabel *Label4() const { return m_label4; }
    QLineEdit *TxtArchivo() const { return m_txtArchivo; }
    QPushButton *FRAM2_CmdProcesar() const { return m_cmdProcesar; }
    QLabel *lbLineas() const { return m_lbLineas; }
    QLabel *Label() const { return m_label; }
    QComboBox *cboCatalogos() const { return m_cboCatalogos; }
    QComboBox *cboIdCatalogo() const { return m_cboIdCatalogo; }
    QLabel *label1() const { return m_label1; }
    QLabel *label2() const { return m_label2; }
    // "7 columnas con los campos de la carga anterior (F1 para cambiar)", or nothing.
    QLabel *lbCamposRecordados() const { return m_lbCamposRecordados; }
    QProgressBar *prgBar() const { return m_prgBar; }
    QCheckBox *chk_removeguion() const { return m_chkRemoveGuion; }
    QLabel *LblUser() const { return m_lblUser; }
    QLabel *lbHojaCalculo() const { return m_lbHojaCalculo; }
    QPushButton *cmd_Exportar() const { return m_cmdExportar; }
    // "Deshacer último envío": enabled while the journal holds an undoable send for the chosen
    // catalog (before one is chosen, for the send offered at start-up).
    QPushButton *cmd_Deshacer() const { return m_cmdDeshacer; }
    // The start-up offer of the last send still undoable, or nothing.
    QLabel *lbDeshacer() const { return m_lbDeshacer; }
    QLabel *Image5() const { return m_image5; }
    FlexGrid *FRAM2_Grid() const { return m_grid; }
    ReviewList *lstArticulos() const { return m_lstArticulos; }
    // Beside the review list, after F11: what F12 will change.
    PanelCambios *panelCambios() const { return m_panelCambios; }
    const VistaPrevia &vistaPrevia() const { return *m_vistaPrevia; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private Q_SLOTS:
    void FRAM2_CmdProcesar_Click();
    void chk_removeguion_Click();
    void cmd_Exportar_Click();
    void cmd_Deshacer_Click();

private:
    void construirControles();
    void place(QWidget *w, int left, int top, int width, int height) const;
    QLabel *nuevaEtiqueta(QWidget *parent, const QString &name, const QString &text, bool bold, qreal points = 0);
    void aplicarDisposicion();
    void mostrarAntesDeConectar();
    void iniciarComponentes(int &linea);
    void leerOpcionGuion();
    QString catalogoElegido() const;
    // The fields remembered for the chosen catalog go on the columns of the loaded sheet.
    void etiquetarCamposRecordados();
    void recordarCampos();
    void ofrecerDeshacer();
    void actualizarDeshacer();
    // After an undo of the list's catalog: the sheet again, to label and process anew.
    void volverACargar();
    // One press of F1, F11 or F12: what it calls, and whether it called anything.
    void atenderTecla(QWidget *destino, int key);
    bool teclaEnVentana(int key);
    bool teclaEnGrilla(int key);
    bool esRepeticion(const QKeyEvent &key) const;

    QFrame *m_fram2 = nullptr;
    QLabel *m_label4 = nullptr;
    QLineEdit *m_txtArchivo = nullptr;
    QPushButton *m_cmdProcesar = nullptr;
    QLabel *m_lbLineas = nullptr;
    QLabel *m_label = nullptr;
    QComboBox *m_cboCatalogos = nullptr;
    QComboBox *m_cboIdCatalogo = nullptr;
    QLabel *m_label1 = nullptr;
    QLabel *m_label2 = nullptr;
    QLabel *m_lbCamposRecordados = nullptr;
    QProgressBar *m_prgBar = nullptr;
    QCheckBox *m_chkRemoveGuion = nullptr;
    QLabel *m_lblUser = nullptr;
    QLabel *m_lbHojaCalculo = nullptr;
    QPushButton *m_cmdExportar = nullptr;
    QPushButton *m_cmdDeshacer = nullptr;
    QLabel *m_lbDeshacer = nullptr;
    // The catalog of the send offered at start-up, until a catalog is chosen.
    QString m_catalogoOfrecido;
    QLabel *m_image5 = nullptr;
    FlexGrid *m_grid = nullptr;
    ReviewList *m_lstArticulos = nullptr;
    std::unique_ptr<VistaPrevia> m_vistaPrevia;
    PanelCambios *m_panelCambios = nullptr;
    // The loaded sheet's own header texts, before any label.
    QStringList m_encabezadosHoja;
    // The same key press reaches the application filter once per widget it climbs through.
    const QEvent *m_teclaAtendida = nullptr;
    bool m_enAccion = false;
    // The reviewed list went to the catalog whole: F12 asks before sending it again.
    bool m_listaEnviada = false;
    struct {
        int tecla = 0;
        quint64 hora = 0;
    } m_ultimaSuelta;
};
