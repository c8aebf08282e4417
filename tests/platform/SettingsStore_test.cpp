#include "platform/SettingsStore.h"

#include "support/TestEnvironment.h"

#include <QFile>
#include <QtTest>

class SettingsStoreTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Per user, one store per application and section.
    void keptPerUserUnderApplicationAndSection()
    {
        TestEnvironment env;
        const QString app = QStringLiteral("TELMOR"), key = QStringLiteral("REMOVERGUIONVW");
        QCOMPARE(SettingsStore::GetSetting(app, QStringLiteral("SORVANTA"), key, QStringLiteral("0")), QStringLiteral("0"));
        SettingsStore::SaveSetting(app, QStringLiteral("SORVANTA"), key, QStringLiteral("1"));
        QFile file(env.configDir() + QStringLiteral("/TELMOR/SORVANTA.conf"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("REMOVERGUIONVW=1"));
        QCOMPARE(SettingsStore::GetSetting(app, QStringLiteral("SORVANTA"), key), QStringLiteral("1"));
        QCOMPARE(SettingsStore::GetSetting(app, QStringLiteral("OTRO"), key, QStringLiteral("x")), QStringLiteral("x"));
    }
};

QTEST_MAIN(SettingsStoreTest)
#include "SettingsStore_test.moc"
