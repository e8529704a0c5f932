// One contract for every IGlobalHotKey: the desktop's (which on the offscreen
// test platform reports that it is not supported) and the fake, supported or not.
#include "platform/fake/FakeGlobalHotKey.h"
#include "platform/qt/X11GlobalHotKey.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

struct TDesktopHotKey {
    std::unique_ptr<IGlobalHotKey> hotKey = CreateDesktopGlobalHotKey();
};

struct TSupportedFakeHotKey {
    std::unique_ptr<IGlobalHotKey> hotKey = std::make_unique<TFakeGlobalHotKey>();
};

struct TUnsupportedFakeHotKey {
    std::unique_ptr<IGlobalHotKey> hotKey = [] {
        auto fake = std::make_unique<TFakeGlobalHotKey>();
        fake->supported = false;
        return fake;
    }();
};

template <typename TWorld> class GlobalHotKeyContract : public ::testing::Test {
protected:
    TWorld world;
    IGlobalHotKey& HotKey() { return *world.hotKey; }
};

using TWorlds = ::testing::Types<TDesktopHotKey, TSupportedFakeHotKey, TUnsupportedFakeHotKey>;
TYPED_TEST_SUITE(GlobalHotKeyContract, TWorlds);

TYPED_TEST(GlobalHotKeyContract, RegisterMatchesSupportAndUnregisterIsAlwaysHarmless)
{
    IGlobalHotKey& hotKey = this->HotKey();
    hotKey.Unregister();
    EXPECT_FALSE(hotKey.IsRegistered());

    std::string error;
    const THotKey key{THotKey::kControl | THotKey::kAlt, 'Q'};
    const bool registered = hotKey.Register(
        key, [] {}, error);
    if (hotKey.IsSupported()) {
        // A supported desktop may still refuse a key another program holds.
        EXPECT_EQ(registered, error.empty()) << error;
    } else {
        EXPECT_FALSE(registered);
        EXPECT_FALSE(error.empty()) << "an unsupported desktop says why";
    }
    EXPECT_EQ(hotKey.IsRegistered(), registered);

    hotKey.Unregister();
    EXPECT_FALSE(hotKey.IsRegistered());
    hotKey.Unregister();
    EXPECT_FALSE(hotKey.IsRegistered());
}

} // namespace
} // namespace quillet
