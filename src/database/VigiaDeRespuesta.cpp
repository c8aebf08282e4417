#include "database/VigiaDeRespuesta.h"

#include <sys/socket.h>
#include <utility>

VigiaDeRespuesta::~VigiaDeRespuesta()
{
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_fin = true;
    }
    m_cambio.notify_all();
    if (m_hilo.joinable())
        m_hilo.join();
}

void VigiaDeRespuesta::armar(int socket, qint64 limiteMs)
{
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_socket = socket;
        m_limite = std::chrono::steady_clock::now() + std::chrono::milliseconds(limiteMs);
        m_cortado = false;
        if (!m_hilo.joinable())
            m_hilo = std::thread([this] { vigilar(); });
    }
    m_cambio.notify_all();
}

bool VigiaDeRespuesta::desarmar()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_socket = -1;
    return std::exchange(m_cortado, false);
}

void VigiaDeRespuesta::vigilar()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_fin) {
        if (m_socket < 0) {
            m_cambio.wait(lock);
            continue;
        }
        if (m_cambio.wait_until(lock, m_limite) == std::cv_status::timeout && m_socket >= 0
            && std::chrono::steady_clock::now() >= m_limite) {
            ::shutdown(m_socket, SHUT_RDWR);
            m_cortado = true;
            m_socket = -1;
        }
    }
}
