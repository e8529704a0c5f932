#include "app/InstanceHandover.h"

#include "app/CommandLine.h"
#include "app/OpenFilesMessage.h"
#include "core/SettingsStore.h"
#include "core/Translations.h"
#include "platform/IInstanceChannel.h"

namespace quillet {

TInstanceHandover::TInstanceHandover(IInstanceChannel& channel, TSettingsStore& settings)
    : m_channel(channel)
    , m_settings(settings)
{
}

bool TInstanceHandover::AlreadyRunning(const std::vector<std::string>& arguments, std::string_view startDirectory)
{
    m_error.clear();
    m_shouldListen = false;
    if (!m_channel.ConnectToRunning()) {
        m_shouldListen = true;
        return false;
    }
    if (m_settings.ReadBool("Global", "MultipleInstance", false)) {
        m_channel.Release();
        return false;
    }
    if (arguments.empty()) {
        m_channel.Release();
        return true;
    }
    const std::string message = EncodeOpenFilesMessage(BuildArgumentList(arguments, startDirectory));
    std::string answer;
    std::string reason;
    const bool sent = m_channel.SendAndWait(message, answer, reason);
    m_channel.Release();
    if (!sent || DecodeAnswer(answer) != 1) {
        if (reason.empty()) {
            reason = "the running instance refused the message";
        }
        m_error = LangFormat("HandOverFailed",
            "The files could not be handed to the running Quillet (%s). They are opened in this window.",
            {reason});
        return false;
    }
    return true;
}

std::string HandleOpenFilesMessage(
    std::string_view message, const std::function<void(const std::vector<std::string>&)>& open)
{
    const TOpenFilesHeader header = DecodeOpenFilesHeader(message);
    if (header.status != TOpenFilesHeaderStatus::Ok || message.size() != kOpenFilesHeaderSize + header.textSize) {
        return EncodeAnswer(0);
    }
    open(SplitOpenFilesText(message.substr(kOpenFilesHeaderSize)));
    return EncodeAnswer(1);
}

} // namespace quillet
