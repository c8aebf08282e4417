#pragma once

#include "database/Sentencia.h"
#include "database/SqlDialect.h"

#include <QHash>
#include <QStringList>
#include <functional>

// A connection's statements in its database's dialect. The dialect's rewrites are made once
// per shape of statement, on its SQL alone; the values go in afterwards, untouched by them.
class FormasEnDialecto {
public:
    explicit FormasEnDialecto(SqlDialect::Kind kind) : m_kind(kind) {}

    SqlDialect::Kind kind() const { return m_kind; }

    // The statement's SQL in the dialect, cut at each value's place: one piece more than
    // it has values. A text value's apostrophes stay with the pieces around it.
    const QStringList &partes(const Sentencia &sentencia);
    // The statement written out in the dialect: what the dialect makes of its whole text.
    QString escrita(const Sentencia &sentencia);
    // The statement in the dialect with `lugar(n)` in the place of its n-th value (from 1), a
    // text's apostrophes taken away: the text to prepare with the values bound.
    QString conLugares(const Sentencia &sentencia, const std::function<QString(qsizetype)> &lugar);
    // A value as the dialect spells it in a statement's text.
    QString valor(const Sentencia::Valor &valor) const;
    // The one copy of the statement's SQL this object keeps, for a statement kept long.
    QString formaCompartida(const Sentencia &sentencia);

private:
    // Shapes are few (a statement per kind of article, a question per group size); a run that
    // somehow makes many more starts the list again rather than grow without end.
    static constexpr qsizetype kMaxFormas = 1024;

    SqlDialect::Kind m_kind;
    QHash<QString, QStringList> m_partes;
};
