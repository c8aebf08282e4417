#include "MemoryExcel.h"
#include "SheetFiles.h"

#include "core/ErrorNumbers.h"
#include "files/FileSystemComponent.h"
#include "sheet/clEcxel.h"
#include "sheet/modCargaExcel.h"
#include "support/DataTable.h"
#include "support/Fakes.h"
#include "support/MsgBoxRecorder.h"
#include "widgets/FlexGrid.h"

#include <QFileInfo>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace {
// "oFILES.clSistema" with a scripted open dialog and the real file-existence test.
class ScriptedFiles : public FileSystemComponent {
public:
    QString answer;
    bool failDialog = false;
    QStringList calls;
    QWidget *owner = nullptr;

    QString ShowOpen(const QString &title, QWidget *ownerWindow, const QString &ext, const QString &filter) override
    {
        calls << title + u'|' + ext + u'|' + filter;
        owner = ownerWindow;
        if (failDialog)
            throw AppError(32755, u"CommonDialog"_s, u"Se ha seleccionado Cancelar."_s);
        return answer;
    }
    QString ShowSave(const QString &, QWidget *, const QString &, const QString &) override { return QString(); }
    bool ExisteArchivo(const QString &path) override { return QFileInfo::exists(path); }
};

using Row = QJsonArray;
} // namespace

// Loading a workbook into the grid, and the workbook wrapper it reads through.
class modCargaExcelTest : public QObject {
    Q_OBJECT
    std::shared_ptr<ScriptedFiles> m_files;
    QTemporaryDir m_dir;
    std::unique_ptr<FlexGrid> m_grid;
    std::unique_ptr<QLabel> m_label;
    std::unique_ptr<MsgBoxRecorder> m_boxes; // a real message box would block
    std::shared_ptr<MemoryExcelLog> m_excelLog;

    bool load(const QString &path) { return modCargaExcel::lf_LevantarExcel(path, *m_grid, *m_label); }

    QStringList gridRow(int r) const
    {
        QStringList texts;
        for (int c = 0; c < m_grid->cols(); ++c)
            texts << m_grid->textMatrix(r, c);
        return texts;
    }

    // A "memory" sheet is served by the in-memory application instead of the engine;
    // rows "damaged" gives a damaged file.
    QString sheet(const QString &stem, const QString &ext, const QJsonArray &rows)
    {
        const QString name = stem + u'.' + ext;
        if (rows.size() == 1 && rows[0].toString() == u"damaged"_s) {
            QFile f(m_dir.filePath(name));
            if (f.open(QIODevice::WriteOnly))
                f.write(QByteArray("PK\x03\x04\x14\x00 roto ", 12).repeated(40));
            return f.fileName();
        }
        if (ext != u"memory"_s)
            return SheetFiles::write(m_dir, name, rows);
        auto data = std::make_shared<SheetData>();
        for (int r = 0; r < rows.size(); ++r) {
            const QJsonArray cells = rows.at(r).toArray();
            for (int c = 0; c < cells.size(); ++c) {
                if (cells[c].isString())
                    data->set(r + 1, c + 1, CellValue::fromText(cells[c].toString()));
                else if (cells[c].isDouble())
                    data->set(r + 1, c + 1, CellValue::fromNumber(cells[c].toDouble()));
            }
        }
        m_excelLog = MemoryExcel::install(data);
        QFile file(m_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly))
            return QString();
        return file.fileName();
    }

private Q_SLOTS:
    void init()
    {
        QLocale::setDefault(QLocale(u"en_US"_s));
        m_files = std::make_shared<ScriptedFiles>();
        modGlobal::SistemaArchivos = m_files;
        m_grid = std::make_unique<FlexGrid>();
        m_label = std::make_unique<QLabel>();
        m_boxes = std::make_unique<MsgBoxRecorder>();
    }
    void cleanup()
    {
        QVERIFY2(!QApplication::overrideCursor(), "hourglass left on");
        m_grid.reset();
        m_label.reset();
        m_boxes.reset();
        m_excelLog.reset();
        modGlobal::reset();
        ComponentRegistry::reset();
        QLocale::setDefault(QLocale::c());
    }

    // Each case of tests/data/hojas-cargadas.json in each of its formats: the grid loaded
    // (whatever an earlier load and mapping left goes), or the message of the refusal ("..."
    // at its start: only the end is compared); the caption, and the in-memory workbook's calls.
    // "locale": the one in force while loading.
    void loading_data()
    {
        QTest::addColumn<QString>("ext");
        QTest::addColumn<QJsonObject>("c");
        for (const QJsonValue &c : DataTable::read(u"hojas-cargadas.json"_s))
            for (const QString &ext : DataTable::texts(c[u"formats"_s]))
                QTest::addRow("%s, %s", qPrintable(c[u"name"_s].toString()), qPrintable(ext)) << ext << c.toObject();
    }
    void loading()
    {
        QFETCH(QString, ext);
        QFETCH(QJsonObject, c);
        if (c.contains(u"locale"_s))
            QLocale::setDefault(QLocale(c[u"locale"_s].toString()));
        const QString path = sheet(u"hoja"_s, ext, c[u"rows"_s].toArray());
        QVERIFY(!path.isEmpty());
        m_grid->setCols(5);
        m_grid->setRows(9);
        m_grid->setTextMatrix(0, 1, u"Codigo Articulo"_s);
        const QString message = c[u"message"_s].toString();
        QCOMPARE(load(path), message.isEmpty());
        QCOMPARE(m_boxes->count(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) {
            const QString text = m_boxes->last().text;
            QVERIFY2(message.startsWith(u"..."_s) ? text.endsWith(message.mid(3)) : text == message, qPrintable(text));
            QCOMPARE(m_boxes->last().icon,
                     message.startsWith(u"Archivo"_s) ? MsgBox::Icon::Exclamation : MsgBox::Icon::Critical);
        }
        if (c.contains(u"caption"_s))
            QCOMPARE(m_label->text(), c[u"caption"_s].toString());
        const QJsonArray grid = c[u"grid"_s].toArray();
        if (!grid.isEmpty())
            QCOMPARE(m_grid->rows(), grid.size());
        const auto date = [](const QString &t) { // "{2024-03-05}": that day, short, in the locale
            return t.startsWith(u'{')
                       ? QLocale().toString(QDate::fromString(t.mid(1, 10), Qt::ISODate), QLocale::ShortFormat)
                       : t;
        };
        for (int r = 0; r < grid.size(); ++r)
            QCOMPARE(gridRow(r), DataTable::expected(grid[r].toArray(), gridRow(r), date));
        for (int col = 0; message.isEmpty() && col < m_grid->cols(); ++col) {
            QCOMPARE(m_grid->fixedRows(), 1);
            QCOMPARE(m_grid->cellForeColor(0, col), QColor(0, 0, 255));
            QVERIFY(m_grid->cellFontBold(0, col) && !m_grid->cellFontBold(1, col));
            QCOMPARE(m_grid->colWidth(col), 3000);
        }
        if (m_excelLog && c.contains(u"log"_s))
            QCOMPARE(m_excelLog->calls, DataTable::texts(c[u"log"_s]).replaceInStrings(u"%1"_s, path));
    }

    // The rows left out are counted up to the first empty row, as the scan would have read on.
    void readsAtMostTheRowLimit_data()
    {
        QTest::addColumn<QString>("ext");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("beyond");
        QTest::newRow("exactly the limit") << u"memory"_s << modCargaExcel::kMaxFilas << 0;
        QTest::newRow("one more, memory") << u"memory"_s << modCargaExcel::kMaxFilas + 1 << 1;
        QTest::newRow("three more, memory") << u"memory"_s << modCargaExcel::kMaxFilas + 3 << 3;
        // Past what the workbook keeps in memory.
        QTest::newRow("many more, csv") << u"csv"_s << 70000 << 70000 - modCargaExcel::kMaxFilas;
    }
    void readsAtMostTheRowLimit()
    {
        QFETCH(QString, ext);
        QFETCH(int, rows);
        QFETCH(int, beyond);
        QJsonArray cells{Row{"Codigo", "Peso"}};
        for (int r = 2; r <= rows; ++r)
            cells.append(Row{u"ART-%1"_s.arg(r), r});
        cells.append(Row{});
        cells.append(Row{"despues", "del vacio"});
        QVERIFY(load(sheet(u"grande"_s, ext, cells)));
        QCOMPARE(m_grid->rows(), 65534);
        QCOMPARE(gridRow(65533), QStringList({"ART-65534", "65534"}));
        QCOMPARE(m_label->text(), u"Leyendo 65534 registros..."_s);
        QCOMPARE(m_boxes->count(), beyond ? 1 : 0);
        if (beyond) {
            const QString left = beyond == 1 ? u"1 fila más que no se cargó"_s
                                             : u"%1 filas más que no se cargaron"_s.arg(beyond);
            QCOMPARE(m_boxes->last().text,
                     u"Se cargaron 65534 filas; la hoja tiene %1. Divida el archivo para procesarlas."_s.arg(left));
            QCOMPARE(m_boxes->last().icon, MsgBox::Icon::Information);
        }
    }

    // Said with the normal pointer; blanks only say nothing; the grid stays as it was.
    void missingFileLeavesTheGridAlone()
    {
        m_grid->setCols(2);
        m_grid->setTextMatrix(0, 1, u"Codigo Articulo"_s);
        const QString path = m_dir.filePath(u"no esta.xlsx"_s);
        bool hourglass = true;
        MsgBox::setHandler([&](const QString &, MsgBox::Icon, const QString &) {
            hourglass = QApplication::overrideCursor() != nullptr;
        });
        QVERIFY(!load(path));
        QVERIFY(!hourglass);
        m_boxes.reset();
        m_boxes = std::make_unique<MsgBoxRecorder>();
        QVERIFY(!load(path));
        QCOMPARE(m_boxes->count(), 1);
        QCOMPARE(m_boxes->last().text, u"No se encuentra el archivo seleccionado \r\n"_s + path);
        QCOMPARE(m_boxes->last().icon, MsgBox::Icon::Exclamation);
        QCOMPARE(m_grid->textMatrix(0, 1), u"Codigo Articulo"_s);
        QVERIFY(!load(u"   "_s));
        QVERIFY(!load(QString()));
        QCOMPARE(m_boxes->count(), 1);
    }

    // Chosen, cancelled (the former path is loaded again), failing.
    void openDialog()
    {
        QWidget owner;
        QLineEdit txt(u"anterior.xlsx"_s);
        m_files->answer = SheetFiles::examplesDir() + u"/articulos.xlsx"_s;
        QVERIFY(modCargaExcel::Seleccionar_Archivo_XLS(txt, &owner));
        QCOMPARE(txt.text(), m_files->answer);
        QCOMPARE(m_files->calls, QStringList({"Seleccionar archivo de sorvanta|xls|Archivos Excel"}));
        QCOMPARE(m_files->owner, &owner);

        m_files->answer.clear();
        QVERIFY(!modCargaExcel::Seleccionar_Archivo_XLS(txt, nullptr));
        QVERIFY(load(txt.text()));
        QCOMPARE(m_boxes->count(), 0);
        QCOMPARE(m_grid->rows(), 23);
        QCOMPARE(m_grid->cols(), 7);
        QCOMPARE(m_grid->textMatrix(22, 0), u"MOT-0.5HP"_s);
        QCOMPARE(m_label->text(), u"Leyendo 23 registros..."_s);

        m_files->failDialog = true;
        QVERIFY(!modCargaExcel::Seleccionar_Archivo_XLS(txt, nullptr));
        QCOMPARE(txt.text(), SheetFiles::examplesDir() + u"/articulos.xlsx"_s);
        QCOMPARE(m_boxes->count(), 1);
        QCOMPARE(m_boxes->last().text, u"Se ha seleccionado Cancelar.\r\n\r\n32755 - seccion "
                                       "[Trivolsa.frmMain.Seleccionar_Archivo_XLS]"_s);
        QCOMPARE(m_boxes->last().icon, MsgBox::Icon::None);
    }

    // The workbook wrapper the loader reads through.
    void opensReadOnlyReadsAndCloses()
    {
        auto data = std::make_shared<SheetData>();
        data->set(2, 3, CellValue::fromText(u"VAL-1020-A"_s));
        data->set(1, 1, CellValue::fromError(u"#DIV/0!"_s));
        auto log = MemoryExcel::install(data);
        log->failClosingWorkbooks = true;
        clEcxel excel;
        QCOMPARE(errorOf([&] { excel.Abrir(true); }).description(), u"No hay archivo seleccionado2"_s);
        QCOMPARE(excel.LeerCelda(1, 1), QString());
        excel.Archivo(u"/datos/lista.xlsx"_s);
        QVERIFY(excel.Abrir(true));
        QCOMPARE(excel.LeerCelda(2, 3), u"VAL-1020-A"_s);
        QCOMPARE(excel.LeerCelda(3, 2), QString());
        const AppError e = errorOf([&] { excel.LeerCelda(1, 1); });
        QCOMPARE(e.number(), ErrorNumbers::kTypeMismatch);
        QCOMPARE(e.source(), u"[clExcel.LeerCelda]"_s);
        QCOMPARE(e.description(), u"No coinciden los tipos"_s);
        excel.CerrarArchivo();
        // A failing close of the workbooks still closes the application, silently.
        QCOMPARE(log->calls, (QStringList{u"open /datos/lista.xlsx 1 1 0"_s, u"closeWorkbooks"_s, u"close"_s}));
        // Damaged files are refused through the loader's test; a missing one only reaches here.
        ComponentRegistry::reset();
        excel.Archivo(u"/no/existe.xlsx"_s);
        const AppError missing = errorOf([&] { excel.Abrir(true); });
        QCOMPARE(missing.source(), u"[clExcel.Abrir]"_s);
        QVERIFY2(missing.description().size() > 1 && missing.description().endsWith(u'3'),
                 qPrintable(missing.description()));
    }
};

QTEST_MAIN(modCargaExcelTest)
#include "modCargaExcel_test.moc"
