#include "database/DatabaseConnection.h"

#include "database/FilaCodificada.h"

bool DatabaseConnection::leerCodificadas(std::vector<QByteArray> &filas)
{
    std::shared_ptr<Recordset> rs;
    if (!crearRs(rs))
        return false;
    for (; !rs->eof(); rs->moveNext())
        filas.push_back(FilaCodificada::codificar(rs->fila()));
    return true;
}
