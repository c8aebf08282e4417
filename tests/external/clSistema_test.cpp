#include "external/ComponentRegistry.h"
#include "external/FileSystemComponent.h"
#include "external/files/clSistema.h"
#include "support/ModalDriver.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

class clSistemaTest : public QObject {
    Q_OBJECT

    std::shared_ptr<FileSystemComponent> m_sistema =
        ComponentRegistry::create<FileSystemComponent>(QStringLiteral("oFILES.clSistema"));

    // Types the name into the dialog that opens next and presses Enter.
    static void typeIntoNextDialog(const QString &name, QFileDialog **seen)
    {
        ModalDriver::onNextModal([name, seen](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            QVERIFY(dialog);
            *seen = dialog;
            auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            QVERIFY(edit);
            edit->setText(name);
            QTest::keyClick(edit, Qt::Key_Return);
        });
    }

private Q_SLOTS:
    void filtersOfferEveryWorkbookFormat()
    {
        QCOMPARE(clSistema::filters(QStringLiteral("xls"), QStringLiteral("Archivos Excel")),
                 QStringList({QStringLiteral("Archivos Excel (*.xls *.xlsx *.xlsm *.ods *.csv)"),
                              QStringLiteral("Todos los archivos (*)")}));
        QCOMPARE(clSistema::filters(QStringLiteral(".ods"), QString()),
                 QStringList({QStringLiteral("Archivos ODS (*.ods *.xls *.xlsx *.xlsm *.csv)"),
                              QStringLiteral("Todos los archivos (*)")}));
        QCOMPARE(clSistema::filters(QStringLiteral("txt"), QStringLiteral("Texto")).first(),
                 QStringLiteral("Texto (*.txt *.xls *.xlsx *.xlsm *.ods *.csv)"));
    }

    void openReturnsTheChosenFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("artículos.xlsx"));
        QFile(path).open(QIODevice::WriteOnly);
        QWidget owner;
        QFileDialog *seen = nullptr;
        typeIntoNextDialog(path, &seen);
        QCOMPARE(m_sistema->ShowOpen(QStringLiteral("Seleccionar archivo de sorvanta"), &owner, QStringLiteral("xls"),
                                     QStringLiteral("Archivos Excel")),
                 path);
        QVERIFY(seen);
    }

    void openShowsTitleFiltersAndOwner()
    {
        QWidget owner;
        ModalDriver::onNextModal([&owner](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Seleccionar archivo de sorvanta"));
            QCOMPARE(dialog->parentWidget(), &owner);
            QCOMPARE(dialog->nameFilters(), clSistema::filters(QStringLiteral("xls"), QStringLiteral("Archivos Excel")));
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QCOMPARE(m_sistema->ShowOpen(QStringLiteral("Seleccionar archivo de sorvanta"), &owner, QStringLiteral("xls"),
                                     QStringLiteral("Archivos Excel")),
                 QString());
    }

    void saveAddsTheDefaultExtensionAndCancelGivesEmpty()
    {
        QTemporaryDir dir;
        QWidget owner;
        QFileDialog *seen = nullptr;
        typeIntoNextDialog(dir.filePath(QStringLiteral("reporte")), &seen);
        QCOMPARE(m_sistema->ShowSave(QStringLiteral("Guardar Reporte"), &owner, QStringLiteral("xls"), QString()),
                 dir.filePath(QStringLiteral("reporte.xls")));
        QVERIFY(seen);

        ModalDriver::onNextModal([](QWidget *modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        QCOMPARE(m_sistema->ShowSave(QStringLiteral("Guardar Reporte"), &owner, QStringLiteral("xls"), QString()),
                 QString());
    }

    void fileExistence()
    {
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("libro.xls"));
        QVERIFY(!m_sistema->ExisteArchivo(path));
        QFile(path).open(QIODevice::WriteOnly);
        QVERIFY(m_sistema->ExisteArchivo(path));
        QVERIFY(!m_sistema->ExisteArchivo(dir.path()));
        QVERIFY(!m_sistema->ExisteArchivo(QString()));
    }
};

QTEST_MAIN(clSistemaTest)
#include "clSistema_test.moc"
