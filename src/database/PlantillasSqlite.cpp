#include "database/PlantillasSqlite.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <sqlite3.h>

#include <cstring>

namespace {

// Each byte's part in a command, looked up: the scan runs once per command.
struct Clases {
    enum : unsigned char { Otra, Llana, DeNombre };
    unsigned char de[256];
    constexpr Clases() : de()
    {
        for (int c = 0; c < 256; ++c) {
            const bool letra = c >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
            de[c] = letra || c == '_' || c == '$' ? DeNombre : Otra;
        }
        // Marks that start nothing and end nothing.
        for (const char *p = " \t\n\r\f\v,()=<>|*!%&~;"; *p; ++p)
            de[static_cast<unsigned char>(*p)] = Llana;
    }
};
constexpr Clases kClases;

// A character of a name or a keyword, as the engine reads them.
bool deNombre(char c)
{
    return kClases.de[static_cast<unsigned char>(c)] == Clases::DeNombre;
}

bool esDigito(char c)
{
    return c >= '0' && c <= '9';
}

bool esBlanco(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool esPalabra(const char *p, int largo, const char *palabra)
{
    const int n = int(qstrlen(palabra));
    return largo == n && qstrnicmp(p, palabra, uint(n)) == 0;
}

// Past the quoted run opened at i, doubled quotes included; -1 when it never closes.
int finDeComillas(const char *s, int n, int i, bool &dobles)
{
    const char comilla = s[i];
    dobles = false;
    for (int j = i + 1; j < n; j += 2) {
        const void *hallada = std::memchr(s + j, comilla, size_t(n - j));
        if (!hallada)
            return -1;
        j = int(static_cast<const char *>(hallada) - s);
        if (j + 1 >= n || s[j + 1] != comilla)
            return j + 1;
        dobles = true;
    }
    return -1;
}

// A number right after a sign keeps its place in the text: whether the sign belongs to it is
// the engine's to read.
bool trasSigno(const char *s, int i)
{
    while (--i >= 0) {
        if (!esBlanco(s[i]))
            return s[i] == '-' || s[i] == '+';
    }
    return false;
}

// A text literal's value: its doubled quotes made single.
QByteArray sinComillasDobles(const char *p, int largo)
{
    return QByteArray(p, largo).replace("''", "'");
}

// An integer literal of up to 18 digits, as the engine reads it.
qint64 enteroDe(const char *p, int largo)
{
    qint64 entero = 0;
    for (int d = 0; d < largo; ++d)
        entero = entero * 10 + (p[d] - '0');
    return entero;
}

} // namespace

PlantillasSqlite::~PlantillasSqlite()
{
    olvidar();
}

void PlantillasSqlite::olvidar()
{
    soltarSentencias();
    m_motor = nullptr;
}

void PlantillasSqlite::soltarSentencias()
{
    for (sqlite3_stmt *sentencia : std::as_const(m_plantillas))
        sqlite3_finalize(sentencia);
    m_plantillas.clear();
    m_consultas.clear();
    sqlite3_finalize(m_decimal);
    m_decimal = nullptr;
}

// Only insert, update and delete, which never read a number as a column's place (order by 1)
// unless they hold a select. Not taken either: comments, parameters of their own, a text
// holding a NUL (where the engine stops reading), and a + (which the dialect may turn into a
// concatenation, next to a literal). Numbers with an exponent or a sign stay in the template.
bool PlantillasSqlite::separar(const QByteArray &texto, QByteArray &plantilla, std::vector<Valor> &valores,
                               bool consulta)
{
    const char *s = texto.constData();
    const int n = int(texto.size());
    valores.clear();
    if (texto.contains('\0'))
        return false;
    int i = 0;
    while (i < n && esBlanco(s[i]))
        ++i;
    const int inicio = i;
    while (i < n && deNombre(s[i]))
        ++i;
    if (consulta ? !esPalabra(s + inicio, i - inicio, "select")
                 : !esPalabra(s + inicio, i - inicio, "insert") && !esPalabra(s + inicio, i - inicio, "update")
                       && !esPalabra(s + inicio, i - inicio, "delete"))
        return false;
    // A select's columns and their names stay as written: only its where takes values.
    bool tomaValores = !consulta;
    // A template is never longer than its text. The text up to `copiado` is in it already;
    // what follows is copied when a literal comes to take its place.
    plantilla.resize(n);
    char *destino = plantilla.data();
    int escrito = 0;
    int copiado = 0;
    const auto enLugarDe = [&](int desde, int hasta) {
        std::memcpy(destino + escrito, s + copiado, size_t(desde - copiado));
        escrito += desde - copiado;
        destino[escrito++] = '?';
        copiado = hasta;
    };
    while (i < n) {
        const char c = s[i];
        if (kClases.de[static_cast<unsigned char>(c)] == Clases::Llana) {
            ++i;
            continue;
        }
        const char sigue = i + 1 < n ? s[i + 1] : '\0';
        if (c == '\'' || c == '"' || c == '`' || c == '[') {
            bool dobles = false;
            const int fin = c == '[' ? int(texto.indexOf(']', i)) + 1 : finDeComillas(s, n, i, dobles);
            if (fin <= 0)
                return false;
            // A text literal, unless it is a name or a literal of another kind (X'00').
            if (c == '\'' && tomaValores && (i == 0 || !deNombre(s[i - 1]))) {
                valores.push_back({Valor::Texto, i + 1, fin - i - 2, dobles});
                enLugarDe(i, fin);
            }
            i = fin;
        } else if ((c == '-' && sigue == '-') || (c == '/' && sigue == '*') || c == '?' || c == ':' || c == '@'
                   || c == '#' || c == '$' || c == '+' || (c == '.' && esDigito(sigue))) {
            return false;
        } else if (esDigito(c)) {
            if (i > 0 && s[i - 1] == '.')
                return false;
            int fin = i;
            while (fin < n && esDigito(s[fin]))
                ++fin;
            const bool decimal = fin < n && s[fin] == '.';
            if (decimal) {
                ++fin;
                while (fin < n && esDigito(s[fin]))
                    ++fin;
            }
            if (fin < n && (deNombre(s[fin]) || s[fin] == '.'))
                return false;
            if (tomaValores && !trasSigno(s, i) && (decimal || fin - i <= 18)) {
                valores.push_back({decimal ? Valor::Decimal : Valor::Entero, i, fin - i, false});
                enLugarDe(i, fin);
            }
            i = fin;
        } else if (deNombre(c)) {
            int fin = i;
            while (fin < n && deNombre(s[fin]))
                ++fin;
            if (esPalabra(s + i, fin - i, "select") || esPalabra(s + i, fin - i, "order")
                || esPalabra(s + i, fin - i, "group") || esPalabra(s + i, fin - i, "union")
                || esPalabra(s + i, fin - i, "intersect") || esPalabra(s + i, fin - i, "except"))
                return false;
            tomaValores = tomaValores || esPalabra(s + i, fin - i, "where");
            i = fin;
        } else {
            ++i;
        }
    }
    std::memcpy(destino + escrito, s + copiado, size_t(n - copiado));
    plantilla.truncate(escrito + n - copiado);
    return true;
}

sqlite3_stmt *PlantillasSqlite::preparada(const QByteArray &plantilla)
{
    const auto hallada = m_plantillas.constFind(plantilla);
    if (hallada != m_plantillas.constEnd())
        return *hallada;
    // Commands of ever new shapes would only pile statements up.
    if (m_plantillas.size() >= kMaxPlantillas)
        soltarSentencias();
    sqlite3_stmt *sentencia = nullptr;
    const char *resto = nullptr;
    const QByteArray traducida = SqlDialect::translate(QString::fromUtf8(plantilla), m_dialecto).toUtf8();
    const int rc = sqlite3_prepare_v3(m_motor, traducida.constData(), int(traducida.size()), SQLITE_PREPARE_PERSISTENT,
                                      &sentencia, &resto);
    bool soloUna = rc == SQLITE_OK && sentencia;
    for (const char *p = resto; soloUna && p && p < traducida.constData() + traducida.size(); ++p)
        soloUna = esBlanco(*p);
    if (!soloUna) {
        sqlite3_finalize(sentencia);
        sentencia = nullptr;
    }
    m_plantillas.insert(plantilla, sentencia);
    return sentencia;
}

// The engine reads a decimal written in a command with its own routine, which need not round
// as the C library does: the same routine reads it here.
bool PlantillasSqlite::leerDecimal(const char *desde, int largo, double &valor)
{
    if (!m_decimal
        && sqlite3_prepare_v3(m_motor, "select ?1", -1, SQLITE_PREPARE_PERSISTENT, &m_decimal, nullptr) != SQLITE_OK) {
        sqlite3_finalize(m_decimal);
        m_decimal = nullptr;
        return false;
    }
    sqlite3_bind_text(m_decimal, 1, desde, largo, SQLITE_STATIC);
    const bool leido = sqlite3_step(m_decimal) == SQLITE_ROW;
    if (leido)
        valor = sqlite3_column_double(m_decimal, 0);
    sqlite3_reset(m_decimal);
    sqlite3_clear_bindings(m_decimal);
    return leido;
}

bool PlantillasSqlite::vincular(sqlite3_stmt *sentencia, const QByteArray &texto, const std::vector<Valor> &valores)
{
    if (sqlite3_bind_parameter_count(sentencia) != int(valores.size()))
        return false;
    for (size_t k = 0; k < valores.size(); ++k) {
        const Valor &v = valores[k];
        const char *p = texto.constData() + v.desde;
        const int lugar = int(k) + 1;
        int rc = SQLITE_OK;
        if (v.tipo == Valor::Texto && !v.comillasDobles) {
            rc = sqlite3_bind_text(sentencia, lugar, p, v.largo, SQLITE_STATIC);
        } else if (v.tipo == Valor::Texto) {
            const QByteArray sinDobles = sinComillasDobles(p, v.largo);
            rc = sqlite3_bind_text(sentencia, lugar, sinDobles.constData(), int(sinDobles.size()), SQLITE_TRANSIENT);
        } else if (v.tipo == Valor::Entero) {
            rc = sqlite3_bind_int64(sentencia, lugar, enteroDe(p, v.largo));
        } else {
            double decimal = 0;
            if (!leerDecimal(p, v.largo, decimal))
                return false;
            rc = sqlite3_bind_double(sentencia, lugar, decimal);
        }
        if (rc != SQLITE_OK)
            return false;
    }
    return true;
}

void PlantillasSqlite::cambiarDeMotor(sqlite3 *motor)
{
    if (motor == m_motor)
        return;
    olvidar();
    m_motor = motor;
}

PlantillasSqlite::Resultado PlantillasSqlite::ejecutar(sqlite3 *motor, const QByteArray &texto, long &cambiados,
                                                       QString &motivo)
{
    cambiarDeMotor(motor);
    if (!separar(texto, m_plantilla, m_valores))
        return Resultado::NoAplica;
    sqlite3_stmt *sentencia = preparada(m_plantilla);
    if (!sentencia)
        return Resultado::NoAplica;
    if (!vincular(sentencia, texto, m_valores)) {
        sqlite3_clear_bindings(sentencia);
        return Resultado::NoAplica;
    }
    const int rc = sqlite3_step(sentencia);
    const bool bien = rc == SQLITE_DONE || rc == SQLITE_ROW;
    if (bien)
        cambiados = sqlite3_changes(motor);
    else
        motivo = QString::fromUtf8(sqlite3_errmsg(motor)).trimmed();
    // Bound texts point into the command, which is gone after this.
    sqlite3_reset(sentencia);
    sqlite3_clear_bindings(sentencia);
    return bien ? Resultado::Hecho : Resultado::Fallo;
}

// Values for Qt to bind, numbers read as the engine reads them.
bool PlantillasSqlite::enVariantes(const QByteArray &texto, const std::vector<Valor> &valores, QVariantList &variantes)
{
    for (const Valor &v : valores) {
        const char *p = texto.constData() + v.desde;
        if (v.tipo == Valor::Texto) {
            variantes << QString::fromUtf8(v.comillasDobles ? sinComillasDobles(p, v.largo) : QByteArray(p, v.largo));
        } else if (v.tipo == Valor::Entero) {
            variantes << enteroDe(p, v.largo);
        } else {
            double decimal = 0;
            if (!leerDecimal(p, v.largo, decimal))
                return false;
            variantes << decimal;
        }
    }
    return true;
}

QSqlQuery *PlantillasSqlite::consultar(const QSqlDatabase &db, sqlite3 *motor, const QString &sentencia)
{
    cambiarDeMotor(motor);
    // Qt hands the whole text to the engine in UTF-16, which spells a lone surrogate otherwise
    // than UTF-8 here does.
    for (const QChar c : sentencia) {
        if (c.isSurrogate())
            return nullptr;
    }
    const QByteArray texto = sentencia.toUtf8();
    QByteArray plantilla;
    std::vector<Valor> valores;
    QVariantList variantes;
    if (!separar(texto, plantilla, valores, true) || !enVariantes(texto, valores, variantes))
        return nullptr;
    auto hallada = m_consultas.find(plantilla);
    if (hallada == m_consultas.end()) {
        auto nueva = std::make_shared<QSqlQuery>(db);
        nueva->setForwardOnly(true);
        if (!nueva->prepare(SqlDialect::translate(QString::fromUtf8(plantilla), m_dialecto)))
            nueva.reset();
        // A list of every length asked piles up as many shapes.
        if (m_consultas.size() >= kMaxConsultas)
            m_consultas.clear();
        hallada = m_consultas.insert(plantilla, nueva);
    }
    QSqlQuery *query = hallada->get();
    if (!query)
        return nullptr;
    for (int k = 0; k < variantes.size(); ++k)
        query->bindValue(k, variantes[k]);
    if (!query->exec()) {
        query->finish();
        return nullptr;
    }
    return query;
}
