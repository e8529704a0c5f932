#include "app/InstanceHandover.h"

#include "app/OpenFilesMessage.h"
#include "core/SettingsStore.h"
#include "platform/fake/FakeInstanceChannel.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(InstanceHandover, StartDecisions)
{
    struct Case {
        const char* name;
        bool running;
        bool multipleInstance;
        std::vector<std::string> args;
        std::string answer;
        bool sendFails;
        bool alreadyRunning;
        bool listens;
        std::size_t messages;
        bool error;
    };
    const std::string one = EncodeAnswer(1);
    const Case cases[] = {
        {"first instance listens", false, false, {"a"}, one, false, false, true, 0, false},
        {"second hands over and ends", true, false, {"a"}, one, false, true, false, 1, false},
        {"second without arguments ends, nothing sent", true, false, {}, one, false, true, false, 0, false},
        {"multiple instances run beside", true, true, {"a"}, one, false, false, false, 0, false},
        {"refused message: run on and say so", true, false, {"a"}, EncodeAnswer(0), false, false, false, 1, true},
        {"receiver died: run on and say so", true, false, {"a"}, one, true, false, false, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSettingsStore settings("", TSettingsForm::PerUser);
        settings.WriteBool("Global", "MultipleInstance", c.multipleInstance);
        TFakeInstanceChannel channel;
        channel.running = c.running;
        channel.answer = c.answer;
        channel.sendFails = c.sendFails;
        TInstanceHandover handover(channel, settings);
        EXPECT_EQ(handover.AlreadyRunning(c.args, "/start/"), c.alreadyRunning);
        EXPECT_EQ(handover.ShouldListen(), c.listens);
        EXPECT_EQ(channel.sent.size(), c.messages);
        EXPECT_EQ(!handover.Error().empty(), c.error);
    }
}

TEST(InstanceHandover, SentListIsCompletedWithTheSendersStartDirectory)
{
    TSettingsStore settings("", TSettingsForm::PerUser);
    TFakeInstanceChannel channel;
    channel.running = true;
    channel.answer = EncodeAnswer(1);
    TInstanceHandover handover(channel, settings);
    ASSERT_TRUE(handover.AlreadyRunning({"x.txt", "sub/y.txt", "-hex", "/abs.txt"}, "/home/d/"));
    ASSERT_EQ(channel.sent.size(), 1u);
    EXPECT_EQ(channel.sent[0].substr(kOpenFilesHeaderSize), "/home/d/x.txt\r\nsub/y.txt\r\n-hex\r\n/abs.txt\r\n");
}

TEST(InstanceHandover, ReceiverChecksTheMessage)
{
    std::vector<std::vector<std::string>> opened;
    const auto open = [&](const std::vector<std::string>& lines) {
        opened.push_back(lines);
    };

    const std::string good = EncodeOpenFilesMessage({"/a", "-hex", "/b"});
    EXPECT_EQ(DecodeAnswer(HandleOpenFilesMessage(good, open)), 1u);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], (std::vector<std::string>{"/a", "-hex", "/b"}));

    std::string wrongId = good;
    wrongId[0] = 'x';
    std::string shortCount = good;
    shortCount[4] = static_cast<char>(shortCount[4] - 1);
    const std::string truncated = good.substr(0, good.size() - 3);
    for (const std::string& bad : {wrongId, shortCount, truncated, std::string("junk")}) {
        EXPECT_EQ(DecodeAnswer(HandleOpenFilesMessage(bad, open)), 0u);
    }
    EXPECT_EQ(opened.size(), 1u);
}

} // namespace
} // namespace quillet
