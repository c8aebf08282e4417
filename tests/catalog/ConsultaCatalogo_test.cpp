#include "catalog/ClaveHolgada.h"
#include "catalog/ConsultaCatalogo.h"
#include "catalog/JuicioDeGrupos.h"
#include "catalog/modEntidadCatalogo.h"

#include "support/Fakes.h"
#include "support/TestEnvironment.h"

using namespace Qt::StringLiterals;

// F11's grouped questions to the catalog give, row for row, what single questions give.
class ConsultaCatalogoTest : public QObject {
    Q_OBJECT

    static QStringList answers(const QStringList &codes, bool grouped)
    {
        ConsultaCatalogo consulta(
            u"GEN"_s, [&](int fila) { return codes.value(fila); }, codes.size());
        QStringList out;
        for (int fila = 1; fila < codes.size(); ++fila) {
            if (codes[fila].isEmpty())
                continue;
            RegArticulo art;
            art.idarticulo = codes[fila];
            if (grouped)
                consulta.completar(fila, art);
            else
                modEntidadCatalogo::getArticuloenCatalogo(u"GEN"_s, art);
            out << codes[fila] + u'=' + art.estado + u'/' + art.ncm_catalogo;
        }
        return out;
    }

private Q_SLOTS:
    // Codes equal but for letter case, repeated, beyond ASCII, with blanks; rows without
    // article; more rows than one group holds.
    void groupedAnswersAreTheSingleOnes()
    {
        TestEnvironment env;
        useRealData();
        for (const auto &[id, ncm] : {std::pair{"ABC", "1"}, {"x-1", "2"}, {"Ñu", "3"}, {"a b", "4"}, {"N-70", "7"}})
            runSql(u"insert into catarticulos (idcatalogo, idarticulo, ncm) values ('GEN', '%1', '%2')"_s.arg(
                QString::fromUtf8(id), QString::fromUtf8(ncm)));
        QStringList codes{u"encabezado"_s, u"primero"_s, u"segundo"_s, u"abc"_s, u"X-1"_s,  QString(),
                          u"ABC"_s,        u"A B"_s,     u"Ñu"_s,      u"ñu"_s,  u"nuevo"_s};
        for (int i = 0; i < 150; ++i)
            codes << u"N-%1"_s.arg(i);
        const QStringList single = answers(codes, false);
        QCOMPARE(answers(codes, true), single);
        QVERIFY(single.contains(u"abc=Existe/1"_s) && single.contains(u"N-70=Existe/7"_s));
        modGlobal::reset();
    }

    // Codes a collation may take for one another share a key; letters some collations spell
    // as two (ä, å, æ, ß) and letters beyond Latin get none, so those codes are asked alone.
    void codesTheDatabaseMayEquateShareAKey()
    {
        for (const auto &[a, b] : {std::pair{"Válvula-1", "VALVULA 1"}, {"ÑU", "nu"}, {"Çè", "ce"}, {"e\u0301", "É"}})
            QCOMPARE(claveHolgada(QString::fromUtf8(a)), claveHolgada(QString::fromUtf8(b)));
        for (const char *sinClave : {"Bär", "Åse", "Æ1", "straße", "Ω", "x\u0308"})
            QVERIFY2(claveHolgada(QString::fromUtf8(sinClave)).isEmpty(), sinClave);
        QVERIFY(claveHolgada(u"É1"_s) != claveHolgada(u"E2"_s));
    }

    // An answer that cannot be read back code by code, as a collation that takes "Æ1" for
    // "AE1" gives, leaves those rows to single questions.
    void anUnreadableAnswerGoesBackToSingleQuestions()
    {
        auto fake = std::make_shared<FakeData>();
        modGlobal::AccesoDatos = fake;
        fake->connection->fields = {u"idarticulo"_s, u"ncm"_s};
        fake->connection->rows = {{u"Æ1"_s, u"9"_s}};
        const QStringList codes{u"encabezado"_s, u"A"_s, u"B"_s, u"C"_s, u"AE1"_s, u"F"_s};
        const QStringList got = answers(codes, true);
        const QStringList &queries = fake->connection->queries;
        QCOMPARE(queries.size(), 6); // three timed single ones, the group, then each of its two rows alone
        QVERIFY(queries[3].contains(u"idarticulo in ('AE1', 'F')"_s));
        QVERIFY(queries[4].endsWith(u"idarticulo = 'AE1'"_s));
        QCOMPARE(got.last(), u"F=Existe/9"_s);
        modGlobal::reset();
    }

    // Groups that stall now and then, or are slow for good, cost the run a bounded number of
    // single questions: never one question per article for the rest of the run.
    void slowGroupsPauseButNeverForTheRestOfTheRun()
    {
        JuicioDeGrupos stall;
        for (int i = 0; i < 3; ++i)
            stall.anotarSola(1000);
        for (int i = 0; i < 4; ++i)
            stall.anotarGrupo(1'000'000, 64);
        int singles = 0;
        while (!stall.agrupar())
            ++singles;
        QCOMPARE(singles, JuicioDeGrupos::kPausaMinima);
        stall.anotarGrupo(1000, 64); // quick again: the next pause is short again

        JuicioDeGrupos slow;
        for (int i = 0; i < 3; ++i)
            slow.anotarSola(1000);
        int groups = 0;
        singles = 0;
        for (int question = 0; question < 65'534; ++question) {
            if (slow.agrupar()) {
                ++groups;
                slow.anotarGrupo(1'000'000, 64);
            } else {
                ++singles;
            }
        }
        // Slow for good: nearly all single, with a group tried again after each long pause.
        QVERIFY2(groups < 80, qPrintable(QString::number(groups)));
        QVERIFY(singles > 65'000);
    }

    // A link that holds back the answers of the first few groups: the rest of the rows are still
    // asked in groups.
    void aFewDelayedGroupAnswersDoNotTurnTheRunIntoSingleQuestions()
    {
        // Every answer takes a round trip of 1 ms; four group answers are held back far longer.
        struct Delayed : FakeConnection {
            int delayedGroups = 4;
            bool crearRs(std::shared_ptr<Recordset> &rs) override
            {
                const bool held = sql().contains(u" in ("_s) && delayedGroups > 0;
                delayedGroups -= held ? 1 : 0;
                QThread::msleep(held ? 400 : 1);
                return FakeConnection::crearRs(rs);
            }
        };
        auto fake = std::make_shared<FakeData>();
        auto delayed = std::make_shared<Delayed>();
        fake->connection = delayed;
        modGlobal::AccesoDatos = fake;
        QStringList codes{u"encabezado"_s};
        for (int i = 0; i < 8'000; ++i)
            codes << u"C%1"_s.arg(i);
        answers(codes, true);
        const qsizetype asked = delayed->queries.size();
        QVERIFY2(asked < 8'000 / 16, qPrintable(QString::number(asked)));
        modGlobal::reset();
    }
};

QTEST_GUILESS_MAIN(ConsultaCatalogoTest)
#include "ConsultaCatalogo_test.moc"
