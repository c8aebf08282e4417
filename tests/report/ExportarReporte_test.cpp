#include "components/ComponentRegistry.h"
#include "core/AppError.h"
#include "files/FileSystemComponent.h"
#include "files/FileWriterComponent.h"
#include "report/ExportarReporte.h"
#include "widgets/ReviewList.h"

#include "support/DataTable.h"
#include "support/MsgBoxRecorder.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QtTest>
#include <functional>

using namespace Qt::StringLiterals;

namespace {
// The save dialog answered with a fixed path ("" = cancelled); records what it was asked.
struct SaveAnswer : FileSystemComponent {
    QString path;
    QString ShowOpen(const QString &, QWidget *, const QString &, const QString &) override { return {}; }
    QString ShowSave(const QString &title, QWidget *owner, const QString &ext, const QString &filter) override
    {
        asked = title + u'|' + ext + u'|' + filter;
        askedOwner = owner;
        if (whileOpen) // as the operator could change the list meanwhile
            whileOpen();
        return path;
    }
    bool ExisteArchivo(const QString &) override { return false; }
    static inline QString asked;
    static inline QWidget *askedOwner = nullptr;
    static inline std::function<void()> whileOpen;
};

// A writer that only records its calls; it can be told to fail on one of them.
struct RecordingWriter : FileWriterComponent {
    void setUbicacion_Archivo(const QString &path) override { step(u"Ubicacion "_s + path); }
    void Abrir_Archivo(int mode) override { step(u"Abrir "_s + QString::number(mode)); }
    void Escribir(const QString &text) override { step(u"Escribir "_s + text); }
    void Cerrar_Archivo() override { step(u"Cerrar"_s); }
    static inline QStringList calls;
    static inline QString failOn;
    static void step(const QString &call)
    {
        calls << call;
        if (!failOn.isEmpty() && call.startsWith(failOn))
            throw AppError(75, u"oFILES.clManejo"_s, u"Disco lleno"_s);
    }
};

void answerSaveWith(const QString &path)
{
    ComponentRegistry::registerSubstitute(u"oFILES.clSistema"_s, [path] {
        auto answer = std::make_shared<SaveAnswer>();
        answer->path = path;
        return answer;
    });
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// A list of `columns` columns holding items with the given codes.
void fill(ReviewList &list, int columns, const QStringList &codes)
{
    for (int k = 0; k < columns; ++k)
        list.addColumn(u"COL%1"_s.arg(k), 1500);
    for (const QString &c : codes)
        list.addItem(c);
}

const QString kSection = u"\r\n\r\n75 - seccion[ExportarReporte.frmMain.Sorvanta Linea 0 ]::oFILES.clManejo"_s;
} // namespace

class ExportarReporteTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<MsgBoxRecorder> m_boxes;

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_boxes = std::make_unique<MsgBoxRecorder>();
        SaveAnswer::asked.clear();
        SaveAnswer::askedOwner = nullptr;
        SaveAnswer::whileOpen = nullptr;
        RecordingWriter::calls.clear();
        RecordingWriter::failOn.clear();
    }
    void cleanup()
    {
        ComponentRegistry::reset();
        m_boxes.reset();
        m_env.reset();
    }

    // Through the real file writer: each item's texts with a TAB after each, CR LF, UTF-8;
    // TABs inside a text become blanks. An empty list then replaces the report with an empty file.
    // The path goes on untrimmed; the list is written as it stood at the click.
    void writesEveryItemTabSeparated()
    {
        ReviewList list;
        fill(list, 3, {u"A-1"_s, u"B"_s, u" C\t\t"_s});
        list.setSubItem(0, 1, u"Válvula\t1/2\" ñ "_s);
        list.setSubItem(0, 2, u"Nuevo"_s);
        list.setChecked(0, true);
        list.setSubItem(2, 2, u"Existe"_s);
        const QString path = m_env->path(u" reporte.xls "_s);
        answerSaveWith(path);
        SaveAnswer::whileOpen = [&list] {
            list.setSubItem(1, 1, u"cambiado"_s);
            list.addItem(u"tarde"_s);
        };
        QWidget owner;
        ExportarReporte(list, &owner);
        QCOMPARE(SaveAnswer::asked, u"Guardar Reporte|xls|"_s);
        QCOMPARE(SaveAnswer::askedOwner, &owner);
        QCOMPARE(contents(path), QByteArray("A-1\tV\xC3\xA1lvula 1/2\" \xC3\xB1 \tNuevo\t\r\n"
                                            "B\t\t\t\r\n"
                                            " C  \t\tExiste\t\r\n"));
        QCOMPARE(m_boxes->count(), 1);
        QCOMPARE(m_boxes->last().text, u"Reporte generado en "_s + path);
        QCOMPARE(m_boxes->last().icon, MsgBox::Icon::Information);

        ReviewList one;
        fill(one, 1, {u"X"_s, QString()});
        ExportarReporte(one);
        QCOMPARE(contents(path), QByteArray("X\t\r\n\t\r\n"));
        ReviewList empty;
        fill(empty, 14, {});
        ExportarReporte(empty);
        QCOMPARE(contents(path), QByteArray());
        QCOMPARE(m_boxes->count(), 3);
        QCOMPARE(m_boxes->last().text, u"Reporte generado en "_s + path);
    }

    // tests/data/reporte-fallas.json: the path answered, the writer's call that fails ("real":
    // the real writer; "none": no writer), the calls made and the message.
    void failures_data() { DataTable::addRows(u"reporte-fallas.json"_s); }
    void failures()
    {
        QFETCH(QJsonObject, c);
        const QString answer = c[u"answer"_s].toString(), failOn = c[u"failOn"_s].toString();
        const QString message = c[u"message"_s].toString();
        ReviewList list;
        fill(list, 1, {u"X"_s});
        const bool relative = !answer.trimmed().isEmpty() && !answer.startsWith(u'/');
        answerSaveWith(relative ? m_env->path(answer) : answer);
        if (failOn == u"none"_s)
            ComponentRegistry::registerSubstitute(u"oFILES.clManejo"_s, [] { return std::shared_ptr<Component>(); });
        else if (failOn != u"real"_s)
            ComponentRegistry::registerSubstitute(u"oFILES.clManejo"_s,
                                                  [] { return std::make_shared<RecordingWriter>(); });
        RecordingWriter::failOn = failOn;
        ExportarReporte(list);
        QCOMPARE(RecordingWriter::calls.size(), c[u"calls"_s].toInt());
        QCOMPARE(m_boxes->count(), 1);
        const QString text = m_boxes->last().text;
        if (failOn == u"real"_s)
            QVERIFY2(text.startsWith(message.mid(3) + m_env->path(answer)) && text.endsWith(kSection),
                     qPrintable(text));
        else if (failOn == u"none"_s)
            QVERIFY2(text.endsWith(message.mid(3)) && SaveAnswer::asked.isEmpty(), qPrintable(text));
        else
            QCOMPARE(text, message);
        QCOMPARE(m_boxes->last().icon, MsgBox::Icon::Exclamation);
        QCOMPARE(m_boxes->last().title, MsgBox::appTitle());
        QCOMPARE(QDir(m_env->root()).entryList(QDir::Files), QStringList());
        QVERIFY(!QDir(m_env->path(u"no"_s)).exists());
    }
};

QTEST_MAIN(ExportarReporteTest)
#include "ExportarReporte_test.moc"
