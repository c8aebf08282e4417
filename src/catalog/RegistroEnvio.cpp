#include "catalog/RegistroEnvio.h"

#include "catalog/FilasEnteras.h"
#include "core/AppError.h"

#include <QJsonDocument>

namespace {
constexpr qsizetype kPorConsulta = 256;

QByteArray compacta(const FilasEnteras::Fila &fila)
{
    return QJsonDocument(fila).toJson(QJsonDocument::Compact);
}
} // namespace

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
        m_antes.reserve(m_codigos.size());
        for (qsizetype desde = 0; desde < m_codigos.size(); desde += kPorConsulta) {
            const auto filas = FilasEnteras::leer(idCatalogo, m_codigos.mid(desde, kPorConsulta), m_entrada.tipoBase);
            for (auto it = filas.cbegin(); it != filas.cend(); ++it)
                m_antes.insert(it.key(), compacta(it.value()));
        }
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

void RegistroEnvio::antesDeConfirmar()
{
    if (!m_diario)
        return;
    try {
        std::vector<DiarioEnvios::Cambio> cambios;
        for (qsizetype desde = 0; desde < m_codigos.size(); desde += kPorConsulta) {
            const auto filas = FilasEnteras::leer(m_entrada.catalogo, m_codigos.mid(desde, kPorConsulta),
                                                   m_entrada.tipoBase);
            for (auto it = filas.cbegin(); it != filas.cend(); ++it) {
                QByteArray despues = compacta(it.value());
                const QByteArray antes = m_antes.value(it.key());
                if (antes != despues)
                    cambios.push_back({antes, std::move(despues)});
            }
        }
        m_antes.clear();
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

void RegistroEnvio::confirmado()
{
    if (!m_registrado)
        return;
    try {
        m_diario->marcar(m_entrada, DiarioEnvios::Estado::Hecho);
    } catch (const AppError &) {
        // Left pending, the undo judges it by the catalog.
    }
}
