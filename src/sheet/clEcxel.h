#pragma once

#include <QLocale>
#include <QString>
#include <memory>

class ExcelApplication;
class ExcelWorkbook;
class ExcelWorksheet;

// Reads the first worksheet of a workbook, one cell at a time, through the spreadsheet
// application "Excel.Application". One wrapper serves one load.
class clEcxel {
public:
    clEcxel();
    ~clEcxel();
    clEcxel(const clEcxel &) = delete;
    clEcxel &operator=(const clEcxel &) = delete;

    // Path of the workbook that Abrir opens.
    void Archivo(const QString &p_Archivo);
    // Rows of the sheet Abrir keeps, header included (by default those a load reads and two
    // more); FilaVacia still tells of the filled rows after them.
    void FilasGuardadas(int p_Filas);
    // Closes every workbook and the application; never reports a failure.
    void CerrarArchivo();
    // Starts a new application and opens the workbook; raises AppError on any failure.
    bool Abrir(bool bReadOnly = false);
    // Text of a cell of the first worksheet in the operator's regional format; "" before Abrir.
    QString LeerCelda(int p_Lin, int p_Col);
    // Whether columns 1 to p_Cols of a row hold nothing, without formatting them; also for
    // rows past those the workbook keeps. True before Abrir.
    bool FilaVacia(int p_Lin, int p_Cols) const;
    // The rows before p_Lin will not be read again: their memory may go.
    void OlvidarFilasAntesDe(int p_Lin);
    // Changes a cell in memory only; nothing in the program writes cells.
    void EscribirCelda(int p_Lin, int p_Col, const QString &p_Valor);

private:
    std::shared_ptr<ExcelApplication> m_App;
    std::shared_ptr<ExcelWorkbook> m_Libro;
    std::shared_ptr<ExcelWorksheet> m_Hoja;
    QString m_Archivo;
    int m_Filas = 0;
    // The operator's regional settings, taken when the workbook opens.
    QLocale m_Region;
};
