#include "catalog/ConsultaAnticipada.h"

#include "common/modGlobal.h"
#include "external/DataAccessManager.h"
#include "platform/AppError.h"

#include <QThread>
#include <QtTest>
#include <optional>

namespace {

// Answers every grouped question "none of them", slowly if told so, and records it.
class FakeConexion : public DatabaseConnection {
public:
    void setSql(const QString &statement) override { m_sql = statement; }
    QString sql() const override { return m_sql; }
    bool crearRs(std::shared_ptr<Recordset> &rs) override
    {
        grupos << m_sql.mid(m_sql.indexOf(QStringLiteral(" in (")) + 4);
        if (falla)
            throw *falla;
        if (demoraMs > 0)
            QThread::msleep(demoraMs);
        rs = std::make_shared<Recordset>();
        return false;
    }
    long ejecutar() override { return 0; }

    QStringList grupos;
    unsigned long demoraMs = 0;
    std::optional<AppError> falla;

private:
    QString m_sql;
};

class FakeDatos : public DataAccessManager {
public:
    void LoadParameters() override {}
    std::shared_ptr<DatabaseConnection> getDataConnectionByEntity(const QString &) override { return conexion; }
    QString getDataConnectionTAG(const QString &) override { return QStringLiteral("SQL"); }
    std::shared_ptr<FakeConexion> conexion = std::make_shared<FakeConexion>();
};

std::vector<ConsultaAnticipada::Pendiente> pendientes(const QStringList &codigos)
{
    std::vector<ConsultaAnticipada::Pendiente> lista;
    for (int i = 0; i < codigos.size(); ++i)
        lista.emplace_back(i * 2, codigos[i]); // items between them are not new
    return lista;
}

} // namespace

class ConsultaAnticipadaTest : public QObject {
    Q_OBJECT
private:
    std::shared_ptr<FakeDatos> m_datos;

private Q_SLOTS:
    void init()
    {
        m_datos = std::make_shared<FakeDatos>();
        modGlobal::AccesoDatos = m_datos;
    }

    void cleanup() { modGlobal::reset(); }

    // Codes the database might take for one another never share a group: the later one
    // is asked after the earlier is inserted. Codes beyond ASCII are asked alone.
    void groupsStopAtCodesThatMayBeEqualOrAreNotAscii()
    {
        ConsultaAnticipada consulta(QStringLiteral("GEN"),
                                    pendientes({QStringLiteral("A1"), QStringLiteral("b'2"), QStringLiteral("a-1"),
                                                QStringLiteral("Ñ1"), QStringLiteral("C 3"), QStringLiteral("c3")}));
        QList<bool> ausentes;
        for (int i = 0; i < 6; ++i)
            ausentes << consulta.ausente(i * 2);
        QCOMPARE(ausentes, (QList<bool>{true, true, true, false, true, true}));
        QCOMPARE(m_datos->conexion->grupos,
                 (QStringList{QStringLiteral("('A1', 'b''2')"), QStringLiteral("('a-1')"), QStringLiteral("('C 3')"),
                              QStringLiteral("('c3')")}));
        QVERIFY(!consulta.ausente(1)); // not a new article of the run
    }

    void slowGroupsGiveWayToSingleQuestions()
    {
        QStringList codigos;
        for (int i = 0; i < 40; ++i)
            codigos << QStringLiteral("N%1").arg(i);
        ConsultaAnticipada consulta(QStringLiteral("GEN"), pendientes(codigos));
        m_datos->conexion->demoraMs = 5;
        consulta.anotarSentencia(100'000); // statements take 0.1 ms: a group of 8 should take under 0.8 ms
        int ausentes = 0;
        for (int i = 0; i < 40; ++i)
            ausentes += consulta.ausente(i * 2) ? 1 : 0;
        QCOMPARE(m_datos->conexion->grupos.size(), 2);
        QCOMPARE(ausentes, 16);
    }

    void aRefusedGroupQuestionLeavesEveryArticleToItsOwn()
    {
        ConsultaAnticipada consulta(QStringLiteral("GEN"), pendientes({QStringLiteral("A"), QStringLiteral("B")}));
        m_datos->conexion->falla = AppError(-2147217900, QStringLiteral("DataAccessManager.DAMMain"), QStringLiteral("sintaxis"));
        QVERIFY(!consulta.ausente(0));
        m_datos->conexion->falla.reset();
        QVERIFY(!consulta.ausente(2));
        QCOMPARE(m_datos->conexion->grupos.size(), 1);
    }
};

QTEST_MAIN(ConsultaAnticipadaTest)
#include "ConsultaAnticipada_test.moc"
