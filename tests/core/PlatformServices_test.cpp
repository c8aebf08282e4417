#include "core/AppError.h"
#include "core/ErrorNumbers.h"
#include "core/ErrorText.h"
#include "core/SettingsStore.h"
#include "core/UserIdentity.h"

#include "support/TestEnvironment.h"

#include <QFile>
#include <QtTest>

namespace {
UserIdentity::Source gives(const QString &name)
{
    return [name] { return std::optional<QString>(name); };
}
} // namespace

// What the program asks of the operator's system: names, settings; and error texts.
class PlatformServicesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup()
    {
        UserIdentity::setUserNameSource({});
        UserIdentity::setComputerNameSource({});
    }

    // The user name's length counts its NUL, the computer name's does not; a name that
    // does not fit with its NUL fails and leaves the buffer alone.
    void namesInTheCallersBuffer()
    {
        UserIdentity::setUserNameSource(gives(QStringLiteral("operador")));
        UserIdentity::setComputerNameSource(gives(QStringLiteral("PUESTO1")));
        QString buffer(250, QLatin1Char(' '));
        quint32 length = 250;
        QVERIFY(UserIdentity::getUserName(buffer, length));
        QCOMPARE(length, 9u);
        QCOMPARE(buffer.left(10), QStringLiteral("operador") + QChar(u'\0') + QLatin1Char(' '));
        QCOMPARE(buffer.size(), 250);
        buffer = QString(255, QLatin1Char(' '));
        length = 255;
        QVERIFY(UserIdentity::getComputerName(buffer, length));
        QCOMPARE(length, 7u);
        QCOMPARE(buffer.left(8), QStringLiteral("PUESTO1") + QChar(u'\0'));

        UserIdentity::setUserNameSource(gives(QString(5, QLatin1Char('u'))));
        buffer = QString(5, QLatin1Char(' '));
        length = 5;
        QVERIFY(!UserIdentity::getUserName(buffer, length));
        QCOMPARE(buffer, QStringLiteral("     "));
        length = 6;
        buffer = QString(6, QLatin1Char(' '));
        QVERIFY(UserIdentity::getUserName(buffer, length));
        QCOMPARE(length, 6u);
        UserIdentity::setComputerNameSource([] { return std::nullopt; });
        QVERIFY(!UserIdentity::getComputerName(buffer, length));
    }

    void systemGivesTheAccountAndHostNames()
    {
        QString buffer(250, QLatin1Char(' '));
        quint32 length = 250;
        QVERIFY(UserIdentity::getUserName(buffer, length));
        QVERIFY(length > 1);
        QVERIFY(!buffer.left(int(length) - 1).contains(QChar(u'\0')));
        buffer = QString(255, QLatin1Char(' '));
        length = 255;
        QVERIFY(UserIdentity::getComputerName(buffer, length) && length > 0);
    }

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
