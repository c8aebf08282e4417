#include "platform/AppError.h"
#include "platform/ErrorNumbers.h"
#include "platform/ErrorText.h"

#include <QtTest>

// The other message formats are checked exactly by the tests of the code showing them.
class ErrorTextTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void procedureAndModuleFormats()
    {
        const AppError e(ErrorNumbers::kValidation, QStringLiteral("Validación datos"), QStringLiteral("D"));
        QCOMPARE(ErrorText::enProcedimiento(e, QStringLiteral("FRAM2_CmdProcesar_Click of Formulario frmMain")),
                 QStringLiteral("Error -2147220393 (D) in procedure FRAM2_CmdProcesar_Click of Formulario frmMain"));
        QCOMPARE(ErrorText::enModulo(e, QStringLiteral("in procedure get_Usuario of Módulo modGlobal - "), 2),
                 QStringLiteral("Error -2147220393 (D)\r\nin procedure get_Usuario of Módulo modGlobal - 2"));
    }
};

QTEST_GUILESS_MAIN(ErrorTextTest)
#include "ErrorText_test.moc"
