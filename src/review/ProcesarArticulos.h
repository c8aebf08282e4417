#pragma once

class FlexGrid;
class ReviewList;
class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;
class VistaPrevia;

// The main-window controls that processing reads and changes.
struct ControlesProceso {
    FlexGrid &grid;
    ReviewList &lstArticulos;
    QComboBox &cboCatalogos;
    QComboBox &cboIdCatalogo;
    QCheckBox &chk_removeguion;
    QProgressBar &prgBar;
    QLabel &label1;
    QLabel &label2;
    QPushButton &cmd_Exportar;
    QWidget *owner;
    // Receives what F12 will do to each item; none when nobody shows it.
    VistaPrevia *vistaPrevia = nullptr;
};

// F11: turns every data row of the grid into a checked review item marked "Existe" or
// "Nuevo" and, when the whole grid went through, moves the window to the review step.
// Reports its own failures in a message box.
void ProcesarArticulos(ControlesProceso &controles);

// Gives the review list its fourteen columns (once).
void PrepararColumnasRevision(ReviewList &lista);
