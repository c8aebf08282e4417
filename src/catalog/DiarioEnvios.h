#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSqlDatabase>
#include <QString>
#include <optional>
#include <vector>

// The journal of the sends this workstation's user made: an embedded SQLite file of the
// program's own, never in the catalog's database. Per send: catalog, connection (driver,
// server, database; never a password), operator, date, the catalog's kind, and for each article
// the row before the send (none when it was inserted) and after it. Only the last send of a
// catalog on a connection can be undone: once a send is done, the older ones of the same
// catalog and connection go. Failures raise AppError.
class DiarioEnvios {
public:
    enum class Estado { Pendiente, Hecho, Deshaciendo, Deshecho, Descartado };

    struct Entrada {
        qint64 id = 0;
        QString catalogo;
        QString driver;
        QString servidor;
        QString base;
        QString operador;
        QString fecha;
        QString tipoBase;
        Estado estado = Estado::Pendiente;
    };

    // One article: its row before and after the send, in FilaCodificada's bytes.
    struct Cambio {
        QByteArray antes; // empty: the send inserted it
        QByteArray despues;
        bool insertado() const { return antes.isEmpty(); }
    };
    // The same, as it is written: views of bytes the caller keeps.
    struct CambioVisto {
        QByteArrayView antes;
        QByteArrayView despues;
    };

    // <data folder>/sorvanta/envios.sqlite, created on first use.
    DiarioEnvios();
    explicit DiarioEnvios(const QString &archivo);
    ~DiarioEnvios();
    DiarioEnvios(const DiarioEnvios &) = delete;
    DiarioEnvios &operator=(const DiarioEnvios &) = delete;

    static QString archivoDelUsuario();
    // A new entry for the catalog on the connection of entity "CATALOGOS", by the session's
    // operator, now.
    static Entrada nuevaEntrada(const QString &idCatalogo);

    // Writes the send, whole, marked Pendiente; its id.
    qint64 registrar(const Entrada &entrada, const std::vector<CambioVisto> &cambios);
    // Marking a send Hecho lets the older ones of its catalog and connection go.
    void marcar(const Entrada &entrada, Estado estado);
    // The last send of the catalog (letter case aside) on the connection, discarded ones aside.
    std::optional<Entrada> ultimo(const Entrada &como);
    // The last send of each catalog on the connection that may still be undone, newest first.
    std::vector<Entrada> deshacibles(const Entrada &como);
    std::vector<Cambio> cambios(qint64 id);

    static QString texto(Estado estado);

private:
    // Articles a journal row: a few rows write faster than one an article.
    static constexpr std::size_t kCambiosPorFila = 512;

    [[noreturn]] void fallar(const QString &que, const QString &porque) const;
    void ejecutar(const QString &sql);
    std::vector<Entrada> entradas(const QString &condicion, const Entrada &como);

    QString m_archivo;
    QSqlDatabase m_db;
};
