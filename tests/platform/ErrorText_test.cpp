#include "platform/AppError.h"
#include "platform/ErrorNumbers.h"
#include "platform/ErrorText.h"

#include <QtTest>

class ErrorTextTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sectionFormatJoinsWithoutSeparators()
    {
        const AppError inner(ErrorNumbers::kValidation, QStringLiteral("Campos Excel"),
                             QStringLiteral("Falta seleccionar catalogo"));
        const AppError passed = inner.rethrownAs(ErrorNumbers::kInnerOperation,
                                                 QStringLiteral("[ SetearCampos.frmMain.Sorvanta Linea 0 ]"));
        QCOMPARE(ErrorText::seccion(passed, QStringLiteral("ProcesarArticulos.frmMain.Sorvanta")),
                 QStringLiteral("Falta seleccionar catalogo\r\n\r\n-2146102393 - seccion[ProcesarArticulos.frmMain."
                                "Sorvanta Linea 0 ]::[ SetearCampos.frmMain.Sorvanta Linea 0 ]Campos Excel"));
    }

    void otherFormats()
    {
        const AppError e(ErrorNumbers::kValidation, QStringLiteral("Validación datos"), QStringLiteral("D"));
        QCOMPARE(ErrorText::seccionEspaciada(e, QStringLiteral("EnviarCatalogos.frmMain.Sorvanta")),
                 QStringLiteral("D\r\n\r\n-2147220393 - seccion [ EnviarCatalogos.frmMain.Sorvanta Linea 0 ]"
                                "Validación datos"));
        QCOMPARE(ErrorText::seccionSinOrigen(e, QStringLiteral("Trivolsa.frmRelPais.Form_Load")),
                 QStringLiteral("D\r\n\r\n-2147220393 - seccion [Trivolsa.frmRelPais.Form_Load]"));
        QCOMPARE(ErrorText::levantarExcel(e, 4),
                 QStringLiteral("-2147220393 - D\r\n\r\nSeccion [Mendral.frmCFGExcel.lf_LevantarExcel]:: nro 4"));
        QCOMPARE(ErrorText::enProcedimiento(e, QStringLiteral("FRAM2_CmdProcesar_Click of Formulario frmMain")),
                 QStringLiteral("Error -2147220393 (D) in procedure FRAM2_CmdProcesar_Click of Formulario frmMain"));
        QCOMPARE(ErrorText::enModulo(e, QStringLiteral("in procedure get_Usuario of Módulo modGlobal - "), 2),
                 QStringLiteral("Error -2147220393 (D)\r\nin procedure get_Usuario of Módulo modGlobal - 2"));
    }
};

QTEST_GUILESS_MAIN(ErrorTextTest)
#include "ErrorText_test.moc"
