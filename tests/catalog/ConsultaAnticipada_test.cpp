#include "catalog/ConsultaAnticipada.h"

#include "support/Fakes.h"

using namespace Qt::StringLiterals;

namespace {
// New articles at even positions: the items between them are not new.
std::vector<ConsultaAnticipada::Pendiente> pending(const QStringList &codigos)
{
    std::vector<ConsultaAnticipada::Pendiente> list;
    for (int i = 0; i < codigos.size(); ++i)
        list.emplace_back(i * 2, codigos[i]);
    return list;
}
} // namespace

// Every grouped question is answered "none of them".
class ConsultaAnticipadaTest : public QObject {
    Q_OBJECT
    std::shared_ptr<FakeData> m_data;

    QStringList groups() const
    {
        QStringList out;
        for (const QString &q : m_data->connection->queries)
            out << q.mid(q.indexOf(u" in ("_s) + 4);
        return out;
    }

private Q_SLOTS:
    void init()
    {
        m_data = std::make_shared<FakeData>();
        modGlobal::AccesoDatos = m_data;
    }
    void cleanup() { modGlobal::reset(); }

    // Codes the database might take for one another never share a group: the later one
    // is asked after the earlier is inserted. Codes beyond ASCII are asked alone.
    void groupsStopAtCodesThatMayBeEqualOrAreNotAscii()
    {
        ConsultaAnticipada consulta(u"GEN"_s, pending({u"A1"_s, u"b'2"_s, u"a-1"_s, u"Ñ1"_s, u"C 3"_s, u"c3"_s}));
        QList<bool> absent;
        for (int i = 0; i < 6; ++i)
            absent << consulta.ausente(i * 2);
        QCOMPARE(absent, (QList<bool>{true, true, true, false, true, true}));
        QCOMPARE(groups(), (QStringList{u"('A1', 'b''2')"_s, u"('a-1')"_s, u"('C 3')"_s, u"('c3')"_s}));
        QVERIFY(!consulta.ausente(1)); // not a new article of the run
    }

    void slowGroupsGiveWayToSingleQuestions()
    {
        QStringList codigos;
        for (int i = 0; i < 40; ++i)
            codigos << u"N%1"_s.arg(i);
        ConsultaAnticipada consulta(u"GEN"_s, pending(codigos));
        m_data->connection->delayMs = 5;
        consulta.anotarSentencia(100'000); // statements take 0.1 ms: a group of 8 should take under 0.8 ms
        int absent = 0;
        for (int i = 0; i < 40; ++i)
            absent += consulta.ausente(i * 2) ? 1 : 0;
        QCOMPARE(m_data->connection->queries.size(), 2);
        QCOMPARE(absent, 16);
    }

    void aRefusedGroupQuestionLeavesEveryArticleToItsOwn()
    {
        ConsultaAnticipada consulta(u"GEN"_s, pending({u"A"_s, u"B"_s}));
        m_data->connection->failure = AppError(-2147217900, u"DataAccessManager.DAMMain"_s, u"sintaxis"_s);
        QVERIFY(!consulta.ausente(0));
        m_data->connection->failure.reset();
        QVERIFY(!consulta.ausente(2));
        QCOMPARE(m_data->connection->queries.size(), 1);
    }
};

QTEST_GUILESS_MAIN(ConsultaAnticipadaTest)
#include "ConsultaAnticipada_test.moc"
