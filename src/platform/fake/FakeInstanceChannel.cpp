#include "platform/fake/FakeInstanceChannel.h"

namespace quillet {

bool TFakeInstanceChannel::ConnectToRunning()
{
    return running;
}

bool TFakeInstanceChannel::SendAndWait(std::string_view message, std::string& reply, std::string& error)
{
    sent.emplace_back(message);
    if (sendFails || !running) {
        error = "connection closed";
        return false;
    }
    reply = answer;
    return true;
}

bool TFakeInstanceChannel::Listen(std::string&)
{
    listening = true;
    return true;
}

void TFakeInstanceChannel::SetHandler(THandler handler)
{
    m_handler = std::move(handler);
    for (const std::string& message : pending) {
        m_handler(message);
    }
    pending.clear();
}

void TFakeInstanceChannel::Release()
{
    released = true;
}

std::string TFakeInstanceChannel::Deliver(std::string_view message)
{
    if (!m_handler) {
        pending.emplace_back(message);
        return {};
    }
    return m_handler(message);
}

} // namespace quillet
