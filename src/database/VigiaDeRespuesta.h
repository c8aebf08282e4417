#pragma once

#include <QtGlobal>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// Cuts a connection's socket when the server keeps a statement unanswered past a limit: a
// server that is stopped, or a link that went silent, would otherwise hold the run (and the
// operator) without end. The client library then reports the connection lost, and the server
// rolls the open transaction back when it sees the socket gone.
class VigiaDeRespuesta {
public:
    VigiaDeRespuesta() = default;
    ~VigiaDeRespuesta();
    VigiaDeRespuesta(const VigiaDeRespuesta &) = delete;
    VigiaDeRespuesta &operator=(const VigiaDeRespuesta &) = delete;

    // From now until desarmar, socket `socket` is cut once `limiteMs` pass.
    void armar(int socket, qint64 limiteMs);
    // True when the limit passed and the socket was cut.
    bool desarmar();

private:
    void vigilar();

    std::mutex m_mutex;
    std::condition_variable m_cambio;
    std::thread m_hilo;
    bool m_fin = false;
    int m_socket = -1;
    std::chrono::steady_clock::time_point m_limite;
    bool m_cortado = false;
};
