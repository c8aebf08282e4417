#include "components/ComponentRegistry.h"
#include "core/AppError.h"
#include "core/ErrorNumbers.h"
#include "files/FileWriterComponent.h"
#include "support/Fakes.h"

#include <QTemporaryDir>
#include <QtTest>

// The report writer: mode 8 appends, and a file is never left half-written.
class clManejoTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath(QStringLiteral("reporte.xls"));

    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    static std::shared_ptr<FileWriterComponent> writer(const QString &path)
    {
        auto file = ComponentRegistry::create<FileWriterComponent>(QStringLiteral("oFILES.clManejo"));
        file->setUbicacion_Archivo(path);
        return file;
    }

private Q_SLOTS:
    void nothingHalfWritten()
    {
        const QString &path = m_path;
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("anterior") == 8);
        old.close();
        {
            auto file = writer(path);
            file->Abrir_Archivo(2);
            file->Escribir(QStringLiteral("a medias"));
            QCOMPARE(contents(path), QByteArray("anterior"));
        }
        // Released without closing: the old file stays and no stray file is left.
        QCOMPARE(contents(path), QByteArray("anterior"));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList(QStringLiteral("reporte.xls")));
        // Mode 8 appends (mode 2, the one the reports use, is ExportarReporte_test's).
        auto file = writer(path);
        file->Abrir_Archivo(8);
        file->Escribir(QStringLiteral("\tdos ñ\r\n"));
        file->Cerrar_Archivo();
        QCOMPARE(contents(path), QByteArray("anterior\tdos \xc3\xb1\r\n"));
    }

    void failures()
    {
        const QString missingFolder = m_dir.filePath(QStringLiteral("no/existe/reporte.xls"));
        auto file = writer(missingFolder);
        // The error a call raises, as "source number description".
        const auto failure = [](auto call) {
            const AppError e = errorOf(call);
            return e.source() + u' ' + QString::number(e.number()) + u' ' + e.description();
        };
        const QString error = failure([&] { file->Abrir_Archivo(2); });
        QVERIFY2(
            error.startsWith(QStringLiteral("oFILES.clManejo %1 No se pudo abrir el archivo \"%2\" para escribir: ")
                                 .arg(ErrorNumbers::kFileAccess)
                                 .arg(missingFolder)),
            qPrintable(error));
        QCOMPARE(failure([&] { file->Escribir(QStringLiteral("x")); }).section(u' ', 2),
                 QStringLiteral("El archivo \"%1\" no está abierto para escribir").arg(missingFolder));
        file->setUbicacion_Archivo(QStringLiteral("  "));
        QCOMPARE(failure([&] { file->Abrir_Archivo(2); }),
                 QStringLiteral("oFILES.clManejo %1 No se indicó la ubicación del archivo a escribir")
                     .arg(ErrorNumbers::kFileNotFound));
        // Only modes 2 and 8 write; mode 1 creates nothing.
        file->setUbicacion_Archivo(m_dir.filePath(QStringLiteral("a.txt")));
        QVERIFY_THROWS_EXCEPTION(AppError, file->Abrir_Archivo(1));
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("a.txt"))));
    }
};

QTEST_GUILESS_MAIN(clManejoTest)
#include "clManejo_test.moc"
