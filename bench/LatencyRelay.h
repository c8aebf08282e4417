#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

// A TCP relay on loopback that holds every chunk it passes for a while in each direction, so
// a server on this machine answers as one a network hop away would. It serves any number of
// connections, and stops when it goes or, at the latest, after `limiteSegundos`.
class LatencyRelay {
public:
    // Forwards to 127.0.0.1:destino, holding each chunk `demoraUs` microseconds one way (the round trip
    // gains twice that).
    LatencyRelay(std::uint16_t destino, int demoraUs, int limiteSegundos = 3600);
    ~LatencyRelay();
    LatencyRelay(const LatencyRelay &) = delete;
    LatencyRelay &operator=(const LatencyRelay &) = delete;

    // The loopback port to connect to instead of the server's; 0 when the relay could not start.
    std::uint16_t puerto() const { return m_puerto; }

private:
    void servir();

    std::uint16_t m_destino;
    int m_demoraUs;
    int m_limiteSegundos;
    int m_escucha = -1;
    int m_aviso[2] = {-1, -1};
    std::uint16_t m_puerto = 0;
    std::atomic<bool> m_parar{false};
    std::thread m_hilo;
};
