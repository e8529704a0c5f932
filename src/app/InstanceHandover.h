#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class IInstanceChannel;
class TSettingsStore;

// The single-instance rule at start: find the running instance, and unless
// [Global] "MultipleInstance" is set, hand it this start's arguments and tell
// the caller to end with exit code 1.
class TInstanceHandover {
public:
    TInstanceHandover(IInstanceChannel& channel, TSettingsStore& settings);

    // True when another instance runs and this one should end: its arguments
    // (if any) were handed over. False when this instance runs on; Error()
    // then tells whether a hand-over failed (shown by the caller; start-up
    // continues).
    bool AlreadyRunning(const std::vector<std::string>& arguments, std::string_view startDirectory);

    // True when no instance answered: this one should listen for later starts.
    bool ShouldListen() const { return m_shouldListen; }
    const std::string& Error() const { return m_error; }

private:
    IInstanceChannel& m_channel;
    TSettingsStore& m_settings;
    bool m_shouldListen = false;
    std::string m_error;
};

// The running instance's side: checks a received message and, when it is a
// complete open-files message, passes its lines to open and answers 1. Any
// other message is answered 0 and opens nothing.
std::string HandleOpenFilesMessage(
    std::string_view message, const std::function<void(const std::vector<std::string>&)>& open);

} // namespace quillet
