#include "platform/UserIdentity.h"

#include <QtTest>

namespace {
UserIdentity::Source gives(const QString &name)
{
    return [name] { return std::optional<QString>(name); };
}
} // namespace

// The buffers of the system calls: the user name's length counts its NUL, the computer
// name's does not; a name that does not fit with its NUL fails and leaves the buffer alone.
class UserIdentityTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup()
    {
        UserIdentity::setUserNameSource({});
        UserIdentity::setComputerNameSource({});
    }

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
};

QTEST_MAIN(UserIdentityTest)
#include "UserIdentity_test.moc"
