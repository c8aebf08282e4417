#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The countries of ISO 3166-1 by every name Debian's iso-codes package gives them (name,
// common name and official name, in English and in each of its translations), by their
// alpha-2 and alpha-3 codes, and by a few names of trade usage iso-codes lacks. The table
// is taken from iso-codes when the program is built and compiled in.
class PaisesIso {
public:
    struct Nombre {
        QString alfa3;
        QString texto;
    };

    static const PaisesIso &instancia();

    // The alpha-3 code of the one country the text names, compared without case, accents,
    // punctuation or blanks; empty when it names none, or when some language gives that
    // text to two countries.
    QString paisDe(const QString &texto) const;
    // The country's alpha-2 code; empty for a code not in the table.
    QString alfa2(const QString &alfa3) const;
    // The alpha-3 code of an alpha-2 code; empty for a code not in the table.
    QString alfa3(const QString &alfa2) const;
    // Every name of the table as iso-codes writes it, codes and trade names not included.
    const QList<Nombre> &nombres() const { return m_nombres; }

private:
    PaisesIso();
    void leerTabla();
    void agregar(const QString &texto, const QString &alfa3);

    QList<Nombre> m_nombres;
    QHash<QString, QString> m_alfa2;
    QHash<QString, QString> m_alfa3;
    // Folded text -> alpha-3; an empty code marks a text two countries share.
    QHash<QString, QString> m_porTexto;
};
