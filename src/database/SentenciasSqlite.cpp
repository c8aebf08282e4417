#include "database/SentenciasSqlite.h"

#include <algorithm>
#include <sqlite3.h>

namespace {
// Where the written-out text and a bound value part ways: the engine stops reading a text at a
// NUL, and Qt hands a question's text to it in UTF-16, which spells a lone surrogate otherwise
// than a bound UTF-8 value.
bool seEnlazaIgual(const QString &texto, bool consulta)
{
    if (texto.contains(QChar(0)))
        return false;
    return !consulta || std::none_of(texto.begin(), texto.end(), [](QChar c) { return c.isSurrogate(); });
}
} // namespace

SentenciasSqlite::~SentenciasSqlite()
{
    soltar();
}

void SentenciasSqlite::olvidar()
{
    soltar();
    m_motor = nullptr;
}

void SentenciasSqlite::soltar(QHash<QString, sqlite3_stmt *> &preparados)
{
    for (sqlite3_stmt *sentencia : std::as_const(preparados))
        sqlite3_finalize(sentencia);
    preparados.clear();
}

void SentenciasSqlite::soltar()
{
    soltar(m_comandos);
    soltar(m_consultas);
    sqlite3_finalize(m_numero);
    m_numero = nullptr;
}

void SentenciasSqlite::cambiarDeMotor(sqlite3 *motor)
{
    if (motor == m_motor)
        return;
    olvidar();
    m_motor = motor;
}

// A number as the engine reads it written in a statement: an integer that fits, or else a
// decimal read by the engine's own routine, which need not round as the C library does.
bool SentenciasSqlite::numeroDe(const QString &escrito, QVariant &valor)
{
    bool entero = false;
    valor = escrito.toLongLong(&entero);
    if (entero)
        return true;
    if (!m_numero
        && sqlite3_prepare_v3(m_motor, "select ?1", -1, SQLITE_PREPARE_PERSISTENT, &m_numero, nullptr) != SQLITE_OK) {
        sqlite3_finalize(m_numero);
        m_numero = nullptr;
        return false;
    }
    const QByteArray utf8 = escrito.toUtf8();
    sqlite3_bind_text(m_numero, 1, utf8.constData(), int(utf8.size()), SQLITE_STATIC);
    const bool leido = sqlite3_step(m_numero) == SQLITE_ROW;
    if (leido)
        valor = sqlite3_column_double(m_numero, 0);
    sqlite3_reset(m_numero);
    sqlite3_clear_bindings(m_numero);
    return leido;
}

// A date the dialect writes as a text literal, as that text; one it cannot read runs written out.
bool SentenciasSqlite::fechaComoTexto(const Sentencia::Valor &valor, QString &texto) const
{
    const QString literal = m_formas.valor(valor);
    if (literal.size() < 2 || !literal.startsWith(QLatin1Char('\'')) || !literal.endsWith(QLatin1Char('\''))
        || literal.count(QLatin1Char('\'')) != 2)
        return false;
    texto = literal.mid(1, literal.size() - 2);
    return true;
}

// The statement's values bound, in UTF-8 as its written-out text would reach the engine; false
// where one would bind otherwise than it reads.
bool SentenciasSqlite::vincular(sqlite3_stmt *comando, const Sentencia &sentencia, Uso uso)
{
    const auto &valores = sentencia.valores();
    m_textos.resize(valores.size());
    for (size_t k = 0; k < valores.size(); ++k) {
        const Sentencia::Valor &valor = valores[k];
        const int lugar = int(k) + 1;
        QString fecha;
        if (valor.tipo == Sentencia::Valor::Numero) {
            QVariant numero;
            if (!numeroDe(valor.escrito, numero))
                return false;
            if (numero.typeId() == QMetaType::LongLong)
                sqlite3_bind_int64(comando, lugar, numero.toLongLong());
            else
                sqlite3_bind_double(comando, lugar, numero.toDouble());
            continue;
        }
        if (valor.tipo == Sentencia::Valor::Fecha ? !fechaComoTexto(valor, fecha)
                                                  : !seEnlazaIgual(valor.escrito, uso == Uso::Consulta))
            return false;
        m_textos[k] = (valor.tipo == Sentencia::Valor::Fecha ? fecha : valor.escrito).toUtf8();
        sqlite3_bind_text(comando, lugar, m_textos[k].constData(), int(m_textos[k].size()), SQLITE_STATIC);
    }
    return true;
}

// The statement prepared for the sentence's shape, its values bound; nullptr where it runs
// written out.
sqlite3_stmt *SentenciasSqlite::preparado(sqlite3 *motor, const Sentencia &sentencia, Uso uso)
{
    cambiarDeMotor(motor);
    if (sentencia.valores().empty())
        return nullptr;
    QHash<QString, sqlite3_stmt *> &preparados = uso == Uso::Consulta ? m_consultas : m_comandos;
    sqlite3_stmt *comando = nullptr;
    const auto hallado = preparados.constFind(sentencia.forma());
    if (hallado != preparados.constEnd()) {
        comando = *hallado;
    } else {
        if (preparados.size() >= (uso == Uso::Consulta ? kMaxConsultas : kMaxComandos))
            soltar(preparados);
        const QByteArray sql = m_formas.conLugares(sentencia, [](qsizetype) { return QStringLiteral("?"); }).toUtf8();
        const char *resto = nullptr;
        if (sqlite3_prepare_v3(motor, sql.constData(), int(sql.size()), SQLITE_PREPARE_PERSISTENT, &comando, &resto)
                != SQLITE_OK
            || !comando || !QByteArray(resto).trimmed().isEmpty()
            || sqlite3_bind_parameter_count(comando) != int(sentencia.valores().size())) {
            sqlite3_finalize(comando);
            comando = nullptr;
        }
        preparados.insert(sentencia.forma(), comando);
    }
    if (comando && !vincular(comando, sentencia, uso)) {
        sqlite3_clear_bindings(comando);
        return nullptr;
    }
    return comando;
}

SentenciasSqlite::Resultado SentenciasSqlite::ejecutar(sqlite3 *motor, const Sentencia &sentencia, long &cambiados,
                                                       QString &motivo)
{
    return recorrer(
        motor, sentencia, Uso::Comando, [](sqlite3_stmt *) {}, motivo,
        [&](sqlite3_stmt *) { cambiados = sqlite3_changes(motor); });
}

SentenciasSqlite::Resultado SentenciasSqlite::recorrer(sqlite3 *motor, const Sentencia &sentencia, Uso uso,
                                                       const std::function<void(sqlite3_stmt *)> &fila, QString &motivo,
                                                       const std::function<void(sqlite3_stmt *)> &alTerminar)
{
    sqlite3_stmt *comando = preparado(motor, sentencia, uso);
    if (!comando)
        return Resultado::NoAplica;
    int rc = sqlite3_step(comando);
    for (; rc == SQLITE_ROW; rc = sqlite3_step(comando))
        fila(comando);
    const bool bien = rc == SQLITE_DONE;
    if (bien && alTerminar)
        alTerminar(comando);
    else if (!bien)
        motivo = QString::fromUtf8(sqlite3_errmsg(motor)).trimmed();
    // The bound texts are gone after this.
    sqlite3_reset(comando);
    sqlite3_clear_bindings(comando);
    return bien ? Resultado::Hecho : Resultado::Fallo;
}
