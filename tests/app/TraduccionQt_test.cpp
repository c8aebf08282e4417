#include "app/TraduccionQt.h"
#include "components/ComponentRegistry.h"
#include "components/ComponentesDeVentana.h"
#include "files/FileSystemComponent.h"
#include "support/ModalDriver.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

// Qt's own dialogs and buttons once start-up has loaded its Spanish translations.
class TraduccionQtTest : public QObject {
    Q_OBJECT

    static QString label(const QWidget &dialog, const char *name)
    {
        const auto *found = dialog.findChild<QLabel *>(QLatin1String(name));
        return found ? found->text() : QString();
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(InstalarTraduccionQt()); }

    void standardButtons_data()
    {
        QTest::addColumn<int>("boton");
        QTest::addColumn<QString>("texto");
        QTest::newRow("ok") << int(QDialogButtonBox::Ok) << u"Aceptar"_s;
        QTest::newRow("cancel") << int(QDialogButtonBox::Cancel) << u"Cancelar"_s;
        QTest::newRow("yes") << int(QDialogButtonBox::Yes) << u"&Sí"_s;
        QTest::newRow("save") << int(QDialogButtonBox::Save) << u"Guardar"_s;
    }

    void standardButtons()
    {
        QFETCH(int, boton);
        QFETCH(QString, texto);
        const auto cual = QDialogButtonBox::StandardButton(boton);
        const QDialogButtonBox box(cual);
        QCOMPARE(box.button(cual)->text(), texto);
    }

    void fileDialog()
    {
        QFileDialog dialog(nullptr, u"Guardar Reporte"_s);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        QCOMPARE(
            QStringList({label(dialog, "lookInLabel"), label(dialog, "fileNameLabel"), label(dialog, "fileTypeLabel")}),
            QStringList({u"Ver en:"_s, u"&Nombre de fichero:"_s, u"Ficheros de tipo:"_s}));
    }

    // Saving the report over a file asks first: No goes back to the dialog, Sí replaces.
    void saveAsksBeforeReplacing()
    {
        QTemporaryDir dir;
        const QString existing = dir.filePath(u"reporte.xls"_s);
        QFile(existing).open(QIODevice::WriteOnly);
        ComponentesDeVentana::registrar();
        const auto sistema = ComponentRegistry::create<FileSystemComponent>(u"oFILES.clSistema"_s);
        QStringList asked;
        auto answer = [&asked](QMessageBox::StandardButton choice) {
            ModalDriver::onNextModal([&asked, choice](QWidget *modal) {
                auto *box = qobject_cast<QMessageBox *>(modal);
                QVERIFY(box);
                asked << box->text();
                box->button(choice)->click();
            });
        };
        ModalDriver::onNextModal([&](QWidget *modal) {
            auto *edit = modal->findChild<QLineEdit *>(u"fileNameEdit"_s);
            QVERIFY(edit);
            edit->setText(existing);
            answer(QMessageBox::No);
            QTest::keyClick(edit, Qt::Key_Return);
            QVERIFY(modal->isVisible());
            answer(QMessageBox::Yes);
            QTest::keyClick(edit, Qt::Key_Return);
        });
        QCOMPARE(sistema->ShowSave(u"Guardar Reporte"_s, nullptr, u"xls"_s, QString()), existing);
        const QString question = u"El fichero reporte.xls ya existe.\n¿Desea reemplazarlo?"_s;
        QCOMPARE(asked, QStringList({question, question}));
    }
};

QTEST_MAIN(TraduccionQtTest)
#include "TraduccionQt_test.moc"
