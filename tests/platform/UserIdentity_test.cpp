#include "platform/UserIdentity.h"

#include <QtTest>

class UserIdentityTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup()
    {
        UserIdentity::setUserNameSource({});
        UserIdentity::setComputerNameSource({});
    }

    void userNameLengthCountsTheNul()
    {
        UserIdentity::setUserNameSource([] { return std::optional<QString>(QStringLiteral("operador")); });
        QString buffer(250, QLatin1Char(' '));
        quint32 length = 250;
        QVERIFY(UserIdentity::getUserName(buffer, length));
        QCOMPARE(length, 9u);
        QCOMPARE(buffer.left(9), QStringLiteral("operador") + QChar(u'\0'));
        // The rest of the buffer is left as the caller prepared it.
        QCOMPARE(buffer.size(), 250);
        QCOMPARE(buffer.at(9), QLatin1Char(' '));
    }

    void computerNameLengthExcludesTheNul()
    {
        UserIdentity::setComputerNameSource([] { return std::optional<QString>(QStringLiteral("PUESTO1")); });
        QString buffer(255, QLatin1Char(' '));
        quint32 length = 255;
        QVERIFY(UserIdentity::getComputerName(buffer, length));
        QCOMPARE(length, 7u);
        QCOMPARE(buffer.left(8), QStringLiteral("PUESTO1") + QChar(u'\0'));
    }

    void failsWhenTheNameAndNulDoNotFitOrTheSystemHasNone()
    {
        UserIdentity::setUserNameSource([] { return std::optional<QString>(QString(5, QLatin1Char('u'))); });
        QString buffer(5, QLatin1Char(' '));
        quint32 length = 5;
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
        QVERIFY(UserIdentity::getComputerName(buffer, length));
        QVERIFY(length > 0);
    }
};

QTEST_MAIN(UserIdentityTest)
#include "UserIdentity_test.moc"
