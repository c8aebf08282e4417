#include "app/Mod_Main.h"
#include "common/modGlobal.h"
#include "platform/UserIdentity.h"

#include "support/MsgBoxRecorder.h"

#include <QtTest>

namespace {
UserIdentity::Source gives(const QString &name)
{
    return [name] { return std::optional<QString>(name); };
}
} // namespace

class Mod_MainTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup()
    {
        UserIdentity::setUserNameSource({});
        UserIdentity::setComputerNameSource({});
        modGlobal::reset();
    }

    // The user name has 250 characters of room with its NUL, the computer name 255.
    void namesUpToTheBufferSize_data()
    {
        QTest::addColumn<int>("userLength");
        QTest::addColumn<int>("computerLength");
        QTest::addColumn<bool>("userKept");
        QTest::addColumn<bool>("computerKept");
        QTest::newRow("both fit") << 249 << 254 << true << true;
        QTest::newRow("neither fits") << 250 << 255 << false << false;
    }

    void namesUpToTheBufferSize()
    {
        QFETCH(int, userLength);
        QFETCH(int, computerLength);
        QFETCH(bool, userKept);
        QFETCH(bool, computerKept);
        const QString user(userLength, QLatin1Char('u'));
        const QString computer(computerLength, QLatin1Char('C'));
        UserIdentity::setUserNameSource(gives(user));
        UserIdentity::setComputerNameSource(gives(computer));
        QCOMPARE(modGlobal::get_Usuario(), userKept ? user : QString());
        QCOMPARE(modGlobal::LEERNOMBREPC(), computerKept ? computer : QStringLiteral("AUTO"));
    }

    void identityRefusedOnlyWhenBothNamesAreBlank()
    {
        MsgBoxRecorder boxes;
        UserIdentity::setUserNameSource(gives(QStringLiteral("   ")));
        UserIdentity::setComputerNameSource(gives(QStringLiteral("  ")));
        QVERIFY(!GetUserData());
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(modGlobal::UsuarioSesion, QString());

        UserIdentity::setComputerNameSource(gives(QStringLiteral(" PC\\1 ")));
        QVERIFY(GetUserData());
        QCOMPARE(modGlobal::UsuarioSesion, QStringLiteral("Sorvanta - \\PC\\1"));
        QCOMPARE(boxes.count(), 1);
    }
};

QTEST_MAIN(Mod_MainTest)
#include "Mod_Main_test.moc"
