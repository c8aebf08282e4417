#include "platform/SettingsStore.h"

#include "support/TestEnvironment.h"

#include <QFile>
#include <QtTest>

class SettingsStoreTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keptPerUserUnderApplicationAndSection()
    {
        TestEnvironment env;
        QCOMPARE(SettingsStore::GetSetting(QStringLiteral("TELMOR"), QStringLiteral("SORVANTA"),
                                           QStringLiteral("REMOVERGUIONVW"), QStringLiteral("0")),
                 QStringLiteral("0"));
        SettingsStore::SaveSetting(QStringLiteral("TELMOR"), QStringLiteral("SORVANTA"),
                                   QStringLiteral("REMOVERGUIONVW"), QStringLiteral("1"));
        QFile file(env.configDir() + QStringLiteral("/TELMOR/SORVANTA.conf"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("REMOVERGUIONVW=1"));
        QCOMPARE(SettingsStore::GetSetting(QStringLiteral("TELMOR"), QStringLiteral("SORVANTA"),
                                           QStringLiteral("REMOVERGUIONVW")),
                 QStringLiteral("1"));
        // Another section of the same application is another store.
        QCOMPARE(SettingsStore::GetSetting(QStringLiteral("TELMOR"), QStringLiteral("OTRO"),
                                           QStringLiteral("REMOVERGUIONVW"), QStringLiteral("x")),
                 QStringLiteral("x"));
    }
};

QTEST_MAIN(SettingsStoreTest)
#include "SettingsStore_test.moc"
