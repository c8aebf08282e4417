#include "core/AppError.h"
#include "database/ErrorDeMotor.h"
#include "database/Recordset.h"
#include "database/SqlConnection.h"

#include "support/DataTable.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QSqlDatabase openFile(const QString &file, const QString &name)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
    db.setDatabaseName(file);
    db.open();
    return db;
}

// Every row and every value with its type, doubles to the last bit; a time of day is any.
QStringList contents(const QString &file)
{
    QStringList rows;
    {
        QSqlDatabase db = openFile(file, u"leer"_s);
        QSqlQuery q(db);
        q.exec(u"select k, i, r, n, x, b, v, typeof(i), typeof(r), typeof(n), typeof(x), typeof(b), typeof(v) "
               "from t order by k"_s);
        while (q.next()) {
            QStringList row;
            for (int c = 0; c < q.record().count(); ++c) {
                const QVariant v = q.value(c);
                row << (v.typeId() == QMetaType::Double       ? QString::number(v.toDouble(), 'g', 17)
                        : v.typeId() == QMetaType::QByteArray ? QString::fromLatin1(v.toByteArray().toHex())
                                                              : v.toString());
            }
            rows << row.join(u'|').replace(QRegularExpression(u"\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d"_s),
                                           u"<fecha>"_s);
        }
    }
    QSqlDatabase::removeDatabase(u"leer"_s);
    return rows;
}

QString shown(const QVariant &v)
{
    return QString::fromLatin1(v.metaType().name()) + u':' + (v.isNull() ? u"NULL"_s : v.toString());
}

// Column names, then each value with its type as Qt gives it.
QString answer(Recordset &rs)
{
    QStringList out = rs.fieldNames();
    for (; !rs.eof(); rs.moveNext())
        for (const QString &name : rs.fieldNames())
            out << shown(rs.fields(name));
    return out.join(u'|');
}

QString answer(QSqlQuery &q)
{
    QStringList out;
    for (int c = 0; c < q.record().count(); ++c)
        out << q.record().fieldName(c);
    while (q.next())
        for (int c = 0; c < q.record().count(); ++c)
            out << shown(q.value(c));
    return out.join(u'|');
}

// The engine's own text, after the Spanish sentence the connection puts in front of it.
QString engineText(const QString &description)
{
    for (auto clase :
         {ErrorDeMotor::Clase::ClaveDuplicada, ErrorDeMotor::Clase::Bloqueada, ErrorDeMotor::Clase::DiscoLleno,
          ErrorDeMotor::Clase::ErrorDeDisco, ErrorDeMotor::Clase::SoloLectura}) {
        const QString lead = ErrorDeMotor::frase(clase) + u' ';
        if (description.startsWith(lead))
            return description.mid(lead.size());
    }
    return description;
}
} // namespace

class PlantillasSqliteTest : public QObject {
    Q_OBJECT

private slots:
    // Commands of one shape share a prepared statement, their literals bound. Every command
    // must end as it does when its text is read whole: the same rows to the bit (texts,
    // integers, decimals the C library would round otherwise, blobs, a column without a
    // type), the same count of rows changed, the same message for a refused one, and texts
    // that are not taken (an exponent, a NUL, +, a syntax error) run as they stand.
    void everyCommandEndsAsItsWholeText()
    {
        QTemporaryDir dir;
        const QString held = dir.filePath(u"plantillas.sqlite"_s);
        const QString whole = dir.filePath(u"enteras.sqlite"_s);
        const QJsonObject table = QJsonDocument::fromJson([] {
                                      QFile f(QStringLiteral(SORVANTA_SOURCE_DIR "/tests/data/plantillas-sqlite.json"));
                                      f.open(QIODevice::ReadOnly);
                                      return f.readAll();
                                  }())
                                      .object();
        QStringList byTemplate, byText;
        {
            SqlConnection connection(openFile(held, u"plantillas"_s), SqlDialect::Sqlite);
            QSqlDatabase reference = openFile(whole, u"enteras"_s);
            for (QSqlDatabase db : {QSqlDatabase::database(u"plantillas"_s), reference})
                QVERIFY(QSqlQuery(db).exec(table[u"schema"_s].toString()));
            for (const QString &command : DataTable::texts(table[u"commands"_s])) {
                connection.setSql(command);
                try {
                    byTemplate << QString::number(connection.ejecutar());
                } catch (const AppError &e) {
                    byTemplate << engineText(e.description());
                }
                QSqlQuery q(reference);
                byText << (q.exec(SqlDialect::translate(command, SqlDialect::Sqlite))
                               ? QString::number(q.numRowsAffected())
                               : q.lastError().databaseText().trimmed());
            }
            // The questions, twice each: the second time from the prepared query. Qt hands a
            // whole question to the engine in UTF-16, where a lone surrogate fails it.
            const QString alone = u"a"_s + QChar(0xD800) + u"b"_s;
            const QStringList questions = DataTable::texts(table[u"queries"_s])
                                          << u"select k from t where x = '%1'"_s.arg(alone);
            for (const QString &question : questions + questions) {
                connection.setSql(question);
                std::shared_ptr<Recordset> rs;
                try {
                    connection.crearRs(rs);
                    byTemplate << answer(*rs);
                } catch (const AppError &e) {
                    byTemplate << engineText(e.description());
                }
                QSqlQuery q(reference);
                byText << (q.exec(question) ? answer(q) : q.lastError().databaseText().trimmed());
            }
        }
        QSqlDatabase::removeDatabase(u"enteras"_s);
        QCOMPARE(byTemplate, byText);
        QCOMPARE(byText.count(u"1"_s), 13); // most commands changed a row, so the rows say something
        QCOMPARE(contents(held), contents(whole));
    }

    // The file is let go with the connection: the engine refuses to close one while a
    // prepared statement of it is left, and a run that holds the file would keep it held.
    void aRunLetsTheFileGoWithItsStatements()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(u"retenida.sqlite"_s);
        {
            QSqlDatabase db = openFile(file, u"crear"_s);
            QVERIFY(QSqlQuery(db).exec(u"create table t (k text primary key, x text)"_s));
        }
        QSqlDatabase::removeDatabase(u"crear"_s);
        SqlConnection connection(openFile(file, u"tanda"_s), SqlDialect::Sqlite);
        connection.comenzarTanda();
        for (const QString &k : {u"a"_s, u"b"_s}) {
            connection.setSql(u"insert into t (k, x) values ('%1', 'x')"_s.arg(k));
            QCOMPARE(connection.ejecutar(), 1L);
        }
        connection.confirmarTanda();
        connection.terminarTanda();
        {
            QSqlDatabase other = openFile(file, u"otra"_s);
            QVERIFY2(QSqlQuery(other).exec(u"insert into t (k, x) values ('c', 'otra')"_s),
                     "another program cannot write after the run");
        }
        QSqlDatabase::removeDatabase(u"otra"_s);
    }
};

QTEST_GUILESS_MAIN(PlantillasSqliteTest)
#include "PlantillasSqlite_test.moc"
