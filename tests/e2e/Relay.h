// A TCP relay between the library and a test server that can stop passing bytes on: the way a
// server looks to its clients when it stops answering (its host hangs, a firewall drops the
// traffic). Connections stay open while it holds; nothing comes back on them.

#pragma once

#include <atomic>
#include <string>
#include <thread>

namespace moru::host {

class Relay {
public:
    // Bytes go on to the server at 127.0.0.1:`port`, or, with `unixSocket` (not on Windows), to
    // that socket.
    explicit Relay(int port, std::string unixSocket = {});
    ~Relay();
    Relay(const Relay&) = delete;
    Relay& operator=(const Relay&) = delete;

    // The port on 127.0.0.1 that clients connect to; 0 when the relay could not start.
    int Port() const { return m_port; }
    // While held, connections are accepted and kept, and no byte moves in either direction.
    void Hold(bool held) { m_held = held; }

private:
    void Run();

    int m_serverPort;
    std::string m_unixSocket;
    long long m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_held{false}, m_stop{false};
    std::thread m_thread;
};

} // namespace moru::host
