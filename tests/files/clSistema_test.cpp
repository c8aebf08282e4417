#include "files/FileSystemComponent.h"
#include "files/clSistema.h"
#include "support/ModalDriver.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

// The file dialogs and file checks of the system component, driven as an operator would.
class clSistemaTest : public QObject {
    Q_OBJECT

    std::shared_ptr<FileSystemComponent> m_sistema = std::make_shared<clSistema>();

    // Runs on the dialog that opens next: checks it, then types the name (or presses Escape).
    static void answerNextDialog(const QString &title, const QString &name, QWidget *owner,
                                 QFileDialog::AcceptMode mode, const QStringList &filters = {})
    {
        ModalDriver::onNextModal([=](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), title);
            QCOMPARE(dialog->parentWidget(), owner);
            QCOMPARE(dialog->acceptMode(), mode);
            if (!filters.isEmpty())
                QCOMPARE(dialog->nameFilters(), filters);
            auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            QVERIFY(edit);
            if (name.isEmpty())
                return QTest::keyClick(dialog, Qt::Key_Escape);
            edit->setText(name);
            QTest::keyClick(edit, Qt::Key_Return);
        });
    }

private Q_SLOTS:
    void filtersOfferEveryWorkbookFormat()
    {
        QCOMPARE(clSistema::filters(QStringLiteral(".ods"), QString()),
                 QStringList(
                     {QStringLiteral("Archivos ODS (*.ods *.xls *.xlsx *.xlsm *.csv *.txt *.xlt *.xltx *.xltm *.ots)"),
                      QStringLiteral("Todos los archivos (*)")}));
        QCOMPARE(clSistema::filters(QStringLiteral("txt"), QStringLiteral("Texto")).first(),
                 QStringLiteral("Texto (*.txt *.xls *.xlsx *.xlsm *.ods *.csv *.xlt *.xltx *.xltm *.ots)"));
    }

    // Open gives the chosen file, save adds the default extension; cancel gives nothing.
    void dialogsGiveTheChosenFileOrNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("artículos.xlsx"));
        QFile(path).open(QIODevice::WriteOnly);
        QWidget owner;
        const QString title = QStringLiteral("Seleccionar archivo de sorvanta");
        const QStringList filters{
            QStringLiteral("Archivos Excel (*.xls *.xlsx *.xlsm *.ods *.csv *.txt *.xlt *.xltx *.xltm *.ots)"),
            QStringLiteral("Todos los archivos (*)")};
        answerNextDialog(title, path, &owner, QFileDialog::AcceptOpen, filters);
        QCOMPARE(m_sistema->ShowOpen(title, &owner, QStringLiteral("xls"), QStringLiteral("Archivos Excel")), path);
        answerNextDialog(title, QString(), &owner, QFileDialog::AcceptOpen);
        QCOMPARE(m_sistema->ShowOpen(title, &owner, QStringLiteral("xls"), QStringLiteral("Archivos Excel")),
                 QString());
        const QString save = QStringLiteral("Guardar Reporte");
        answerNextDialog(save, dir.filePath(QStringLiteral("reporte")), &owner, QFileDialog::AcceptSave);
        QCOMPARE(m_sistema->ShowSave(save, &owner, QStringLiteral("xls"), QString()),
                 dir.filePath(QStringLiteral("reporte.xls")));
        answerNextDialog(save, QString(), &owner, QFileDialog::AcceptSave);
        QCOMPARE(m_sistema->ShowSave(save, &owner, QStringLiteral("xls"), QString()), QString());
    }

    void fileExistence()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("libro.xls"));
        QVERIFY(!m_sistema->ExisteArchivo(path));
        QFile(path).open(QIODevice::WriteOnly);
        QVERIFY(m_sistema->ExisteArchivo(path));
        QVERIFY(!m_sistema->ExisteArchivo(dir.path()));
        QVERIFY(!m_sistema->ExisteArchivo(QString()));
    }
};

QTEST_MAIN(clSistemaTest)
#include "clSistema_test.moc"
