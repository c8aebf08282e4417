#include "core/AppError.h"
#include "core/ErrorNumbers.h"
#include "core/ErrorText.h"
#include "core/SettingsStore.h"
#include "core/modTexto.h"

#include "support/TestEnvironment.h"

#include <QFile>
#include <QtTest>
#include <cmath>
#include <random>

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

    // The quick reading of plain digits gives what the locale gives, value or refusal.
    void numbersReadAsTheLocaleReadsThem()
    {
        const QLocale antes;
        const auto leer = [](const QString &t) {
            try {
                return modTexto::aNumero(t);
            } catch (const AppError &) {
                return qQNaN();
            }
        };
        for (const char *nombre : {"C", "es_AR", "de_DE", "en_US", "fr_CH", "ar_EG"}) {
            QLocale::setDefault(QLocale(QString::fromLatin1(nombre)));
            for (const char *texto : {"7", "0012.50", "12,5", "1.234", "1,234.5", "1.234,5", "1.", ".5", "1.2.3", "-2",
                                      "1e3", " 3", "", "x", "123456789012345678901234567890.0001"}) {
                bool ok = false;
                const double esperado = QLocale().toDouble(QString::fromLatin1(texto), &ok);
                const double valor = leer(QString::fromLatin1(texto));
                QVERIFY2(ok ? valor == esperado : qIsNaN(valor), qPrintable(QLatin1String(nombre) + u' ' + texto));
            }
        }
        QLocale::setDefault(antes);
    }

    // The quick writing of a number gives the locale's own text, in the forms it chooses:
    // 100000 is "1e+05" to it, 120000 is not.
    void numbersWrittenAsTheLocaleWritesThem()
    {
        const QLocale antes;
        QList<double> valores{0.0,
                              -0.0,
                              1,
                              -1,
                              0.5,
                              0.05,
                              0.005,
                              0.0005,
                              0.00012,
                              1e-5,
                              123.456,
                              1000,
                              -1000,
                              10000,
                              100000,
                              120000,
                              1234567,
                              12345e10,
                              1e12,
                              1e15,
                              1e16,
                              0.1 + 0.2,
                              1 / 3.0,
                              -2 / 3.0,
                              2.5,
                              99999.99999999999,
                              999.9999999999999,
                              123456789012345.0,
                              1234567890123456.0,
                              1.7976931348623157e308,
                              2.2250738585072014e-308,
                              5e-324,
                              qQNaN(),
                              qInf(),
                              -qInf()};
        std::mt19937_64 azar(25);
        std::uniform_real_distribution<double> mantisa(1, 10);
        std::uniform_int_distribution<int> exponente(-7, 17);
        for (int i = 0; i < 3000; ++i) {
            const double v = mantisa(azar) * std::pow(10.0, exponente(azar));
            // Short ones too, as weights are: 0.35, 1200.
            valores << (i % 2 ? v : std::round(v * 100) / 100) * (i % 3 ? 1 : -1);
        }
        for (const char *nombre : {"C", "es_AR", "de_DE", "en_US", "fr_CH", "ar_EG", "sv_SE"}) {
            QLocale::setDefault(QLocale(QString::fromLatin1(nombre)));
            QLocale local;
            local.setNumberOptions(local.numberOptions() | QLocale::OmitGroupSeparator);
            for (const double v : std::as_const(valores))
                QCOMPARE(modTexto::numeroComoTexto(v), local.toString(v, 'g', 15));
        }
        QLocale sinCeros(QLocale::Spanish, QLocale::Argentina);
        sinCeros.setNumberOptions(QLocale::IncludeTrailingZeroesAfterDot);
        QLocale::setDefault(sinCeros);
        QCOMPARE(modTexto::numeroComoTexto(2.5), sinCeros.toString(2.5, 'g', 15));
        QLocale::setDefault(antes);
    }

    // The locale reads "inf" and "nan" as numbers, and a number past the largest double as
    // infinity: none of them is a number the program takes.
    void numbersAreFinite()
    {
        const QLocale antes;
        for (const char *nombre : {"C", "es_AR", "en_US"}) {
            QLocale::setDefault(QLocale(QString::fromLatin1(nombre)));
            for (const char *texto : {"inf", "-inf", "+inf", "nan", "NaN", "-nan", "1e309", "-1e309"}) {
                bool refusado = false;
                try {
                    modTexto::aNumero(QString::fromLatin1(texto));
                } catch (const AppError &e) {
                    refusado = e.number() == ErrorNumbers::kTypeMismatch;
                }
                QVERIFY2(refusado, qPrintable(QLatin1String(nombre) + u' ' + texto));
            }
        }
        QLocale::setDefault(antes);
    }

    // A value in a message: up to 200 characters as it is, a longer one cut there with "…",
    // never between the two halves of a character.
    void longValuesAreCutForMessages()
    {
        QCOMPARE(modTexto::paraMensaje(QString(200, u'x')), QString(200, u'x'));
        QCOMPARE(modTexto::paraMensaje(QString(100000, u'x')), QString(200, u'x') + u'…');
        const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80"); // two UTF-16 units
        QCOMPARE(modTexto::paraMensaje(QString(199, u'x') + emoji + u'y'), QString(199, u'x') + u'…');
        QCOMPARE(modTexto::paraMensaje(QString()), QString());
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
