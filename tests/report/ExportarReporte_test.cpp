#include "external/ComponentRegistry.h"
#include "external/FileSystemComponent.h"
#include "platform/ReviewList.h"
#include "report/ExportarReporte.h"

#include "support/MsgBoxRecorder.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QtTest>
#include <memory>

namespace {
// The save dialog answered with a fixed path ("" = cancelled).
class SaveAnswer : public FileSystemComponent {
public:
    explicit SaveAnswer(QString path) : m_path(std::move(path)) {}
    QString ShowOpen(const QString &, QWidget *, const QString &, const QString &) override { return {}; }
    QString ShowSave(const QString &title, QWidget *, const QString &ext, const QString &filter) override
    {
        asked = title + QLatin1Char('|') + ext + QLatin1Char('|') + filter;
        return m_path;
    }
    bool ExisteArchivo(const QString &) override { return false; }
    static inline QString asked;

private:
    QString m_path;
};

void answerSaveWith(const QString &path)
{
    ComponentRegistry::registerSubstitute(QStringLiteral("oFILES.clSistema"),
                                          [path] { return std::make_shared<SaveAnswer>(path); });
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
} // namespace

class ExportarReporteTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestEnvironment> m_env;

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup()
    {
        ComponentRegistry::reset();
        m_env.reset();
    }

    void writesEveryItemTabSeparated()
    {
        ReviewList list;
        list.addColumn(QStringLiteral("ARTICULOS"), 2300);
        list.addColumn(QStringLiteral("DESCRIPCION"), 2300);
        list.addColumn(QStringLiteral("ESTADO"), 2000);
        const int a = list.addItem(QStringLiteral("A-1"));
        list.setSubItem(a, 1, QStringLiteral("Válvula\t1/2\" ñ "));
        list.setSubItem(a, 2, QStringLiteral("Nuevo"));
        list.setChecked(a, true);
        list.addItem(QStringLiteral("B"));
        const QString path = m_env->path(QStringLiteral("reporte.xls"));
        QFile::remove(path);
        answerSaveWith(path);
        MsgBoxRecorder boxes;
        ExportarReporte(list);
        QCOMPARE(SaveAnswer::asked, QStringLiteral("Guardar Reporte|xls|"));
        QCOMPARE(contents(path), QStringLiteral("A-1\tVálvula 1/2\" ñ \tNuevo\t\r\nB\t\t\t\r\n").toUtf8());
        QCOMPARE(boxes.last().text, QStringLiteral("Reporte generado en ") + path);
        QCOMPARE(boxes.last().icon, MsgBox::Icon::Information);
    }

    void oneColumnAndEmptyLists()
    {
        ReviewList one;
        one.addColumn(QStringLiteral("ARTICULOS"), 2300);
        one.addItem(QStringLiteral("X"));
        const QString path = m_env->path(QStringLiteral("uno.xls"));
        answerSaveWith(path);
        MsgBoxRecorder boxes;
        ExportarReporte(one);
        QCOMPARE(contents(path), QByteArray("X\t\r\n"));
        ReviewList empty;
        empty.addColumn(QStringLiteral("ARTICULOS"), 2300);
        ExportarReporte(empty);
        QCOMPARE(contents(path), QByteArray());
        QCOMPARE(boxes.last().text, QStringLiteral("Reporte generado en ") + path);
    }

    void cancelledOrBlankPathWritesNothing()
    {
        ReviewList list;
        list.addColumn(QStringLiteral("ARTICULOS"), 2300);
        list.addItem(QStringLiteral("X"));
        for (const QString &answer : {QString(), QStringLiteral("   ")}) {
            answerSaveWith(answer);
            MsgBoxRecorder boxes;
            ExportarReporte(list);
            QCOMPARE(boxes.count(), 1);
            QCOMPARE(boxes.last().text, QStringLiteral("Reporte cancelado"));
            QCOMPARE(boxes.last().icon, MsgBox::Icon::Exclamation);
        }
    }

    void failingWriteIsReportedAndLeavesNoFile()
    {
        ReviewList list;
        list.addColumn(QStringLiteral("ARTICULOS"), 2300);
        list.addItem(QStringLiteral("X"));
        const QString path = m_env->path(QStringLiteral("no/existe/reporte.xls"));
        answerSaveWith(path);
        MsgBoxRecorder boxes;
        ExportarReporte(list);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().icon, MsgBox::Icon::Exclamation);
        QVERIFY(boxes.last().text.contains(QStringLiteral(" - seccion[ExportarReporte.frmMain.Sorvanta Linea 0 ]::")));
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_MAIN(ExportarReporteTest)
#include "ExportarReporte_test.moc"
