#pragma once

#include "database/FormasEnDialecto.h"
#include "database/Sentencia.h"

#include <QHash>
#include <QString>
#include <functional>

// A server plans a question anew each time its text arrives, and a grouped question of a few
// hundred codes costs it more to plan than to answer. A question seen again is prepared once on
// the session (PREPARE) and from then on asked by name with its values (EXECUTE): the server
// reads each value from the same literal as in the written-out text, so the answer is the same.
//
// Only statements whose values are all texts (or numbers, where asked) go this way; the
// others, and a shape the server would not prepare, go written out. A number goes as its
// literal too, read by the server as the column it meets, as the written-out text is. A shape
// seen once costs nothing more; a prepared one costs one round trip once. Past a bound the
// prepared shapes are let go all together; each instance names and lets go only its own.
class ConsultasPostgres {
public:
    // Runs a command on the session; false when the server refused it.
    using Ejecutor = std::function<bool(const QString &)>;

    explicit ConsultasPostgres(FormasEnDialecto &formas, const QString &prefijo = QStringLiteral("sorvanta_consulta_"),
                               bool conNumeros = false)
        : m_formas(formas), m_prefijo(prefijo), m_conNumeros(conNumeros)
    {
    }

    // The text to send for the question: EXECUTE of its prepared shape (preparing it now when it
    // is seen the second time), or the statement written out.
    QString texto(const Sentencia &sentencia, const Ejecutor &ejecutar);
    // A new session knows none of the shapes prepared on the last one.
    void olvidar();

    static constexpr int kMaxPreparadas = 64;
    static constexpr int kMaxVistas = 1024;
    // A longer statement is a question over a whole list, asked once or twice: preparing it
    // would cost more than it saves.
    static constexpr std::size_t kMaxValores = 1024;

private:
    struct Forma {
        enum Estado { Vista, Preparada, Rechazada } estado = Vista;
        QString nombre;
    };

    bool preparable(const Sentencia &sentencia) const;
    static QString ejecucion(const QString &nombre, const Sentencia &sentencia);
    void soltar(const Ejecutor &ejecutar);

    FormasEnDialecto &m_formas;
    QString m_prefijo;
    bool m_conNumeros;
    QHash<QString, Forma> m_vistas;
    int m_preparadas = 0;
    // Names are never used twice by one connection, whatever a session let go of.
    int m_siguiente = 0;
};
