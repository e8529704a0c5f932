#pragma once

#include "platform/IInstanceChannel.h"

#include <QObject>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QLocalServer;
class QLocalSocket;
class QLockFile;

namespace quillet {

// The instance channel over a per-user local socket. Messages are framed by a
// header of two little-endian 32-bit fields, an identifier and the byte count
// of what follows; the receiver drops connections with another identifier, a
// byte count above the limit, or no progress for a while, and never reads more
// than the header announced.
//
// Start-up: ConnectToRunning takes a lock file beside the socket, then tries
// to connect; only when nobody answers does Listen open the socket (removing
// one left by a crashed instance) and release the lock.
class TLocalInstanceChannel : public QObject, public IInstanceChannel {
    Q_OBJECT
public:
    TLocalInstanceChannel(std::string socketPath, std::uint32_t identifier, std::uint32_t maxBytes);
    ~TLocalInstanceChannel() override;

    bool ConnectToRunning() override;
    bool SendAndWait(std::string_view message, std::string& answer, std::string& error) override;
    bool Listen(std::string& error) override;
    void SetHandler(THandler handler) override;
    void Release() override;

    // The socket path for this user in folder: "TQuilletMainForm_MainWindowClass-<uid>".
    static std::string DefaultSocketPath(const std::string& folder);
    // How long a connection may stall in the middle of a message.
    static constexpr int kStallTimeoutMs = 30000;

private:
    struct TConnection;
    void Accept();
    void ReadFrom(TConnection* connection);
    void Drop(TConnection* connection);
    void DeliverPending();

    std::string m_socketPath;
    std::uint32_t m_identifier;
    std::uint32_t m_maxBytes;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QLocalSocket> m_client;
    QLocalServer* m_server = nullptr;
    THandler m_handler;
    std::vector<std::unique_ptr<TConnection>> m_connections;
};

} // namespace quillet
