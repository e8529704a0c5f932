// One contract for every IInstanceChannel: the local socket between two starts
// of the program, and the fake's in-memory network. Each world makes channels
// that find each other and runs a later start the way it would really happen.
#include "platform/fake/FakeInstanceChannel.h"
#include "platform/qt/LocalInstanceChannel.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <chrono>
#include <cstdint>
#include <future>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace quillet {
namespace {

constexpr std::uint32_t kIdentifier = 0x51554C4C;
constexpr std::uint32_t kMaxBytes = 4096;

// A message as the socket channel frames it: identifier and byte count, both
// 32-bit little-endian, then the bytes.
std::string Framed(std::string_view payload)
{
    std::string message;
    for (const std::uint32_t field : {kIdentifier, static_cast<std::uint32_t>(payload.size())}) {
        for (int i = 0; i < 4; ++i) {
            message += static_cast<char>((field >> (8 * i)) & 0xFF);
        }
    }
    return message + std::string(payload);
}

// What a later start saw: whether it found a running instance, whether its
// message was answered, and the answer or the reason.
struct TStart {
    bool found = false;
    bool answered = false;
    std::string answer;
    std::string error;
};

TStart RunStart(IInstanceChannel& channel, const std::string& message)
{
    TStart start;
    start.found = channel.ConnectToRunning();
    if (start.found) {
        start.answered = channel.SendAndWait(message, start.answer, start.error);
    } else {
        channel.Release();
    }
    return start;
}

// Later starts run in their own thread, blocking there as a second process
// would, while this thread's event loop serves the running instance.
struct TSocketWorld {
    test::TTempDir dir;
    std::string path = (dir.Path() / "instance").string();

    std::unique_ptr<IInstanceChannel> Make()
    {
        return std::make_unique<TLocalInstanceChannel>(path, kIdentifier, kMaxBytes);
    }
    std::future<TStart> LaterStart(std::string message)
    {
        return std::async(std::launch::async, [this, message] {
            TLocalInstanceChannel channel(path, kIdentifier, kMaxBytes);
            return RunStart(channel, message);
        });
    }
    // Runs the event loop until the start is done (the limit is a safety net
    // against a hang, not a timing check).
    TStart Finish(std::future<TStart>& start)
    {
        QElapsedTimer timer;
        timer.start();
        while (start.wait_for(std::chrono::seconds(0)) != std::future_status::ready && timer.elapsed() < 20000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return start.get();
    }
    void Settle()
    {
        for (int i = 0; i < 20; ++i) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
    }
};

// In memory a start runs when its result is asked for.
struct TFakeWorld {
    TFakeInstanceNetwork network;

    std::unique_ptr<IInstanceChannel> Make() { return std::make_unique<TFakeInstanceChannel>(network); }
    std::future<TStart> LaterStart(std::string message)
    {
        return std::async(std::launch::deferred, [this, message] {
            TFakeInstanceChannel channel(network);
            return RunStart(channel, message);
        });
    }
    TStart Finish(std::future<TStart>& start) { return start.get(); }
    void Settle() { }
};

template <typename TWorld> class InstanceChannelContract : public ::testing::Test {
protected:
    // The first start: finds nobody and becomes the running instance.
    std::unique_ptr<IInstanceChannel> Running()
    {
        std::unique_ptr<IInstanceChannel> channel = world.Make();
        EXPECT_FALSE(channel->ConnectToRunning());
        std::string error;
        EXPECT_TRUE(channel->Listen(error)) << error;
        return channel;
    }
    TStart Start(const std::string& message)
    {
        std::future<TStart> start = world.LaterStart(message);
        return world.Finish(start);
    }

    TWorld world;
};

using TWorlds = ::testing::Types<TSocketWorld, TFakeWorld>;
TYPED_TEST_SUITE(InstanceChannelContract, TWorlds);

TYPED_TEST(InstanceChannelContract, LaterStartsAreAnsweredInOrderByteForByte)
{
    std::unique_ptr<IInstanceChannel> running = this->Running();
    std::vector<std::string> received;
    running->SetHandler([&](std::string_view message) {
        received.emplace_back(message);
        return std::string("ok") + std::to_string(received.size()) + std::string(1, '\0');
    });
    const std::vector<std::string> messages = {
        Framed(std::string("/a b.txt\0-hex\xff", 14)),
        Framed(""),
        Framed(std::string(kMaxBytes, 'x')),
    };
    for (std::size_t i = 0; i < messages.size(); ++i) {
        SCOPED_TRACE(i);
        const TStart start = this->Start(messages[i]);
        EXPECT_TRUE(start.found);
        EXPECT_TRUE(start.answered) << start.error;
        EXPECT_EQ(start.answer, "ok" + std::to_string(i + 1) + std::string(1, '\0'));
    }
    EXPECT_EQ(received, messages);
}

TYPED_TEST(InstanceChannelContract, MessagesBeforeTheHandlerWaitForIt)
{
    std::unique_ptr<IInstanceChannel> running = this->Running();
    const std::string message = Framed("/early.txt");
    std::future<TStart> early = this->world.LaterStart(message);
    this->world.Settle(); // it arrives while there is no handler yet
    std::vector<std::string> received;
    running->SetHandler([&](std::string_view text) {
        received.emplace_back(text);
        return std::string("done");
    });
    const TStart start = this->world.Finish(early);
    EXPECT_TRUE(start.answered) << start.error;
    EXPECT_EQ(start.answer, "done");
    EXPECT_EQ(received, std::vector<std::string>{message});
}

TYPED_TEST(InstanceChannelContract, NoAnswerIsAFailureWithAReason)
{
    std::unique_ptr<IInstanceChannel> running = this->Running();
    int handled = 0;
    running->SetHandler([&](std::string_view) {
        ++handled;
        return std::string();
    });
    const TStart start = this->Start(Framed("/a"));
    EXPECT_TRUE(start.found);
    EXPECT_FALSE(start.answered);
    EXPECT_TRUE(start.answer.empty());
    EXPECT_FALSE(start.error.empty());
    EXPECT_EQ(handled, 1);
}

TYPED_TEST(InstanceChannelContract, WithoutARunningInstanceTheNextStartBecomesIt)
{
    {
        // A start that gave up its right and one that ran and ended both
        // leave the way free.
        std::unique_ptr<IInstanceChannel> undecided = this->world.Make();
        EXPECT_FALSE(undecided->ConnectToRunning());
        undecided->Release();
        std::unique_ptr<IInstanceChannel> ended = this->Running();
    }
    const TStart start = this->Start(Framed("/a"));
    EXPECT_FALSE(start.found);

    std::unique_ptr<IInstanceChannel> alone = this->world.Make();
    std::string answer;
    std::string error;
    EXPECT_FALSE(alone->SendAndWait(Framed("/a"), answer, error)) << "never connected";
    EXPECT_FALSE(error.empty());
    alone.reset();

    std::unique_ptr<IInstanceChannel> next = this->Running();
    next->SetHandler([](std::string_view) {
        return std::string("next");
    });
    EXPECT_EQ(this->Start(Framed("/b")).answer, "next");
}

} // namespace
} // namespace quillet
