#include "external/ComponentRegistry.h"
#include "external/FileSystemComponent.h"
#include "external/FileWriterComponent.h"
#include "platform/AppError.h"
#include "platform/ReviewList.h"
#include "report/ExportarReporte.h"

#include "support/MsgBoxRecorder.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QWidget>
#include <QtTest>
#include <functional>
#include <memory>

namespace {
// The save dialog answered with a fixed path ("" = cancelled); records what it was asked.
class SaveAnswer : public FileSystemComponent {
public:
    explicit SaveAnswer(QString path) : m_path(std::move(path)) {}
    QString ShowOpen(const QString &, QWidget *, const QString &, const QString &) override { return {}; }
    QString ShowSave(const QString &title, QWidget *owner, const QString &ext, const QString &filter) override
    {
        asked = title + QLatin1Char('|') + ext + QLatin1Char('|') + filter;
        askedOwner = owner;
        if (whileOpen)
            whileOpen();
        return m_path;
    }
    bool ExisteArchivo(const QString &) override { return false; }

    static inline QString asked;
    static inline QWidget *askedOwner = nullptr;
    // Runs while the dialog is open, as the operator could change the list meanwhile.
    static inline std::function<void()> whileOpen;

private:
    QString m_path;
};

// A writer that only records its calls; it can be told to fail on one of them.
class RecordingWriter : public FileWriterComponent {
public:
    void setUbicacion_Archivo(const QString &path) override { step(QStringLiteral("Ubicacion ") + path); }
    void Abrir_Archivo(int mode) override { step(QStringLiteral("Abrir ") + QString::number(mode)); }
    void Escribir(const QString &text) override { step(QStringLiteral("Escribir ") + text); }
    void Cerrar_Archivo() override { step(QStringLiteral("Cerrar")); }

    static inline QStringList calls;
    static inline QString failOn;

private:
    static void step(const QString &call)
    {
        calls << call;
        if (!failOn.isEmpty() && call.startsWith(failOn))
            throw AppError(75, QStringLiteral("oFILES.clManejo"), QStringLiteral("Disco lleno"));
    }
};

void answerSaveWith(const QString &path)
{
    ComponentRegistry::registerSubstitute(QStringLiteral("oFILES.clSistema"),
                                          [path] { return std::make_shared<SaveAnswer>(path); });
}

void recordWrites()
{
    ComponentRegistry::registerSubstitute(QStringLiteral("oFILES.clManejo"),
                                          [] { return std::make_shared<RecordingWriter>(); });
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void addColumns(ReviewList &list, int count)
{
    for (int k = 0; k < count; ++k)
        list.addColumn(QStringLiteral("COL%1").arg(k), 1500);
}
} // namespace

class ExportarReporteTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestEnvironment> m_env;

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        SaveAnswer::asked.clear();
        SaveAnswer::askedOwner = nullptr;
        SaveAnswer::whileOpen = nullptr;
        RecordingWriter::calls.clear();
        RecordingWriter::failOn.clear();
    }
    void cleanup()
    {
        ComponentRegistry::reset();
        m_env.reset();
    }

    // Through the real file writer: the bytes on disk.
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
        const int c = list.addItem(QStringLiteral(" C\t\t"));
        list.setSubItem(c, 2, QStringLiteral("Existe"));
        const QString path = m_env->path(QStringLiteral("reporte.xls"));
        answerSaveWith(path);
        QWidget owner;
        MsgBoxRecorder boxes;

        ExportarReporte(list, &owner);

        QCOMPARE(SaveAnswer::asked, QStringLiteral("Guardar Reporte|xls|"));
        QCOMPARE(SaveAnswer::askedOwner, &owner);
        QCOMPARE(contents(path), QByteArray("A-1\tV\xC3\xA1lvula 1/2\" \xC3\xB1 \tNuevo\t\r\n"
                                            "B\t\t\t\r\n"
                                            " C  \t\tExiste\t\r\n"));
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, QStringLiteral("Reporte generado en ") + path);
        QCOMPARE(boxes.last().icon, MsgBox::Icon::Information);
    }

    void oneColumnAndEmptyLists()
    {
        ReviewList one;
        addColumns(one, 1);
        one.addItem(QStringLiteral("X"));
        one.addItem(QString());
        const QString path = m_env->path(QStringLiteral("uno.xls"));
        answerSaveWith(path);
        MsgBoxRecorder boxes;
        ExportarReporte(one);
        QCOMPARE(contents(path), QByteArray("X\t\r\n\t\r\n"));

        // An empty list replaces the earlier report with an empty file.
        ReviewList empty;
        addColumns(empty, 14);
        ExportarReporte(empty);
        QVERIFY(QFile::exists(path));
        QCOMPARE(contents(path), QByteArray());
        QCOMPARE(boxes.count(), 2);
        QCOMPARE(boxes.last().text, QStringLiteral("Reporte generado en ") + path);
    }

    void writesOnceInOrderWithTheListAsItStoodAtTheClick()
    {
        ReviewList list;
        addColumns(list, 2);
        const int a = list.addItem(QStringLiteral("A"));
        list.setSubItem(a, 1, QStringLiteral("1"));
        const QString path = QStringLiteral("  /tmp/con blancos.xls ");
        answerSaveWith(path);
        recordWrites();
        SaveAnswer::whileOpen = [&list] {
            list.setSubItem(0, 1, QStringLiteral("cambiado"));
            list.addItem(QStringLiteral("tarde"));
        };
        MsgBoxRecorder boxes;

        ExportarReporte(list);

        // The path goes on untrimmed.
        const QStringList expected = {QStringLiteral("Ubicacion ") + path, QStringLiteral("Abrir 2"),
                                      QStringLiteral("Escribir A\t1\t\r\n"), QStringLiteral("Cerrar")};
        QCOMPARE(RecordingWriter::calls, expected);
        QCOMPARE(boxes.last().text, QStringLiteral("Reporte generado en ") + path);
    }

    void cancelledOrBlankPathWritesNothing_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("cancelled") << QString();
        QTest::newRow("blanks only") << QStringLiteral("   ");
    }

    void cancelledOrBlankPathWritesNothing()
    {
        QFETCH(QString, answer);
        ReviewList list;
        addColumns(list, 1);
        list.addItem(QStringLiteral("X"));
        answerSaveWith(answer);
        recordWrites();
        MsgBoxRecorder boxes;

        ExportarReporte(list);

        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, QStringLiteral("Reporte cancelado"));
        QCOMPARE(boxes.last().icon, MsgBox::Icon::Exclamation);
        QCOMPARE(boxes.last().title, MsgBox::appTitle());
        QCOMPARE(RecordingWriter::calls, QStringList());
        QCOMPARE(QDir(m_env->root()).entryList(QDir::Files), QStringList());
    }

    void failingWriterIsReported_data()
    {
        QTest::addColumn<QString>("failOn");
        QTest::addColumn<int>("callsMade");
        QTest::newRow("open") << "Abrir" << 2;
        QTest::newRow("write") << "Escribir" << 3;
        QTest::newRow("close") << "Cerrar" << 4;
    }

    void failingWriterIsReported()
    {
        QFETCH(QString, failOn);
        QFETCH(int, callsMade);
        ReviewList list;
        addColumns(list, 1);
        list.addItem(QStringLiteral("X"));
        answerSaveWith(QStringLiteral("/tmp/r.xls"));
        recordWrites();
        RecordingWriter::failOn = failOn;
        MsgBoxRecorder boxes;

        ExportarReporte(list);

        QCOMPARE(RecordingWriter::calls.size(), callsMade);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text,
                 QStringLiteral("Disco lleno\r\n\r\n75 - seccion[ExportarReporte.frmMain.Sorvanta Linea 0 ]::"
                                "oFILES.clManejo"));
        QCOMPARE(boxes.last().icon, MsgBox::Icon::Exclamation);
    }

    // Through the real file writer: a folder that does not exist.
    void unwritablePathIsReportedAndLeavesNoFile()
    {
        ReviewList list;
        addColumns(list, 1);
        list.addItem(QStringLiteral("X"));
        const QString path = m_env->path(QStringLiteral("no/existe/reporte.xls"));
        answerSaveWith(path);
        MsgBoxRecorder boxes;

        ExportarReporte(list);

        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().icon, MsgBox::Icon::Exclamation);
        QVERIFY2(boxes.last().text.startsWith(QStringLiteral("No se pudo abrir el archivo \"") + path),
                 qPrintable(boxes.last().text));
        QVERIFY2(boxes.last().text.endsWith(QStringLiteral(
                     "\r\n\r\n75 - seccion[ExportarReporte.frmMain.Sorvanta Linea 0 ]::oFILES.clManejo")),
                 qPrintable(boxes.last().text));
        QVERIFY(!QFile::exists(path));
        QVERIFY(!QDir(m_env->path(QStringLiteral("no"))).exists());
    }

    void missingComponentIsReported()
    {
        ReviewList list;
        addColumns(list, 1);
        ComponentRegistry::registerSubstitute(QStringLiteral("oFILES.clManejo"),
                                              [] { return std::shared_ptr<Component>(); });
        answerSaveWith(m_env->path(QStringLiteral("r.xls")));
        MsgBoxRecorder boxes;

        ExportarReporte(list);

        QCOMPARE(boxes.count(), 1);
        QVERIFY2(boxes.last().text.contains(QStringLiteral(
                     "\r\n\r\n429 - seccion[ExportarReporte.frmMain.Sorvanta Linea 0 ]::oFILES.clManejo")),
                 qPrintable(boxes.last().text));
        QCOMPARE(SaveAnswer::asked, QString());
    }
};

QTEST_MAIN(ExportarReporteTest)
#include "ExportarReporte_test.moc"
