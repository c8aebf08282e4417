#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// The field the operator last gave each header text of a catalog's sheets, kept in the
// per-user settings store beside the remove-hyphen option, so the same supplier's next
// list comes with its columns labelled. Header texts compare trimmed, without letter case
// or accents; a header keeps the latest field given to it.
class CamposRecordados {
public:
    // What is remembered for the catalog.
    explicit CamposRecordados(const QString &idCatalogo);

    // The label remembered for a header text; empty when none.
    QString etiquetaPara(const QString &encabezado) const;
    // Remembers the columns as F11 takes them: `encabezados` are the sheet's own header
    // texts, `etiquetas` the header row as the operator left it. A column without a field
    // forgets its header. Raises AppError when the store cannot be written.
    void recordar(const QStringList &encabezados, const QStringList &etiquetas);

private:
    QString clave() const;
    void leer();
    void olvidar(const QString &encabezado);

    QString m_catalogo;
    // Header text as the sheet wrote it (trimmed), and its label.
    QList<QPair<QString, QString>> m_campos;
};
