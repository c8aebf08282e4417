#pragma once

// Header-only helpers shared by the tests of the program's folders (not by tests/external).

#include "components/ComponentRegistry.h"
#include "core/AppError.h"
#include "core/modGlobal.h"
#include "database/DataAccessManager.h"
#include "support/SqlRows.h"

#include <QApplication>
#include <QThread>
#include <QtTest>
#include <optional>

// A catalog connection answering every query with the rows it holds, recording each query.
struct FakeConnection : DatabaseConnection {
    QStringList fields;
    std::vector<QVariantList> rows;
    QStringList queries;
    std::optional<AppError> failure;
    unsigned long delayMs = 0;

    void setSql(const Sentencia &s) override { m_sql = s.texto(); }
    QString sql() const override { return m_sql; }
    bool crearRs(std::shared_ptr<Recordset> &rs) override
    {
        queries << m_sql;
        if (failure)
            throw *failure;
        if (delayMs)
            QThread::msleep(delayMs);
        rs = std::make_shared<Recordset>(fields, rows);
        return !rows.empty();
    }
    long ejecutar() override { return 0; }

private:
    QString m_sql;
};

struct FakeData : DataAccessManager {
    std::shared_ptr<FakeConnection> connection = std::make_shared<FakeConnection>();
    std::optional<AppError> loadFailure;
    void LoadParameters() override
    {
        if (loadFailure)
            throw *loadFailure;
    }
    std::shared_ptr<DatabaseConnection> getDataConnectionByEntity(const QString &) override { return connection; }
    QString getDataConnectionTAG(const QString &) override { return QStringLiteral("SQL"); }
};

// The real data-access component, on whatever the test environment points it at.
inline void useRealData()
{
    modGlobal::AccesoDatos = ComponentRegistry::create<DataAccessManager>(QStringLiteral("DataAccessManager.DAMMain"));
    modGlobal::AccesoDatos->LoadParameters();
}

inline void runSql(const Sentencia &sql, const QString &entity = QStringLiteral("CATALOGOS"))
{
    SqlRows::execute(*modGlobal::AccesoDatos, entity, sql);
}

inline QStringList sqlRow(const QString &sql, const QString &entity = QStringLiteral("CATALOGOS"))
{
    return SqlRows::firstRow(*modGlobal::AccesoDatos, entity, sql);
}

// descripcion, ncm, ArtKgUnitario, IdPais, USUARIO, FECHA, observacion1 of a GEN article; empty when absent.
inline QStringList article(const QString &codigo)
{
    return sqlRow(QStringLiteral("select descripcion, ncm, ArtKgUnitario, IdPais, USUARIO, FECHA, observacion1 "
                                 "from catarticulos where idcatalogo = 'GEN' and idarticulo = '%1'")
                      .arg(codigo));
}

inline int articleCount()
{
    return sqlRow(QStringLiteral("select count(*) from catarticulos where idcatalogo = 'GEN'")).value(0).toInt();
}

// The error f raises; number 0 when it raises none.
template <class F> AppError errorOf(F f)
{
    try {
        f();
    } catch (const AppError &e) {
        return e;
    }
    return AppError(0, QString(), QString());
}

// The offscreen platform does not activate a new modal window by itself; a real one does.
inline void keyInModal(QWidget *modal, int key)
{
    if (QApplication::activeWindow() != modal || !QApplication::focusWidget()) {
        modal->activateWindow();
        QTRY_VERIFY(QApplication::activeWindow() == modal && QApplication::focusWidget());
    }
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key));
}
