#include "platform/fake/FakeInstanceChannel.h"

#include <utility>

namespace quillet {

TFakeInstanceChannel::TFakeInstanceChannel(TFakeInstanceNetwork& network)
    : m_network(&network)
{
}

TFakeInstanceChannel::~TFakeInstanceChannel()
{
    if (m_network != nullptr && m_network->running == this) {
        m_network->running = nullptr;
    }
}

bool TFakeInstanceChannel::ConnectToRunning()
{
    if (m_network == nullptr) {
        return running;
    }
    m_peer = m_network->running != this ? m_network->running : nullptr;
    return m_peer != nullptr;
}

bool TFakeInstanceChannel::SendAndWait(std::string_view message, std::string& reply, std::string& error)
{
    sent.emplace_back(message);
    reply.clear();
    if (m_network != nullptr) {
        TFakeInstanceChannel* peer = std::exchange(m_peer, nullptr);
        if (peer == nullptr || peer != m_network->running) {
            error = "not connected";
            return false;
        }
        reply = peer->Deliver(message);
        if (sendFails || reply.empty()) {
            reply.clear();
            error = "connection closed";
            return false;
        }
        return true;
    }
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
    if (m_network != nullptr) {
        m_network->running = this;
    }
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
    m_peer = nullptr;
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
