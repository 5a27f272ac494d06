// Loopback TCP, the one channel that works between a Win32 tool and a Linux
// engine under Wine (and between a tool and a Windows engine alike).
// Every socket is non-blocking and never inherited by a child.
#pragma once

#include <winsock2.h>

#include <initializer_list>
#include <string>

namespace vidkiln::tools {

class TWinsock {
public:
    TWinsock();
    TWinsock(const TWinsock&) = delete;
    TWinsock& operator=(const TWinsock&) = delete;
    ~TWinsock();
};

class TSocket {
public:
    TSocket() = default;
    explicit TSocket(SOCKET socket) : FSocket(socket) {}
    TSocket(TSocket&& other) noexcept : FSocket(other.FSocket) { other.FSocket = INVALID_SOCKET; }
    TSocket& operator=(TSocket&& other) noexcept;
    TSocket(const TSocket&) = delete;
    TSocket& operator=(const TSocket&) = delete;
    ~TSocket() { Close(); }

    SOCKET Get() const { return FSocket; }
    explicit operator bool() const { return FSocket != INVALID_SOCKET; }
    void Close();

private:
    SOCKET FSocket = INVALID_SOCKET;
};

// Listens on 127.0.0.1 on a port the system picks.
class TListener {
public:
    TListener();  // throws std::runtime_error
    unsigned Port() const { return FPort; }
    SOCKET Get() const { return FSocket.Get(); }
    // A waiting connection, or an empty socket.
    TSocket TryAccept();

private:
    TSocket FSocket;
    unsigned FPort = 0;
};

enum class TRead { rdNothing, rdData, rdClosed };

// Appends what has arrived to `into` without waiting.
TRead ReadAvailable(const TSocket& socket, std::string& into);

// Waits until one of the sockets (INVALID_SOCKET entries are skipped) has
// something to read or the time is up.
void WaitReadable(std::initializer_list<SOCKET> sockets, int milliseconds);

}  // namespace vidkiln::tools
