#pragma once

#include "catalog/DiarioEnvios.h"
#include "catalog/FilasEnteras.h"
#include "database/CambiosCapturados.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

class DatabaseConnection;

// What one sending run changed, kept in the journal so that it can be undone. The embedded
// engine keeps the run's rows before and after itself as the commands run; elsewhere the rows
// are read once the run holds the catalog and again just before it commits. A new article
// that no other code of the run may stand for is read only when the run asks whether the
// catalog holds it, just before its statement goes: most have no row to read. Whatever commits
// the run (its end, or a stop) first writes the send to the journal, still pending; once the
// catalog has committed, the send is done. A kill in between leaves a pending send, which the
// undo judges by the catalog itself.
//
// Never raises: a run the journal cannot keep still goes to the catalog, and problema() says
// why it cannot be undone.
class RegistroEnvio {
public:
    // Before the run holds the catalog. `codigos`: the articles the run may write, in list
    // order; `nuevos`: those of them the catalog lacked when they were processed.
    RegistroEnvio(const QString &idCatalogo, const QStringList &codigos, const QStringList &nuevos);
    ~RegistroEnvio();
    RegistroEnvio(const RegistroEnvio &) = delete;
    RegistroEnvio &operator=(const RegistroEnvio &) = delete;

    // Once the run holds the catalog.
    void comenzar();
    // Whether the catalog holds any of `codigos`, new articles of the run asked before their
    // statements go. Where the journal reads rows, their rows are read here.
    bool existeAlguno(const QStringList &codigos);
    // Whether each new article must be asked through existeAlguno before its statement goes.
    bool leeAlPreguntar() const { return m_diario && !m_captura && !m_tardias.isEmpty(); }
    // After the run's commit: the send is done. Where nothing committed the run as a whole
    // (each command committed on its own), the journal is written now.
    void confirmado(bool perdida);
    // Why this send cannot be undone; "" when it can, or changed nothing.
    const QString &problema() const { return m_problema; }

private:
    // A longer list is sent without a journal: it would hold its rows twice in memory.
    static constexpr qsizetype kMaxArticulos = 300000;

    void fallo(const QString &porque);
    void antesDeConfirmar();
    std::vector<DiarioEnvios::CambioVisto> delEnvio(const CambiosCapturados &filas) const;
    CambiosCapturados leidos();
    void separarTardios(const QStringList &codigos, const QStringList &nuevos);

    DiarioEnvios::Entrada m_entrada;
    std::shared_ptr<DatabaseConnection> m_conexion;
    bool m_captura = false;
    // The rows before the run, where the engine keeps none.
    std::vector<QByteArray> m_antes;
    // The codes whose rows were read before their statements went, where the engine keeps no
    // rows: those read first, then the new ones as they are asked. A stopped run asks no more,
    // and reads again after it only these: a row it never read before, it never wrote.
    QStringList m_leidos;
    // The loose keys of the new articles read as they are asked.
    QSet<QString> m_tardias;
    std::optional<DiarioEnvios> m_diario;
    bool m_escrito = false;
    bool m_registrado = false;
    QString m_problema;
};
