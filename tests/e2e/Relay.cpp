#include "Relay.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace moru::host {

namespace {

#ifdef _WIN32
using Socket = SOCKET;
constexpr Socket kNoSocket = INVALID_SOCKET;
void Close(Socket socket) { closesocket(socket); }
using Length = int;
#else
using Socket = int;
constexpr Socket kNoSocket = -1;
void Close(Socket socket) { close(socket); }
using Length = socklen_t;
#endif

sockaddr_in Loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<unsigned short>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

Socket ConnectTo(int port, [[maybe_unused]] const std::string& unixSocket)
{
#ifndef _WIN32
    if (!unixSocket.empty()) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (unixSocket.size() >= sizeof address.sun_path) return kNoSocket;
        std::memcpy(address.sun_path, unixSocket.c_str(), unixSocket.size() + 1);
        const Socket socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (socket != kNoSocket && connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            Close(socket);
            return kNoSocket;
        }
        return socket;
    }
#endif
    sockaddr_in address = Loopback(port);
    const Socket socket = ::socket(AF_INET, SOCK_STREAM, 0);
    if (socket != kNoSocket && connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        Close(socket);
        return kNoSocket;
    }
    return socket;
}

// Passes what `from` has on to `to`; false when `from` was closed or either side failed.
bool Pass(Socket from, Socket to)
{
    char bytes[16384];
    const long long received = recv(from, bytes, static_cast<int>(sizeof bytes), 0);
    if (received <= 0) return false;
    for (long long sent = 0; sent < received;) {
        const long long wrote = send(to, bytes + sent, static_cast<int>(received - sent), 0);
        if (wrote <= 0) return false;
        sent += wrote;
    }
    return true;
}

} // namespace

Relay::Relay(int port, std::string unixSocket) : m_serverPort(port), m_unixSocket(std::move(unixSocket))
{
#ifdef _WIN32
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
#endif
    const Socket listener = ::socket(AF_INET, SOCK_STREAM, 0);
    if (listener == kNoSocket) return;
    sockaddr_in address = Loopback(0);
    Length length = sizeof address;
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener, 8) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        Close(listener);
        return;
    }
    m_listener = static_cast<long long>(listener);
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { Run(); });
}

Relay::~Relay()
{
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    if (m_listener != -1) Close(static_cast<Socket>(m_listener));
#ifdef _WIN32
    WSACleanup();
#endif
}

void Relay::Run()
{
    const auto listener = static_cast<Socket>(m_listener);
    std::vector<std::pair<Socket, Socket>> links; // client, server
    const auto closeLink = [](std::pair<Socket, Socket>& link) {
        Close(link.first);
        Close(link.second);
    };
    while (!m_stop) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(listener, &readable);
        Socket highest = listener;
        const bool held = m_held;
        if (!held) {
            for (const auto& [client, server] : links) {
                FD_SET(client, &readable);
                FD_SET(server, &readable);
                highest = std::max({highest, client, server});
            }
        }
        timeval wait{0, 50'000};
        if (select(static_cast<int>(highest) + 1, &readable, nullptr, nullptr, &wait) <= 0) continue;
        if (FD_ISSET(listener, &readable)) {
            const Socket client = accept(listener, nullptr, nullptr);
            if (client != kNoSocket) {
                const Socket server = ConnectTo(m_serverPort, m_unixSocket);
                if (server == kNoSocket) Close(client);
                else links.emplace_back(client, server);
            }
        }
        if (held) continue;
        for (auto link = links.begin(); link != links.end();) {
            const auto [client, server] = *link;
            const bool open = (!FD_ISSET(client, &readable) || Pass(client, server)) &&
                              (!FD_ISSET(server, &readable) || Pass(server, client));
            if (open) {
                ++link;
            } else {
                closeLink(*link);
                link = links.erase(link);
            }
        }
    }
    for (auto& link : links) closeLink(link);
}

} // namespace moru::host
