#pragma once

#include <QString>

class QSqlError;

// The errors of the database engines that an operator meets, told in Spanish: a lead sentence
// that says what happened, the engine's own text kept after it for whoever must look further.
class ErrorDeMotor {
public:
    enum class Clase {
        Otro,
        Bloqueada,
        BloqueoMutuo,
        ClaveDuplicada,
        DiscoLleno,
        ErrorDeDisco,
        SoloLectura,
        ConexionPerdida,
        ConexionRechazada,
        SinRespuesta,
    };

    // By the SQLSTATE of a server, or the (extended) result code of the embedded engine.
    static Clase dePostgres(const QString &sqlstate);
    static Clase deSqlite(int codigo);
    // What Qt's driver reports, by its native code where the driver gives one.
    static Clase de(const QSqlError &error, const QString &driver);

    static QString frase(Clase clase);
    // The lead sentence, then the engine's text ("" for Otro: the engine's text alone).
    static QString describir(Clase clase, const QString &textoMotor);
};
