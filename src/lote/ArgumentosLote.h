#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <stdexcept>

// What sorvanta-lote was asked to do.
struct ArgumentosLote {
    QString archivo;
    QString catalogo;
    // COLUMNA=CAMPO, in the order given.
    QList<QPair<QString, QString>> campos;
    bool quitarGuiones = false;
    // The columns no --campo names take the fields the window remembered for the catalog.
    bool camposRecordados = false;
    // TEXTO=ID: the country of an origin text the database does not know yet.
    QList<QPair<QString, QString>> paises;
    // Origin texts no --pais names take the country "Establecer Pais" would suggest.
    bool paisesSugeridos = false;
    QString reporte;
    // Where every change F12 will make is written (article, column, before, after).
    QString cambios;
    bool revisar = false;
    // Undo the last send to the catalog instead; no sheet.
    bool deshacer = false;
    bool ayuda = false;
};

// Arguments that make no sense; what() is the Spanish reason.
class ArgumentosInvalidos : public std::runtime_error {
public:
    explicit ArgumentosInvalidos(const QString &motivo) : std::runtime_error(motivo.toStdString()) {}
    QString motivo() const { return QString::fromStdString(what()); }
};

// The arguments after the program name. Raises ArgumentosInvalidos.
ArgumentosLote LeerArgumentos(const QStringList &argumentos);

// The usage text, in Spanish.
QString UsoLote();
