#pragma once

#include "catalog/DiarioEnvios.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

// What one sending run changed, kept in the journal so that it can be undone. Made once the run
// holds the catalog: it reads the rows its articles have then; just before the catalog commits,
// it reads them again and writes the send to the journal, still pending; once the catalog has
// committed, the send is done. A kill in between leaves a pending send, which the undo judges
// by the catalog itself.
//
// Never raises: a run the journal cannot keep still goes to the catalog, and problema() says
// why it cannot be undone.
class RegistroEnvio {
public:
    // `codigos`: the articles the run may write, as it sends them.
    RegistroEnvio(const QString &idCatalogo, const QStringList &codigos);

    void antesDeConfirmar();
    void confirmado();
    // Why this send cannot be undone; "" when it can, or changed nothing.
    const QString &problema() const { return m_problema; }

private:
    // A longer list is sent without a journal: it would hold its rows twice in memory.
    static constexpr qsizetype kMaxArticulos = 300000;

    void fallo(const QString &porque);

    DiarioEnvios::Entrada m_entrada;
    QStringList m_codigos;
    // The rows before the run, by code as stored, as compact JSON.
    QHash<QString, QByteArray> m_antes;
    std::optional<DiarioEnvios> m_diario;
    bool m_registrado = false;
    QString m_problema;
};
