#include "external/ComponentRegistry.h"
#include "external/FileWriterComponent.h"
#include "platform/AppError.h"
#include "platform/ErrorNumbers.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

std::shared_ptr<FileWriterComponent> writer()
{
    return ComponentRegistry::create<FileWriterComponent>(QStringLiteral("oFILES.clManejo"));
}

} // namespace

class clManejoTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writesTheTextUnchangedAsUtf8()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("reporte.xls"));
        auto file = writer();
        file->setUbicacion_Archivo(path);
        file->Abrir_Archivo(2);
        file->Escribir(QStringLiteral("Código\tDescripción\r\nA-1\tCañería 1/2\"\n\tfin"));
        file->Cerrar_Archivo();
        QCOMPARE(contents(path), QByteArray("C\xc3\xb3" "digo\tDescripci\xc3\xb3n\r\nA-1\tCa\xc3\xb1" "er\xc3\xad" "a 1/2\"\n\tfin"));
    }

    void modeTwoReplacesALongerFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("reporte.xls"));
        put(path, QByteArray(1000, 'x'));
        auto file = writer();
        file->setUbicacion_Archivo(path);
        file->Abrir_Archivo(2);
        file->Escribir(QStringLiteral("nuevo"));
        file->Cerrar_Archivo();
        QCOMPARE(contents(path), QByteArray("nuevo"));
    }

    void modeEightAppends()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("log.txt"));
        put(path, "uno\n");
        auto file = writer();
        file->setUbicacion_Archivo(path);
        file->Abrir_Archivo(8);
        file->Escribir(QStringLiteral("dos\n"));
        file->Cerrar_Archivo();
        QCOMPARE(contents(path), QByteArray("uno\ndos\n"));
    }

    void nothingHalfWritten()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("reporte.xls"));
        put(path, "anterior");
        {
            auto file = writer();
            file->setUbicacion_Archivo(path);
            file->Abrir_Archivo(2);
            file->Escribir(QStringLiteral("a medias"));
            QCOMPARE(contents(path), QByteArray("anterior"));
        }
        // Released without closing: the old file stays and no stray file is left.
        QCOMPARE(contents(path), QByteArray("anterior"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList(QStringLiteral("reporte.xls")));
    }

    void failures()
    {
        QTemporaryDir dir;
        auto file = writer();
        const QString missingFolder = dir.filePath(QStringLiteral("no/existe/reporte.xls"));
        file->setUbicacion_Archivo(missingFolder);
        try {
            file->Abrir_Archivo(2);
            QFAIL("no error");
        } catch (const AppError &e) {
            QCOMPARE(e.number(), ErrorNumbers::kFileAccess);
            QCOMPARE(e.source(), QStringLiteral("oFILES.clManejo"));
            QVERIFY2(e.description().startsWith(QStringLiteral("No se pudo abrir el archivo \"%1\" para escribir: ")
                                                    .arg(missingFolder)),
                     qPrintable(e.description()));
        }
        try {
            file->Escribir(QStringLiteral("x"));
            QFAIL("no error");
        } catch (const AppError &e) {
            QCOMPARE(e.description(),
                     QStringLiteral("El archivo \"%1\" no está abierto para escribir").arg(missingFolder));
        }
        file->setUbicacion_Archivo(QStringLiteral("  "));
        try {
            file->Abrir_Archivo(2);
            QFAIL("no error");
        } catch (const AppError &e) {
            QCOMPARE(e.number(), ErrorNumbers::kFileNotFound);
            QCOMPARE(e.description(), QStringLiteral("No se indicó la ubicación del archivo a escribir"));
        }
        file->setUbicacion_Archivo(dir.filePath(QStringLiteral("a.txt")));
        QVERIFY_THROWS_EXCEPTION(AppError, file->Abrir_Archivo(1));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("a.txt"))));
    }
};

QTEST_GUILESS_MAIN(clManejoTest)
#include "clManejo_test.moc"
