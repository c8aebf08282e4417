#pragma once

#include "database/Sentencia.h"

#include <QElapsedTimer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

struct ResumenEnvio;

// The items of one sending run on their way to the catalog. A connection that takes many
// commands at once gets them in windows (up to its number, or kMsPorVentana), each in one
// round trip, all of it or none (on PostgreSQL inside the run's one transaction). The run's
// outcome stays that of one statement at a time: an item is counted and reported to `avance`
// only once its statement stands, and a window that fails is sent again one statement at a
// time, so the failing one reports itself at its own article and those before it stay written.
class VentanaEnvio {
public:
    using Avance = std::function<void(int item, bool ultimo)>;

    // porEnvio: the connection's sentenciasPorEnvio(); cantidad: the items of the list.
    VentanaEnvio(int porEnvio, ResumenEnvio &resumen, Avance avance, int cantidad);

    // Item `item`, whose statement is `sql`, for `articulo` as the stop message names it;
    // `nuevo` is the code of a new article, which the statement may insert. When another
    // program inserted that article meanwhile, `deNuevo` gives the statement to send instead.
    void agregar(int item, const Sentencia &sql, const QString &articulo, const QString &nuevo,
                 std::function<Sentencia()> deNuevo = {});
    // A checked item with nothing to send.
    void sinCambios(int item);
    // An item not checked.
    void pasar(int item);
    // Sends what waits; at a stop and at the end.
    void vaciar();
    // Before the catalog is asked whether it holds `codigos`: what waits is sent when it may
    // insert one of them, so that the answer is the one the database would give after it.
    void antesDeLeer(const QStringList &codigos);

private:
    static constexpr qint64 kMsPorVentana = 50;

    struct Item {
        int indice;
        Sentencia sql; // empty: nothing to send
        QString articulo;
        bool marcado;
        std::function<Sentencia()> deNuevo;
    };

    void poner(Item item);
    static void ejecutar(const Item &item);
    void cumplir(const Item &item);
    void unaPorUna(const std::vector<Item> &items);

    int m_porEnvio;
    ResumenEnvio &m_resumen;
    Avance m_avance;
    int m_cantidad;
    std::vector<Item> m_cola;
    int m_sentencias = 0;
    // The keys of the new articles waiting, as loose as ClaveHolgada; a code without one
    // counts as any code.
    QSet<QString> m_claves;
    bool m_cualquiera = false;
    QElapsedTimer m_reloj;
};
