#pragma once

#include "platform/IInstanceChannel.h"

#include <string>
#include <vector>

namespace quillet {

class TFakeInstanceChannel;

// Fake channels made on one network find each other, as the starts of one user
// do through their socket: the one that listens is the running instance.
struct TFakeInstanceNetwork {
    TFakeInstanceChannel* running = nullptr;
};

// An instance channel in memory. Alone, a test says whether an instance "runs"
// and what it answers; on a network, it talks to the channel that listens
// there (nobody can wait in memory: a message sent before that channel has a
// handler is kept for the handler, and the sender gets no answer). Either way
// the fake records what was sent and what was called.
class TFakeInstanceChannel : public IInstanceChannel {
public:
    TFakeInstanceChannel() = default;
    explicit TFakeInstanceChannel(TFakeInstanceNetwork& network);
    // The running instance leaving frees the network for the next start.
    ~TFakeInstanceChannel() override;
    TFakeInstanceChannel(const TFakeInstanceChannel&) = delete;
    TFakeInstanceChannel& operator=(const TFakeInstanceChannel&) = delete;

    bool ConnectToRunning() override;
    bool SendAndWait(std::string_view message, std::string& answer, std::string& error) override;
    bool Listen(std::string& error) override;
    void SetHandler(THandler handler) override;
    void Release() override;

    // Delivers a message as if a later start had sent it; returns the answer.
    std::string Deliver(std::string_view message);

    bool running = false; // another instance answers ConnectToRunning
    bool sendFails = false; // SendAndWait reports a broken connection
    std::string answer; // what the other instance answers
    std::vector<std::string> sent; // messages passed to SendAndWait
    bool listening = false;
    bool released = false;
    std::vector<std::string> pending; // delivered before a handler was set

private:
    THandler m_handler;
    TFakeInstanceNetwork* m_network = nullptr;
    TFakeInstanceChannel* m_peer = nullptr; // connected to; one message per connection
};

} // namespace quillet
