#include "catalog/RegistroEnvio.h"

#include "catalog/modEntidadCatalogo.h"
#include "core/AppError.h"
#include "database/DatabaseConnection.h"
#include "database/FilaCodificada.h"

#include <algorithm>

RegistroEnvio::RegistroEnvio(const QString &idCatalogo, const QStringList &codigos) : m_codigos(codigos)
{
    m_codigos.removeDuplicates();
    if (m_codigos.size() > kMaxArticulos) {
        fallo(QStringLiteral("tiene más de %1 artículos").arg(kMaxArticulos));
        return;
    }
    try {
        m_entrada = DiarioEnvios::nuevaEntrada(idCatalogo);
        m_diario.emplace();
        m_conexion = modEntidadCatalogo::conexion();
        m_captura = m_conexion->capturarCambios(QStringLiteral("catarticulos"),
                                                FilasEnteras::columnas(m_entrada.tipoBase));
    } catch (const AppError &e) {
        fallo(e.description());
    }
}

RegistroEnvio::~RegistroEnvio()
{
    if (m_conexion)
        m_conexion->alConfirmar(nullptr);
}

void RegistroEnvio::comenzar()
{
    if (!m_diario)
        return;
    try {
        if (!m_captura)
            m_antes = FilasEnteras::leer(m_entrada.catalogo, m_codigos, m_entrada.tipoBase);
        m_conexion->alConfirmar([this] { antesDeConfirmar(); });
    } catch (const AppError &e) {
        fallo(e.description());
    }
}

void RegistroEnvio::fallo(const QString &porque)
{
    m_diario.reset();
    m_antes.clear();
    m_problema = QStringLiteral("Este envío no podrá deshacerse: ") + porque;
}

// The rows the engine kept, one change an article: its row before the first command and after
// the last. Rows of other catalogs a trigger of the database may have touched are not the send's.
std::vector<DiarioEnvios::Cambio> RegistroEnvio::capturados()
{
    std::vector<CambioDeFila> filas = m_conexion->cambiosCapturados();
    std::vector<DiarioEnvios::Cambio> cambios;
    cambios.reserve(filas.size());
    QHash<QByteArray, std::size_t> donde;
    donde.reserve(qsizetype(filas.size()));
    const QByteArray catalogo = m_entrada.catalogo.toUtf8();
    for (CambioDeFila &fila : filas) {
        const QByteArrayView suyo = FilaCodificada::bytesEn(fila.despues, 0);
        if (suyo != catalogo && QString::fromUtf8(suyo).compare(m_entrada.catalogo, Qt::CaseInsensitive) != 0)
            continue;
        const QByteArray codigo = FilaCodificada::bytesEn(fila.despues, 1).toByteArray();
        const auto visto = donde.constFind(codigo);
        if (visto != donde.cend()) {
            cambios[*visto].despues = std::move(fila.despues);
            continue;
        }
        donde.insert(codigo, cambios.size());
        cambios.push_back({std::move(fila.antes), std::move(fila.despues)});
    }
    return cambios;
}

std::vector<DiarioEnvios::Cambio> RegistroEnvio::leidos()
{
    std::vector<DiarioEnvios::Cambio> cambios;
    const auto despues = FilasEnteras::leer(m_entrada.catalogo, m_codigos, m_entrada.tipoBase);
    for (auto it = despues.cbegin(); it != despues.cend(); ++it) {
        const auto antes = m_antes.constFind(it.key());
        cambios.push_back({antes == m_antes.cend() ? QByteArray() : FilaCodificada::codificar(*antes),
                           FilaCodificada::codificar(it.value())});
    }
    m_antes.clear();
    return cambios;
}

void RegistroEnvio::antesDeConfirmar()
{
    if (!m_diario || std::exchange(m_escrito, true))
        return;
    try {
        std::vector<DiarioEnvios::Cambio> cambios = m_captura ? capturados() : leidos();
        cambios.erase(std::remove_if(cambios.begin(), cambios.end(),
                                     [](const DiarioEnvios::Cambio &c) { return c.antes == c.despues; }),
                      cambios.end());
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
