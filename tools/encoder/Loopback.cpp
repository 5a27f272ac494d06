#include "tools/encoder/Loopback.h"

#include <ws2tcpip.h>

#include <stdexcept>

namespace vidkiln::tools {

TWinsock::TWinsock()
{
    WSADATA data{};
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        throw std::runtime_error("cannot start Winsock");
}

TWinsock::~TWinsock() { WSACleanup(); }

TSocket& TSocket::operator=(TSocket&& other) noexcept
{
    if (this != &other) {
        Close();
        FSocket = other.FSocket;
        other.FSocket = INVALID_SOCKET;
    }
    return *this;
}

void TSocket::Close()
{
    if (FSocket != INVALID_SOCKET)
        closesocket(FSocket);
    FSocket = INVALID_SOCKET;
}

namespace {

void MakeNonBlocking(SOCKET socket)
{
    u_long on = 1;
    ioctlsocket(socket, FIONBIO, &on);
}

}  // namespace

TListener::TListener()
    : FSocket(WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT))
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof address;
    if (!FSocket ||
        bind(FSocket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(FSocket.Get(), 4) != 0 ||
        getsockname(FSocket.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot listen on 127.0.0.1 (error " +
                                 std::to_string(WSAGetLastError()) + ")");
    MakeNonBlocking(FSocket.Get());
    FPort = ntohs(address.sin_port);
}

TSocket TListener::TryAccept()
{
    TSocket accepted(accept(FSocket.Get(), nullptr, nullptr));
    if (accepted) {
        SetHandleInformation(reinterpret_cast<HANDLE>(accepted.Get()), HANDLE_FLAG_INHERIT, 0);
        MakeNonBlocking(accepted.Get());
    }
    return accepted;
}

TRead ReadAvailable(const TSocket& socket, std::string& into)
{
    TRead result = TRead::rdNothing;
    char buffer[16 * 1024];
    while (true) {
        const int count = recv(socket.Get(), buffer, sizeof buffer, 0);
        if (count > 0) {
            into.append(buffer, static_cast<size_t>(count));
            result = TRead::rdData;
            continue;
        }
        if (count < 0 && WSAGetLastError() == WSAEWOULDBLOCK)
            return result;
        return TRead::rdClosed;
    }
}

void WaitReadable(std::initializer_list<SOCKET> sockets, int milliseconds)
{
    fd_set readable;
    FD_ZERO(&readable);
    for (SOCKET socket : sockets)
        if (socket != INVALID_SOCKET)
            FD_SET(socket, &readable);
    timeval timeout{milliseconds / 1000, (milliseconds % 1000) * 1000};
    if (readable.fd_count == 0) {
        Sleep(static_cast<DWORD>(milliseconds));
        return;
    }
    select(0, &readable, nullptr, nullptr, &timeout);
}

}  // namespace vidkiln::tools
