#include "MemoryExcel.h"
#include "SheetFiles.h"

#include "common/modGlobal.h"
#include "external/FileSystemComponent.h"
#include "platform/FlexGrid.h"
#include "sheet/modCargaExcel.h"
#include "support/MsgBoxRecorder.h"

#include <QApplication>
#include <QFileInfo>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

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
        calls << title + QLatin1Char('|') + ext + QLatin1Char('|') + filter;
        owner = ownerWindow;
        if (failDialog)
            throw AppError(32755, QStringLiteral("CommonDialog"), QStringLiteral("Se ha seleccionado Cancelar."));
        return answer;
    }
    QString ShowSave(const QString &, QWidget *, const QString &, const QString &) override { return QString(); }
    bool ExisteArchivo(const QString &path) override { return QFileInfo::exists(path); }
};

const QString kCaption3 = QStringLiteral("Leyendo 4 registros...");
const QString kFormatoIncorrecto = QStringLiteral(
    "Archivo excel con Formato incorrecto, por favor edite el archivo y no deje muchas columnas vacias");

QJsonArray row(std::initializer_list<QJsonValue> cells)
{
    return QJsonArray(cells);
}

QStringList gridRow(const FlexGrid &grid, int r)
{
    QStringList texts;
    for (int c = 0; c < grid.cols(); ++c)
        texts << grid.textMatrix(r, c);
    return texts;
}

} // namespace

class modCargaExcelTest : public QObject {
    Q_OBJECT
private:
    std::shared_ptr<ScriptedFiles> m_files;
    QTemporaryDir m_dir;
    FlexGrid *m_grid = nullptr;
    QLabel *m_label = nullptr;
    // Every test: a real message box would block.
    std::unique_ptr<MsgBoxRecorder> m_boxes;
    // Calls the in-memory application received.
    std::shared_ptr<MemoryExcelLog> m_excelLog;

    bool load(const QString &path)
    {
        const int before = m_boxes->count();
        const bool filled = modCargaExcel::lf_LevantarExcel(path, *m_grid, *m_label);
        if (m_boxes->count() > before)
            qInfo("message shown: %s", qPrintable(m_boxes->last().text));
        return filled;
    }

    // ".memory" files are served by the in-memory application instead of the engine.
    QString sheet(const QString &name, const QJsonArray &rows)
    {
        if (name.endsWith(QStringLiteral(".memory")))
            return memorySheet(name, rows);
        const QString path = SheetFiles::write(m_dir, name, rows);
        if (path.isEmpty())
            qFatal("cannot write %s", qPrintable(name));
        return path;
    }

    QString memorySheet(const QString &name, const QJsonArray &rows)
    {
        auto data = std::make_shared<SheetData>();
        for (int r = 0; r < rows.size(); ++r) {
            const QJsonArray cells = rows.at(r).toArray();
            for (int c = 0; c < cells.size(); ++c) {
                const QJsonValue cell = cells.at(c);
                if (cell.isString())
                    data->set(r + 1, c + 1, CellValue::fromText(cell.toString()));
                else if (cell.isDouble())
                    data->set(r + 1, c + 1, CellValue::fromNumber(cell.toDouble()));
            }
        }
        m_excelLog = MemoryExcel::install(data);
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    void tearDown()
    {
        delete m_grid;
        m_grid = nullptr;
        delete m_label;
        m_label = nullptr;
        m_boxes.reset();
        m_excelLog.reset();
        modGlobal::reset();
        ComponentRegistry::reset();
        QLocale::setDefault(QLocale::c());
    }

    static void addFormats(std::initializer_list<const char *> formats)
    {
        QTest::addColumn<QString>("ext");
        for (const char *ext : formats)
            QTest::newRow(ext) << QString::fromLatin1(ext);
    }

private Q_SLOTS:
    void init()
    {
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        m_files = std::make_shared<ScriptedFiles>();
        modGlobal::SistemaArchivos = m_files;
        m_grid = new FlexGrid;
        m_label = new QLabel;
        m_boxes = std::make_unique<MsgBoxRecorder>();
    }
    void cleanup()
    {
        QVERIFY2(!QApplication::overrideCursor(), "hourglass left on");
        tearDown();
    }

    void loadsUpToTheFirstEmptyRowAndHeaderWidth_data() { addFormats({"memory", "xlsx", "xls", "ods", "csv"}); }
    void loadsUpToTheFirstEmptyRowAndHeaderWidth()
    {
        QFETCH(QString, ext);
        // Header A, B, C with a value under the empty fourth header; a row starting empty;
        // row 5 empty, so row 6 is never loaded.
        const QString path = sheet(QStringLiteral("bordes.") + ext,
                                   QJsonArray{row({"A", "B", "C", QJsonValue()}),
                                              row({"VAL-1020-A", "Válvula", "China", "no se lee"}),
                                              row({QJsonValue(), "x", QJsonValue()}),
                                              row({"TOR-M8-30", "Tornillo", "Brasil"}),
                                              row({QJsonValue(), QJsonValue(), QJsonValue(), "fuera"}),
                                              row({"ROD-6204", "Rodamiento", "ALEMANIA"})});
        MsgBoxRecorder &boxes = *m_boxes;
        QVERIFY(load(path));
        QCOMPARE(boxes.count(), 0);
        QCOMPARE(m_grid->cols(), 3);
        QCOMPARE(m_grid->rows(), 4);
        QCOMPARE(m_grid->fixedRows(), 1);
        QCOMPARE(gridRow(*m_grid, 0), QStringList({"A", "B", "C"}));
        QCOMPARE(gridRow(*m_grid, 1), QStringList({"VAL-1020-A", "Válvula", "China"}));
        QCOMPARE(gridRow(*m_grid, 2), QStringList({"", "x", ""}));
        QCOMPARE(gridRow(*m_grid, 3), QStringList({"TOR-M8-30", "Tornillo", "Brasil"}));
        QCOMPARE(m_label->text(), kCaption3);
        for (int c = 0; c < 3; ++c) {
            QCOMPARE(m_grid->cellForeColor(0, c), QColor(0, 0, 255));
            QVERIFY(m_grid->cellFontBold(0, c));
            QVERIFY(!m_grid->cellFontBold(1, c));
            QCOMPARE(m_grid->colWidth(c), 3000);
        }
        QCOMPARE(m_grid->row(), 0);
        QCOMPARE(m_grid->col(), 0);
        QCOMPARE(m_grid->rowSel(), 0);
        QCOMPARE(m_grid->colSel(), 2);
        if (m_excelLog) {
            QCOMPARE(m_excelLog->calls, QStringList({QStringLiteral("open %1 1 1 0").arg(path),
                                                     QStringLiteral("closeWorkbooks"), QStringLiteral("close")}));
        }
    }

    void headerOnlyIsRefused_data() { addFormats({"memory", "xlsx", "csv"}); }
    void headerOnlyIsRefused()
    {
        QFETCH(QString, ext);
        const QString path = sheet(QStringLiteral("encabezado.") + ext, QJsonArray{row({"Codigo", "Origen"})});
        m_grid->setCols(5);
        m_grid->setRows(9);
        MsgBoxRecorder &boxes = *m_boxes;
        QVERIFY(!load(path));
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, kFormatoIncorrecto);
        QCOMPARE(boxes.last().icon, MsgBox::Icon::Exclamation);
        QCOMPARE(boxes.last().title, MsgBox::appTitle());
        QCOMPARE(m_grid->rows(), 1);
        QCOMPARE(m_grid->cols(), 2);
        QCOMPARE(m_label->text(), QStringLiteral("Leyendo 1 registros..."));
        // Refused sheets are not closed, only released.
        if (m_excelLog)
            QCOMPARE(m_excelLog->calls, QStringList({QStringLiteral("open %1 1 1 0").arg(path)}));
    }

    void emptyFirstCellEndsInTheGridsRefusal_data() { addFormats({"memory", "xlsx"}); }
    void emptyFirstCellEndsInTheGridsRefusal()
    {
        QFETCH(QString, ext);
        const QString path = sheet(QStringLiteral("sin-a1.") + ext, QJsonArray{row({QJsonValue(), "B"}), row({"1", "2"})});
        MsgBoxRecorder &boxes = *m_boxes;
        QVERIFY(!load(path));
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, QStringLiteral("30009 - Valor de fila no válido\r\n\r\n"
                                                   "Seccion [Mendral.frmCFGExcel.lf_LevantarExcel]:: nro 91"));
        QCOMPARE(boxes.last().icon, MsgBox::Icon::Critical);
        QCOMPARE(m_label->text(), QStringLiteral("Leyendo 0 registros..."));
    }

    void tabsAndLineBreaksStayInTheirCell_data() { addFormats({"memory", "xlsx", "csv"}); }
    void tabsAndLineBreaksStayInTheirCell()
    {
        QFETCH(QString, ext);
        const QString path = sheet(QStringLiteral("separadores.") + ext,
                                   QJsonArray{row({"Codigo", "Descripcion", "Origen"}),
                                              row({"A-1", "Caja\tx 100", "China"}),
                                              row({"A-2", "Linea uno\rLinea dos", "Brasil"}),
                                              row({"A-3", "Uno\nDos\nTres", "EEUU"})});
        QVERIFY(load(path));
        QCOMPARE(m_boxes->count(), 0);
        QCOMPARE(m_grid->rows(), 4);
        QCOMPARE(m_grid->cols(), 3);
        QCOMPARE(gridRow(*m_grid, 1), QStringList({"A-1", "Caja x 100", "China"}));
        QCOMPARE(gridRow(*m_grid, 2), QStringList({"A-2", "Linea uno Linea dos", "Brasil"}));
        QCOMPARE(gridRow(*m_grid, 3), QStringList({"A-3", "Uno Dos Tres", "EEUU"}));
    }

    void readsAtMostTheRowLimit()
    {
        QJsonArray rows;
        for (int r = 1; r <= modCargaExcel::kMaxFilas + 3; ++r)
            rows.append(row({QString::number(r)}));
        QVERIFY(load(sheet(QStringLiteral("limite.memory"), rows)));
        QCOMPARE(m_grid->rows(), 65534);
        QCOMPARE(m_grid->textMatrix(65533, 0), QStringLiteral("65534"));
        QCOMPARE(m_label->text(), QStringLiteral("Leyendo 65534 registros..."));
    }

    void readsAtMostTheRowLimitFromAWorkbook()
    {
        QJsonArray rows{row({"Codigo", "Peso"})};
        for (int r = 2; r <= 65537; ++r)
            rows.append(row({QStringLiteral("ART-%1").arg(r), r}));
        const QString path = sheet(QStringLiteral("grande.xlsx"), rows);
        QVERIFY(load(path));
        QCOMPARE(m_grid->rows(), 65534);
        QCOMPARE(gridRow(*m_grid, 65533), QStringList({"ART-65534", "65534"}));
    }

    void numbersDatesAndFormulasInTheRegion_data() { addFormats({"xlsx", "xls", "ods"}); }
    void numbersDatesAndFormulasInTheRegion()
    {
        QFETCH(QString, ext);
        const bool formulas = ext != QStringLiteral("xls");
        const QString path =
            sheet(QStringLiteral("valores.") + ext,
                  QJsonArray{row({"Peso", "Fecha", "Total"}),
                             row({1.5, QJsonObject{{"date", "2024-03-05"}},
                                  QJsonObject{{"formula", "=2*3.25"}, {"value", 6.5}}})});
        for (const char *name : {"es_AR", "en_US"}) {
            const QLocale locale{QString::fromLatin1(name)};
            QLocale::setDefault(locale);
            QVERIFY(load(path));
            const bool comma = locale.decimalPoint() == QStringLiteral(",");
            QCOMPARE(m_grid->textMatrix(1, 0), comma ? QStringLiteral("1,5") : QStringLiteral("1.5"));
            QCOMPARE(m_grid->textMatrix(1, 1), locale.toString(QDate(2024, 3, 5), QLocale::ShortFormat));
            if (formulas)
                QCOMPARE(m_grid->textMatrix(1, 2), comma ? QStringLiteral("6,5") : QStringLiteral("6.5"));
        }
    }

    void errorCellStopsTheLoad_data() { addFormats({"xlsx", "xls"}); }
    void errorCellStopsTheLoad()
    {
        QFETCH(QString, ext);
        const QString path = sheet(QStringLiteral("error.") + ext,
                                   QJsonArray{row({"Codigo", "Peso"}),
                                              row({"A-1", QJsonObject{{"error", "#DIV/0!"}}})});
        MsgBoxRecorder &boxes = *m_boxes;
        QVERIFY(!load(path));
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, QStringLiteral("13 - No coinciden los tipos\r\n\r\n"
                                                   "Seccion [Mendral.frmCFGExcel.lf_LevantarExcel]:: nro 70"));
        QCOMPARE(boxes.last().icon, MsgBox::Icon::Critical);
        QCOMPARE(m_label->text(), QStringLiteral("Leyendo 1 registros..."));
    }

    void damagedFileIsReported_data() { addFormats({"xlsx", "xls", "ods"}); }
    void damagedFileIsReported()
    {
        QFETCH(QString, ext);
        const QString path = m_dir.filePath(QStringLiteral("danado.") + ext);
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("PK\x03\x04\x14\x00 roto ", 12).repeated(40));
        f.close();
        MsgBoxRecorder &boxes = *m_boxes;
        QVERIFY(!load(path));
        QCOMPARE(boxes.count(), 1);
        const QString text = boxes.last().text;
        QVERIFY2(text.endsWith(QStringLiteral("3\r\n\r\nSeccion [Mendral.frmCFGExcel.lf_LevantarExcel]:: nro 40")),
                 qPrintable(text));
        QCOMPARE(boxes.last().icon, MsgBox::Icon::Critical);
    }

    void missingFileLeavesTheGridAlone()
    {
        m_grid->setCols(2);
        m_grid->setTextMatrix(0, 1, QStringLiteral("Codigo Articulo"));
        const QString path = m_dir.filePath(QStringLiteral("no esta.xlsx"));
        MsgBoxRecorder &boxes = *m_boxes;
        QVERIFY(!load(path));
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, QStringLiteral("No se encuentra el archivo seleccionado \r\n") + path);
        QCOMPARE(boxes.last().icon, MsgBox::Icon::Exclamation);
        QCOMPARE(m_grid->textMatrix(0, 1), QStringLiteral("Codigo Articulo"));
        // Blanks only: nothing at all.
        QVERIFY(!load(QStringLiteral("   ")));
        QVERIFY(!load(QString()));
        QCOMPARE(boxes.count(), 1);
    }

    void messagesShowWithTheNormalPointer()
    {
        bool hourglass = true;
        MsgBox::setHandler([&](const QString &, MsgBox::Icon, const QString &) {
            hourglass = QApplication::overrideCursor() != nullptr;
        });
        QVERIFY(!load(m_dir.filePath(QStringLiteral("falta.csv"))));
        QVERIFY(!hourglass);
    }

    void chosenFileGoesIntoTheTextBox()
    {
        QWidget owner;
        QLineEdit txt;
        txt.setText(QStringLiteral("anterior.xlsx"));
        m_files->answer = SheetFiles::examplesDir() + QStringLiteral("/articulos.ods");
        QVERIFY(modCargaExcel::Seleccionar_Archivo_XLS(txt, &owner));
        QCOMPARE(txt.text(), m_files->answer);
        QCOMPARE(m_files->calls, QStringList({"Seleccionar archivo de sorvanta|xls|Archivos Excel"}));
        QCOMPARE(m_files->owner, &owner);
    }

    void cancelledDialogReloadsTheFormerPath()
    {
        QLineEdit txt;
        txt.setText(SheetFiles::examplesDir() + QStringLiteral("/articulos.xlsx"));
        m_files->answer.clear();
        QVERIFY(!modCargaExcel::Seleccionar_Archivo_XLS(txt, nullptr));
        QCOMPARE(txt.text(), SheetFiles::examplesDir() + QStringLiteral("/articulos.xlsx"));
        QVERIFY(load(txt.text()));
        QCOMPARE(m_boxes->count(), 0);
        QCOMPARE(m_grid->rows(), 23);
        QCOMPARE(m_grid->cols(), 7);
        QCOMPARE(m_grid->textMatrix(22, 0), QStringLiteral("MOT-0.5HP"));
        QCOMPARE(m_label->text(), QStringLiteral("Leyendo 23 registros..."));
    }

    void failingDialogIsReported()
    {
        QLineEdit txt;
        txt.setText(QStringLiteral("anterior.xlsx"));
        m_files->failDialog = true;
        MsgBoxRecorder &boxes = *m_boxes;
        QVERIFY(!modCargaExcel::Seleccionar_Archivo_XLS(txt, nullptr));
        QCOMPARE(txt.text(), QStringLiteral("anterior.xlsx"));
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, QStringLiteral("Se ha seleccionado Cancelar.\r\n\r\n32755 - seccion "
                                                   "[Trivolsa.frmMain.Seleccionar_Archivo_XLS]"));
        QCOMPARE(boxes.last().icon, MsgBox::Icon::None);
    }

    void reloadReplacesTheGridAndItsHeaderLabels()
    {
        const QString big = sheet(QStringLiteral("primero.ods"),
                                  QJsonArray{row({"a", "b", "c", "d"}), row({"1", "2", "3", "4"}),
                                             row({"5", "6", "7", "8"}), row({"9", "10", "11", "12"})});
        const QString small = sheet(QStringLiteral("segundo.xls"),
                                    QJsonArray{row({"Codigo", "Origen"}), row({"X-1", "China"})});
        QVERIFY(load(big));
        m_grid->setTextMatrix(0, 1, QStringLiteral("Codigo Articulo"));
        QVERIFY(load(small));
        QCOMPARE(m_grid->rows(), 2);
        QCOMPARE(m_grid->cols(), 2);
        QCOMPARE(gridRow(*m_grid, 0), QStringList({"Codigo", "Origen"}));
        QCOMPARE(gridRow(*m_grid, 1), QStringList({"X-1", "China"}));
        QCOMPARE(m_grid->fixedRows(), 1);
    }
};

QTEST_MAIN(modCargaExcelTest)
#include "modCargaExcel_test.moc"
