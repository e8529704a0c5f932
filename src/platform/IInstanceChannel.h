#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace quillet {

// The link between a starting instance and the one already running, for one
// user. The first instance listens; a later one connects, sends one message
// and waits until the running instance has handled it and answered.
class IInstanceChannel {
public:
    // Handles one received message; the returned bytes are sent back as the
    // answer (empty: the connection is closed without an answer).
    using THandler = std::function<std::string(std::string_view message)>;

    virtual ~IInstanceChannel() = default;

    // Looks for a running instance. True when one accepted the connection;
    // false means this process may become the running instance, and the
    // channel keeps that right (a lock) until Listen or Release, so two
    // simultaneous starts cannot both become the first.
    virtual bool ConnectToRunning() = 0;
    // Sends message to the connected instance and blocks until it answers or
    // the connection ends. True with the answer bytes, false with a reason.
    virtual bool SendAndWait(std::string_view message, std::string& answer, std::string& error) = 0;
    // Becomes the running instance: accepts later starts. A name left by a
    // crashed instance is taken over.
    virtual bool Listen(std::string& error) = 0;
    // Messages received before a handler is set wait for it.
    virtual void SetHandler(THandler handler) = 0;
    // Gives up the right to become the running instance (without listening).
    virtual void Release() = 0;
};

} // namespace quillet
