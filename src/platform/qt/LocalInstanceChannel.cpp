#include "platform/qt/LocalInstanceChannel.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <unistd.h>

namespace quillet {

namespace {

constexpr std::size_t kHeaderSize = 8;

std::uint32_t ReadU32(const QByteArray& bytes, int offset)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
    }
    return value;
}

} // namespace

struct TLocalInstanceChannel::TConnection {
    QLocalSocket* socket = nullptr; // owned by the server's children until deleteLater
    QTimer stall;
    QByteArray buffer;
    std::uint32_t expected = 0; // total size once the header is known
    bool complete = false;
};

TLocalInstanceChannel::TLocalInstanceChannel(std::string socketPath, std::uint32_t identifier, std::uint32_t maxBytes)
    : m_socketPath(std::move(socketPath))
    , m_identifier(identifier)
    , m_maxBytes(maxBytes)
{
}

TLocalInstanceChannel::~TLocalInstanceChannel()
{
    for (auto& connection : m_connections) {
        connection->socket->disconnect(this);
        connection->socket->abort();
    }
    m_connections.clear();
}

std::string TLocalInstanceChannel::DefaultSocketPath(const std::string& folder)
{
    return folder + "/TQuilletMainForm_MainWindowClass-" + std::to_string(::getuid());
}

bool TLocalInstanceChannel::ConnectToRunning()
{
    if (!m_lock) {
        m_lock = std::make_unique<QLockFile>(QString::fromLocal8Bit(m_socketPath + ".lock"));
        m_lock->setStaleLockTime(0);
        // A start that finds the lock held waits for the other start to decide;
        // a lock left by a crashed process is detected by its dead owner.
        if (!m_lock->tryLock(10000)) {
            m_lock.reset();
        }
    }
    m_client = std::make_unique<QLocalSocket>();
    m_client->connectToServer(QString::fromLocal8Bit(m_socketPath));
    if (m_client->waitForConnected(2000)) {
        m_lock.reset(); // we will not listen: let other starts go on
        return true;
    }
    m_client.reset();
    return false;
}

bool TLocalInstanceChannel::SendAndWait(std::string_view message, std::string& answer, std::string& error)
{
    answer.clear();
    if (!m_client || m_client->state() != QLocalSocket::ConnectedState) {
        error = "not connected";
        return false;
    }
    m_client->write(message.data(), static_cast<qint64>(message.size()));
    while (m_client->bytesToWrite() > 0) {
        if (!m_client->waitForBytesWritten(-1)) {
            error = m_client->errorString().toStdString();
            return false;
        }
    }
    // The running instance may ask questions while it opens the files, so
    // the answer can take as long as the user takes; a closed connection ends
    // the wait.
    QByteArray reply;
    while (reply.size() < 4) {
        if (m_client->bytesAvailable() == 0 && !m_client->waitForReadyRead(-1)) {
            reply += m_client->readAll();
            if (reply.size() >= 4) {
                break;
            }
            error = m_client->errorString().toStdString();
            return false;
        }
        reply += m_client->readAll();
    }
    answer.assign(reply.constData(), static_cast<std::size_t>(reply.size()));
    m_client->disconnectFromServer();
    return true;
}

bool TLocalInstanceChannel::Listen(std::string& error)
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    const QString name = QString::fromLocal8Bit(m_socketPath);
    bool ok = m_server->listen(name);
    if (!ok && m_server->serverError() == QAbstractSocket::AddressInUseError) {
        // Nobody answered ConnectToRunning, so the socket is a leftover.
        QLocalServer::removeServer(name);
        ok = m_server->listen(name);
    }
    if (!ok) {
        error = m_socketPath + ": " + m_server->errorString().toStdString();
        delete m_server;
        m_server = nullptr;
    } else {
        connect(m_server, &QLocalServer::newConnection, this, &TLocalInstanceChannel::Accept);
    }
    m_lock.reset();
    return ok;
}

void TLocalInstanceChannel::SetHandler(THandler handler)
{
    m_handler = std::move(handler);
    DeliverPending();
}

void TLocalInstanceChannel::Release()
{
    if (m_client) {
        m_client->abort();
        m_client.reset();
    }
    m_lock.reset();
}

void TLocalInstanceChannel::Accept()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        auto connection = std::make_unique<TConnection>();
        TConnection* raw = connection.get();
        raw->socket = socket;
        raw->stall.setSingleShot(true);
        raw->stall.setInterval(kStallTimeoutMs);
        connect(&raw->stall, &QTimer::timeout, this, [this, raw] {
            Drop(raw);
        });
        connect(socket, &QLocalSocket::readyRead, this, [this, raw] {
            ReadFrom(raw);
        });
        connect(socket, &QLocalSocket::disconnected, this, [this, raw] {
            if (!raw->complete) {
                Drop(raw);
            }
        });
        m_connections.push_back(std::move(connection));
        raw->stall.start();
        ReadFrom(raw);
    }
}

void TLocalInstanceChannel::ReadFrom(TConnection* connection)
{
    if (connection->complete) {
        return;
    }
    const qint64 wanted = connection->expected == 0
        ? static_cast<qint64>(kHeaderSize) - connection->buffer.size()
        : static_cast<qint64>(connection->expected) - connection->buffer.size();
    connection->buffer += connection->socket->read(std::max<qint64>(wanted, 0));
    if (connection->expected == 0 && connection->buffer.size() >= static_cast<int>(kHeaderSize)) {
        const std::uint32_t identifier = ReadU32(connection->buffer, 0);
        const std::uint32_t count = ReadU32(connection->buffer, 4);
        if (identifier != m_identifier || count > m_maxBytes) {
            Drop(connection);
            return;
        }
        connection->expected = static_cast<std::uint32_t>(kHeaderSize) + count;
        connection->buffer.reserve(static_cast<int>(connection->expected));
        ReadFrom(connection);
        return;
    }
    connection->stall.start();
    if (connection->expected != 0 && connection->buffer.size() == static_cast<int>(connection->expected)) {
        connection->complete = true;
        connection->stall.stop();
        DeliverPending();
    }
}

// Hands complete messages to the handler in arrival order and answers them.
void TLocalInstanceChannel::DeliverPending()
{
    if (!m_handler) {
        return;
    }
    for (std::size_t i = 0; i < m_connections.size(); ++i) {
        TConnection* connection = m_connections[i].get();
        if (!connection->complete || connection->socket == nullptr) {
            continue;
        }
        QPointer<QLocalSocket> socket = connection->socket;
        const QByteArray message = connection->buffer;
        connection->socket = nullptr; // taken: a nested event loop must not deliver it twice
        socket->disconnect(this);
        const std::string answer =
            m_handler(std::string_view(message.constData(), static_cast<std::size_t>(message.size())));
        if (socket) {
            if (!answer.empty() && socket->state() == QLocalSocket::ConnectedState) {
                socket->write(answer.data(), static_cast<qint64>(answer.size()));
                socket->flush();
            }
            socket->disconnectFromServer();
            socket->deleteLater();
        }
        // The handler may have run a nested event loop that changed the list.
        auto it = std::find_if(m_connections.begin(), m_connections.end(), [connection](const auto& c) {
            return c.get() == connection;
        });
        if (it != m_connections.end()) {
            m_connections.erase(it);
        }
        i = static_cast<std::size_t>(-1);
    }
}

void TLocalInstanceChannel::Drop(TConnection* connection)
{
    auto it = std::find_if(m_connections.begin(), m_connections.end(), [connection](const auto& c) {
        return c.get() == connection;
    });
    if (it == m_connections.end()) {
        return;
    }
    if (connection->socket != nullptr) {
        connection->socket->disconnect(this);
        connection->socket->abort();
        connection->socket->deleteLater();
    }
    m_connections.erase(it);
}

} // namespace quillet
