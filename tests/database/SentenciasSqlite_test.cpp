#include "core/AppError.h"
#include "database/ErrorDeMotor.h"
#include "database/FormasEnDialecto.h"
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

// A statement of tests/data/sentencias-sqlite.json: SQL pieces and typed values.
Sentencia statement(const QJsonValue &v)
{
    if (v.isString())
        return Sentencia(v.toString());
    Sentencia s;
    for (const QJsonValue &piece : v.toArray()) {
        const QJsonObject o = piece.toObject();
        if (piece.isString())
            s << QLatin1String(piece.toString().toLatin1());
        else if (o.contains(u"t"_s))
            s.texto(o[u"t"_s].toString());
        else if (o.contains(u"n"_s))
            s.numero(o[u"n"_s].toString());
        else
            s.fecha(o[u"d"_s].toString());
    }
    return s;
}

QList<Sentencia> statements(const QJsonValue &v)
{
    QList<Sentencia> out;
    for (const QJsonValue &one : v.toArray())
        out << statement(one);
    return out;
}
} // namespace

class SentenciasSqliteTest : public QObject {
    Q_OBJECT

private slots:
    // Statements run with their values bound must end as their written-out text does: the
    // same rows to the bit (texts, integers, decimals the C library would round otherwise,
    // blobs, a column without a type), the same count of rows changed, the same message for a
    // refused one; values the engine would read otherwise bound (a NUL, an unreadable date)
    // run written out. Every text written out in a dialect is what the dialect makes of the
    // whole text.
    void everyStatementEndsAsItsWrittenText()
    {
        QTemporaryDir dir;
        const QString held = dir.filePath(u"ligadas.sqlite"_s);
        const QString whole = dir.filePath(u"enteras.sqlite"_s);
        const QJsonObject table = QJsonDocument::fromJson([] {
                                      QFile f(QStringLiteral(SORVANTA_SOURCE_DIR "/tests/data/sentencias-sqlite.json"));
                                      f.open(QIODevice::ReadOnly);
                                      return f.readAll();
                                  }())
                                      .object();
        const QList<Sentencia> commands = statements(table[u"commands"_s]);
        QList<Sentencia> questions = statements(table[u"queries"_s]);
        // Qt hands a question to the engine in UTF-16, where a lone surrogate fails it.
        questions << Sentencia("select k from t where x = ").texto(u"a"_s + QChar(0xD800) + u"b"_s);
        for (const Sentencia &s : commands + questions) {
            for (auto kind : {SqlDialect::Sqlite, SqlDialect::Postgres, SqlDialect::Native}) {
                FormasEnDialecto formas(kind);
                QCOMPARE(formas.escrita(s), SqlDialect::translate(s.texto(), kind));
            }
        }
        QStringList bound, byText;
        {
            SqlConnection connection(openFile(held, u"ligadas"_s), SqlDialect::Sqlite);
            QSqlDatabase reference = openFile(whole, u"enteras"_s);
            for (QSqlDatabase db : {QSqlDatabase::database(u"ligadas"_s), reference})
                QVERIFY(QSqlQuery(db).exec(table[u"schema"_s].toString()));
            for (const Sentencia &command : commands) {
                connection.setSql(command);
                try {
                    bound << QString::number(connection.ejecutar());
                } catch (const AppError &e) {
                    bound << engineText(e.description());
                }
                QSqlQuery q(reference);
                byText << (q.exec(SqlDialect::translate(command.texto(), SqlDialect::Sqlite))
                               ? QString::number(q.numRowsAffected())
                               : q.lastError().databaseText().trimmed());
            }
            // The questions, twice each: the second time from the prepared query.
            for (const Sentencia &question : questions + questions) {
                connection.setSql(question);
                std::shared_ptr<Recordset> rs;
                try {
                    connection.crearRs(rs);
                    bound << answer(*rs);
                } catch (const AppError &e) {
                    bound << engineText(e.description());
                }
                QSqlQuery q(reference);
                byText << (q.exec(question.texto()) ? answer(q) : q.lastError().databaseText().trimmed());
            }
        }
        QSqlDatabase::removeDatabase(u"enteras"_s);
        QCOMPARE(bound, byText);
        QCOMPARE(byText.count(u"1"_s), 15); // most commands changed a row, so the rows say something
        QCOMPARE(contents(held), contents(whole));
    }

    // The file is let go with the connection: the engine refuses to close one while a
    // prepared statement of it is left, and the file would stay open, its log beside it.
    void aRunLetsTheFileGoWithItsStatements()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(u"retenida.sqlite"_s);
        {
            QSqlDatabase db = openFile(file, u"crear"_s);
            QVERIFY(QSqlQuery(db).exec(u"pragma journal_mode=wal"_s));
            QVERIFY(QSqlQuery(db).exec(u"create table t (k text primary key, x text)"_s));
        }
        QSqlDatabase::removeDatabase(u"crear"_s);
        QVERIFY(!QFile::exists(file + u"-wal"_s));
        SqlConnection connection(openFile(file, u"tanda"_s), SqlDialect::Sqlite);
        connection.comenzarTanda();
        for (const QString &k : {u"a"_s, u"b"_s}) {
            connection.setSql(Sentencia("insert into t (k, x) values (").texto(k) << QLatin1String(", 'x')"));
            QCOMPARE(connection.ejecutar(), 1L);
        }
        connection.confirmarTanda();
        QVERIFY(QFile::exists(file + u"-wal"_s));
        connection.terminarTanda();
        QVERIFY2(!QFile::exists(file + u"-wal"_s), "the file is still open after the run");
    }
};

QTEST_GUILESS_MAIN(SentenciasSqliteTest)
#include "SentenciasSqlite_test.moc"
