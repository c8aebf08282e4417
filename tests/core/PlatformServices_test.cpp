#include "core/AppError.h"
#include "core/ErrorNumbers.h"
#include "core/ErrorText.h"
#include "core/SettingsStore.h"

#include "support/TestEnvironment.h"

#include <QFile>
#include <QtTest>

// What the program keeps in the operator's settings, and error texts. The user and computer
// names are checked through the session name they make (app/frmMain_test, app/Operator).
class PlatformServicesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Per user, one store per application and section.
    void keptPerUserUnderApplicationAndSection()
    {
        TestEnvironment env;
        const QString app = QStringLiteral("TELMOR"), key = QStringLiteral("REMOVERGUIONVW");
        QCOMPARE(SettingsStore::GetSetting(app, QStringLiteral("SORVANTA"), key, QStringLiteral("0")),
                 QStringLiteral("0"));
        SettingsStore::SaveSetting(app, QStringLiteral("SORVANTA"), key, QStringLiteral("1"));
        QFile file(env.configDir() + QStringLiteral("/TELMOR/SORVANTA.conf"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("REMOVERGUIONVW=1"));
        QCOMPARE(SettingsStore::GetSetting(app, QStringLiteral("SORVANTA"), key), QStringLiteral("1"));
        QCOMPARE(SettingsStore::GetSetting(app, QStringLiteral("OTRO"), key, QStringLiteral("x")), QStringLiteral("x"));
    }

    // The other message formats are checked exactly by the tests of the code showing them.
    void procedureAndModuleFormats()
    {
        const AppError e(ErrorNumbers::kValidation, QStringLiteral("Validación datos"), QStringLiteral("D"));
        QCOMPARE(ErrorText::enProcedimiento(e, QStringLiteral("FRAM2_CmdProcesar_Click of Formulario frmMain")),
                 QStringLiteral("Error -2147220393 (D) in procedure FRAM2_CmdProcesar_Click of Formulario frmMain"));
        QCOMPARE(ErrorText::enModulo(e, QStringLiteral("in procedure get_Usuario of Módulo modGlobal - "), 2),
                 QStringLiteral("Error -2147220393 (D)\r\nin procedure get_Usuario of Módulo modGlobal - 2"));
    }
};

QTEST_MAIN(PlatformServicesTest)
#include "PlatformServices_test.moc"
