#include "catalog/RegistroEnvio.h"

#include "catalog/ClaveHolgada.h"
#include "catalog/modEntidadCatalogo.h"
#include "core/AppError.h"
#include "database/DatabaseConnection.h"
#include "database/FilaCodificada.h"

#include <QHash>
#include <algorithm>

RegistroEnvio::RegistroEnvio(const QString &idCatalogo, const QStringList &codigos, const QStringList &nuevos)
{
    if (codigos.size() > kMaxArticulos) {
        fallo(QStringLiteral("tiene más de %1 artículos").arg(kMaxArticulos));
        return;
    }
    try {
        m_entrada = DiarioEnvios::nuevaEntrada(idCatalogo);
        m_diario.emplace();
        m_conexion = modEntidadCatalogo::conexion();
        m_captura = m_conexion->capturarCambios(QStringLiteral("catarticulos"),
                                                FilasEnteras::columnas(m_entrada.tipoBase));
        if (!m_captura)
            separarTardios(codigos, nuevos);
    } catch (const AppError &e) {
        fallo(e.description());
    }
}

RegistroEnvio::~RegistroEnvio()
{
    if (m_conexion)
        m_conexion->alConfirmar(nullptr);
}

// A new article is read as it is asked only when no other code of the run has its loose key:
// then no statement of the run but its own can reach its row, so the row read just before that
// statement is the row before the run. A code listed twice, or two the database may take for
// one, are read before the first statement.
void RegistroEnvio::separarTardios(const QStringList &codigos, const QStringList &nuevos)
{
    QStringList claves;
    claves.reserve(codigos.size());
    QHash<QString, int> veces;
    veces.reserve(codigos.size());
    for (const QString &codigo : codigos)
        ++veces[claves.emplace_back(claveHolgada(codigo))];
    const QSet<QString> sinFila(nuevos.cbegin(), nuevos.cend());
    for (qsizetype i = 0; i < codigos.size(); ++i) {
        const QString &clave = claves[i];
        if (!clave.isEmpty() && veces.value(clave) == 1 && sinFila.contains(codigos[i]))
            m_tardias.insert(clave);
        else
            m_leidos << codigos[i];
    }
    m_leidos.removeDuplicates();
}

void RegistroEnvio::comenzar()
{
    if (!m_diario)
        return;
    try {
        if (!m_captura)
            m_antes = FilasEnteras::leerFilas(m_entrada.catalogo, m_leidos, m_entrada.tipoBase);
        m_conexion->alConfirmar([this] { antesDeConfirmar(); });
    } catch (const AppError &e) {
        fallo(e.description());
    }
}

bool RegistroEnvio::existeAlguno(const QStringList &codigos)
{
    if (!leeAlPreguntar())
        return modEntidadCatalogo::ExisteAlguno(m_entrada.catalogo, codigos);
    std::vector<QByteArray> filas;
    try {
        filas = FilasEnteras::leerFilas(m_entrada.catalogo, codigos, m_entrada.tipoBase);
    } catch (const AppError &e) {
        fallo(e.description());
        throw;
    }
    for (const QString &codigo : codigos)
        if (m_tardias.contains(claveHolgada(codigo)))
            m_leidos << codigo;
    // Rows of codes read before the run were read then, as they were.
    for (const QByteArray &fila : filas)
        if (m_tardias.contains(claveHolgada(FilaCodificada::textoEn(fila, 1))))
            m_antes.push_back(fila);
    return !filas.empty();
}

void RegistroEnvio::fallo(const QString &porque)
{
    m_diario.reset();
    m_antes.clear();
    m_tardias.clear();
    m_problema = QStringLiteral("Este envío no podrá deshacerse: ") + porque;
}

// One change an article: its row before the first command and after the last. Rows of other
// catalogs a trigger of the database may have touched are not the send's, nor rows the send
// left as they were.
std::vector<DiarioEnvios::CambioVisto> RegistroEnvio::delEnvio(const CambiosCapturados &filas) const
{
    std::vector<DiarioEnvios::CambioVisto> cambios;
    cambios.reserve(filas.size());
    QHash<QByteArrayView, std::size_t> donde;
    donde.reserve(qsizetype(filas.size()));
    const QByteArray catalogo = m_entrada.catalogo.toUtf8();
    for (std::size_t i = 0; i < filas.size(); ++i) {
        const QByteArrayView despues = filas.despues(i);
        const QByteArrayView suyo = FilaCodificada::bytesEn(despues, 0);
        if (suyo != catalogo && QString::fromUtf8(suyo).compare(m_entrada.catalogo, Qt::CaseInsensitive) != 0)
            continue;
        const QByteArrayView codigo = FilaCodificada::bytesEn(despues, 1);
        const auto visto = donde.constFind(codigo);
        if (visto != donde.cend()) {
            cambios[*visto].despues = despues;
            continue;
        }
        donde.insert(codigo, cambios.size());
        cambios.push_back({filas.antes(i), despues});
    }
    cambios.erase(std::remove_if(cambios.begin(), cambios.end(),
                                 [](const DiarioEnvios::CambioVisto &c) { return c.antes == c.despues; }),
                  cambios.end());
    return cambios;
}

// Each row after the run beside its row before, found by its code as stored: the run changes
// no code.
CambiosCapturados RegistroEnvio::leidos()
{
    QHash<QByteArrayView, const QByteArray *> antes;
    antes.reserve(qsizetype(m_antes.size()));
    for (const QByteArray &fila : m_antes)
        antes.insert(FilaCodificada::bytesEn(fila, 1), &fila);
    const std::vector<QByteArray> despues = FilasEnteras::leerFilas(m_entrada.catalogo, m_leidos, m_entrada.tipoBase);
    qsizetype bytes = 0;
    for (const QByteArray &fila : despues)
        bytes += 2 * fila.size();
    CambiosCapturados filas;
    filas.datos().reserve(bytes);
    for (const QByteArray &fila : despues) {
        const qsizetype inicio = filas.datos().size();
        if (const QByteArray *previa = antes.value(FilaCodificada::bytesEn(fila, 1)))
            filas.datos().append(*previa);
        const qsizetype medio = filas.datos().size();
        filas.datos().append(fila);
        filas.cerrarFila(inicio, medio);
    }
    antes.clear();
    m_antes.clear();
    return filas;
}

void RegistroEnvio::antesDeConfirmar()
{
    if (!m_diario || std::exchange(m_escrito, true))
        return;
    try {
        // Holds the bytes the changes are views of.
        const CambiosCapturados filas = m_captura ? m_conexion->cambiosCapturados() : leidos();
        const std::vector<DiarioEnvios::CambioVisto> cambios = delEnvio(filas);
        // A send that changed nothing leaves the last one undoable.
        if (cambios.empty()) {
            m_diario.reset();
            return;
        }
        m_entrada.id = m_diario->registrar(m_entrada, cambios);
        m_registrado = true;
    } catch (const AppError &e) {
        fallo(e.description());
    }
}

void RegistroEnvio::confirmado(bool perdida)
{
    if (!perdida)
        antesDeConfirmar();
    if (!m_registrado)
        return;
    try {
        m_diario->marcar(m_entrada, perdida ? DiarioEnvios::Estado::Descartado : DiarioEnvios::Estado::Hecho);
    } catch (const AppError &) {
        // Left pending, the undo judges it by the catalog.
    }
}
