#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The codes of one grouped question to the catalog. A code joins while no code of the group
// shares its key of ClaveHolgada and the question stays well under the statement length any
// engine takes (Access included): then the answer can be read back code by code.
class GrupoDeCodigos {
public:
    // False, taking nothing, when `codigo` cannot join: it has no key, its key is taken, or
    // the question would grow too long.
    bool agregar(const QString &codigo);
    const QStringList &codigos() const { return m_codigos; }
    // Where in codigos() the code the database may take for `codigo` is; -1 when none is.
    qsizetype posicionDe(const QString &codigo) const;

private:
    QStringList m_codigos;
    QHash<QString, qsizetype> m_posiciones; // key -> position in m_codigos
    qsizetype m_largo = 0;
};
