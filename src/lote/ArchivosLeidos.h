#pragma once

#include <QList>
#include <QString>

class DataAccessManager;

// A file a batch run reads, and what it is to the operator ("la planilla").
struct ArchivoLeido {
    QString que;
    QString ruta;
};

// What sorvanta-lote reads: the sheet, the connection configuration (when there is one) and
// the database files of the entities `datos` has loaded (SQLite only: servers keep their own).
QList<ArchivoLeido> ArchivosLeidos(const QString &hoja, const DataAccessManager &datos);

// Whether writing `destino` would write over `leido`: the same file by another path, a
// symbolic link or a hard link. False when either does not exist.
bool MismoArchivo(const QString &destino, const QString &leido);
