#include "LatencyRelay.h"

#include <arpa/inet.h>
#include <chrono>
#include <deque>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {
using Reloj = std::chrono::steady_clock;

struct Trozo {
    Reloj::time_point libre;
    std::string datos;
};

// One way of one connection: what was read from `desde` and waits to go to `hacia`.
struct Sentido {
    int desde;
    int hacia;
    std::deque<Trozo> cola;
    bool cerrado = false;
};

struct Conexion {
    Sentido ida;
    Sentido vuelta;
    bool terminada() const { return (ida.cerrado && ida.cola.empty()) || (vuelta.cerrado && vuelta.cola.empty()); }
};

int conectar(std::uint16_t puerto)
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(puerto);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (s < 0 || ::connect(s, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
        if (s >= 0)
            ::close(s);
        return -1;
    }
    const int uno = 1;
    ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &uno, sizeof uno);
    return s;
}

// Reads what is there into the queue, to be let go `demora` later.
void leer(Sentido &s, Reloj::duration demora)
{
    char buffer[65536];
    const ssize_t n = ::read(s.desde, buffer, sizeof buffer);
    if (n <= 0)
        s.cerrado = true;
    else
        s.cola.push_back({Reloj::now() + demora, std::string(buffer, std::size_t(n))});
}

// Writes every chunk whose time has come; a blocking write keeps the order.
void escribir(Sentido &s)
{
    const auto ahora = Reloj::now();
    while (!s.cola.empty() && s.cola.front().libre <= ahora) {
        const std::string &datos = s.cola.front().datos;
        std::size_t hecho = 0;
        while (hecho < datos.size()) {
            const ssize_t n = ::write(s.hacia, datos.data() + hecho, datos.size() - hecho);
            if (n <= 0) {
                s.cola.clear();
                s.cerrado = true;
                return;
            }
            hecho += std::size_t(n);
        }
        s.cola.pop_front();
    }
}
} // namespace

LatencyRelay::LatencyRelay(std::uint16_t destino, int demoraUs, int limiteSegundos)
    : m_destino(destino), m_demoraUs(demoraUs), m_limiteSegundos(limiteSegundos)
{
    m_escucha = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t largo = sizeof a;
    if (m_escucha < 0 || ::bind(m_escucha, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0
        || ::listen(m_escucha, 16) != 0 || ::getsockname(m_escucha, reinterpret_cast<sockaddr *>(&a), &largo) != 0
        || ::pipe(m_aviso) != 0)
        return;
    m_puerto = ntohs(a.sin_port);
    m_hilo = std::thread([this] { servir(); });
}

LatencyRelay::~LatencyRelay()
{
    m_parar = true;
    if (m_aviso[1] >= 0)
        (void)::write(m_aviso[1], "x", 1);
    if (m_hilo.joinable())
        m_hilo.join();
    for (int fd : {m_escucha, m_aviso[0], m_aviso[1]})
        if (fd >= 0)
            ::close(fd);
}

void LatencyRelay::servir()
{
    const auto demora = std::chrono::microseconds(m_demoraUs);
    const auto fin = Reloj::now() + std::chrono::seconds(m_limiteSegundos);
    std::vector<Conexion> conexiones;
    while (!m_parar && Reloj::now() < fin) {
        std::vector<pollfd> fds{{m_escucha, POLLIN, 0}, {m_aviso[0], POLLIN, 0}};
        auto proximo = fin;
        for (Conexion &c : conexiones) {
            for (Sentido *s : {&c.ida, &c.vuelta}) {
                fds.push_back({s->desde, short(s->cerrado ? 0 : POLLIN), 0});
                if (!s->cola.empty())
                    proximo = std::min(proximo, s->cola.front().libre);
            }
        }
        const auto espera = std::max<long long>(
            0, std::chrono::duration_cast<std::chrono::nanoseconds>(proximo - Reloj::now()).count());
        const timespec hasta{time_t(espera / 1000000000), long(espera % 1000000000)};
        ::ppoll(fds.data(), fds.size(), &hasta, nullptr);
        if (fds[0].revents & POLLIN) {
            const int cliente = ::accept(m_escucha, nullptr, nullptr);
            const int servidor = cliente >= 0 ? conectar(m_destino) : -1;
            if (servidor >= 0) {
                const int uno = 1;
                ::setsockopt(cliente, IPPROTO_TCP, TCP_NODELAY, &uno, sizeof uno);
                conexiones.push_back({{cliente, servidor, {}}, {servidor, cliente, {}}});
            } else if (cliente >= 0) {
                ::close(cliente);
            }
        }
        for (std::size_t i = 0; i < conexiones.size(); ++i) {
            Conexion &c = conexiones[i];
            if (i * 2 + 2 < fds.size() && (fds[i * 2 + 2].revents & (POLLIN | POLLHUP | POLLERR)))
                leer(c.ida, demora);
            if (i * 2 + 3 < fds.size() && (fds[i * 2 + 3].revents & (POLLIN | POLLHUP | POLLERR)))
                leer(c.vuelta, demora);
            escribir(c.ida);
            escribir(c.vuelta);
        }
        for (auto it = conexiones.begin(); it != conexiones.end();) {
            if (it->terminada()) {
                ::close(it->ida.desde);
                ::close(it->vuelta.desde);
                it = conexiones.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (Conexion &c : conexiones) {
        ::close(c.ida.desde);
        ::close(c.vuelta.desde);
    }
}
