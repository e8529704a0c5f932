#include "app/OpenFilesMessage.h"
#include "platform/qt/LocalInstanceChannel.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>

#include <atomic>
#include <future>
#include <gtest/gtest.h>
#include <thread>

namespace quillet {
namespace {

using test::TTempDir;

// Runs the event loop until done() or a generous limit (a safety net against
// a hang, not a timing check).
template <typename Done> void Pump(Done done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 20000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

// Sends raw bytes from another thread, as a second process would, and
// returns what came back before the connection closed.
std::future<QByteArray> SendRaw(const std::string& path, QByteArray bytes, bool dieAfterWrite = false)
{
    return std::async(std::launch::async, [path, bytes, dieAfterWrite] {
        QLocalSocket socket;
        socket.connectToServer(QString::fromStdString(path));
        if (!socket.waitForConnected(5000)) {
            return QByteArray("no connection");
        }
        socket.write(bytes);
        socket.waitForBytesWritten(5000);
        if (dieAfterWrite) {
            socket.abort();
            return QByteArray();
        }
        QByteArray reply;
        while (socket.waitForReadyRead(10000)) {
            reply += socket.readAll();
        }
        return reply + socket.readAll();
    });
}

class InstanceChannel : public ::testing::Test {
protected:
    std::string Path() const { return (m_dir.Path() / "instance").string(); }

    TTempDir m_dir;
};

TEST_F(InstanceChannel, HandsOverAndAnswersInOrder)
{
    TLocalInstanceChannel server(Path(), kOpenFilesIdentifier, 1024);
    ASSERT_FALSE(server.ConnectToRunning());
    std::string error;
    ASSERT_TRUE(server.Listen(error)) << error;

    // Messages that arrive before the window exists wait for the handler.
    const std::string first = EncodeOpenFilesMessage({"/a.txt"});
    auto early = SendRaw(Path(), QByteArray::fromStdString(first));
    for (int i = 0; i < 20; ++i) { // let it arrive before a handler exists
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    std::vector<std::string> received;
    server.SetHandler([&](std::string_view message) {
        received.emplace_back(message);
        return EncodeAnswer(1);
    });
    Pump([&] {
        return early.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    });
    EXPECT_EQ(early.get().toStdString(), EncodeAnswer(1));

    // A real second start through the same class, blocking in its own thread.
    auto second = std::async(std::launch::async, [this] {
        TLocalInstanceChannel client(Path(), kOpenFilesIdentifier, 1024);
        std::string answer;
        std::string reason;
        const bool found = client.ConnectToRunning();
        const bool sent = found && client.SendAndWait(EncodeOpenFilesMessage({"/b.txt", "-hex"}), answer, reason);
        return sent ? answer : "failed: " + reason;
    });
    Pump([&] {
        return second.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    });
    EXPECT_EQ(second.get(), EncodeAnswer(1));
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0], first);
    EXPECT_EQ(received[1], EncodeOpenFilesMessage({"/b.txt", "-hex"}));
}

TEST_F(InstanceChannel, BadSendersAreDroppedWithoutHarm)
{
    TLocalInstanceChannel server(Path(), kOpenFilesIdentifier, 1024);
    ASSERT_FALSE(server.ConnectToRunning());
    std::string error;
    ASSERT_TRUE(server.Listen(error)) << error;
    int handled = 0;
    server.SetHandler([&](std::string_view) {
        ++handled;
        return EncodeAnswer(1);
    });

    std::string wrongId = EncodeOpenFilesMessage({"/a"});
    wrongId[0] = 1;
    const std::string tooLarge = EncodeOpenFilesMessage({std::string(2000, 'x')});
    const std::string good = EncodeOpenFilesMessage({"/a"});
    struct Case {
        const char* name;
        QByteArray bytes;
        bool dies;
    };
    const Case cases[] = {
        {"wrong identifier", QByteArray::fromStdString(wrongId), false},
        {"byte count above the limit", QByteArray::fromStdString(tooLarge), false},
        {"sender dies inside the header", QByteArray::fromStdString(good.substr(0, 5)), true},
        {"sender dies inside the text", QByteArray::fromStdString(good.substr(0, good.size() - 2)), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto reply = SendRaw(Path(), c.bytes, c.dies);
        Pump([&] {
            return reply.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
        });
        EXPECT_TRUE(reply.get().isEmpty()); // closed without an answer
    }
    EXPECT_EQ(handled, 0);

    auto reply = SendRaw(Path(), QByteArray::fromStdString(good));
    Pump([&] {
        return reply.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    });
    EXPECT_EQ(reply.get().toStdString(), EncodeAnswer(1));
    EXPECT_EQ(handled, 1);
}

TEST_F(InstanceChannel, SocketLeftByACrashIsTakenOver)
{
    // A crashed instance leaves its socket file behind; nobody answers on it.
    QFile leftover(QString::fromStdString(Path()));
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();

    TLocalInstanceChannel server(Path(), kOpenFilesIdentifier, 1024);
    EXPECT_FALSE(server.ConnectToRunning());
    std::string error;
    EXPECT_TRUE(server.Listen(error)) << error;
    EXPECT_EQ(QFile::permissions(QString::fromStdString(Path())) & (QFile::ReadOther | QFile::WriteOther), 0);

    TLocalInstanceChannel other(Path(), kOpenFilesIdentifier, 1024);
    EXPECT_TRUE(other.ConnectToRunning());
    other.Release();
}

} // namespace
} // namespace quillet
