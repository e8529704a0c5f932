#pragma once

#include "platform/IInstanceChannel.h"

#include <string>
#include <vector>

namespace quillet {

// An instance channel in memory. A test says whether an instance "runs" and
// what it answers; the fake records what was sent and what was called.
class TFakeInstanceChannel : public IInstanceChannel {
public:
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
};

} // namespace quillet
