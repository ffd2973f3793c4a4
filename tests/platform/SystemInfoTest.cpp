// The system version as GetVersion packs it, with and without a display backend.
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/win/Windows.h"

#include <gtest/gtest.h>

TEST(SystemInfo, GetVersionIsSixOneOfTheNTFamilyWithoutABackend)
{
    const DWORD version = GetVersion();
    EXPECT_EQ(LOBYTE(version), 6);
    EXPECT_EQ(HIBYTE(version), 1);
    EXPECT_EQ(version & 0x80000000u, 0u);
}

TEST(SystemInfo, GetVersionPacksTheBackendsVersion)
{
    THeadlessBackend backend;
    ASSERT_TRUE(backend.Install());
    struct Case {
        uint8_t major;
        uint8_t minor;
        DWORD packed;
    };
    // Major in the low byte, minor in the next; never bit 31, which would mean the 9x family.
    const Case kCases[] = { { 6, 1, 0x0106 }, { 5, 0, 0x0005 }, { 5, 2, 0x0205 }, { 4, 10, 0x0A04 }, { 10, 0, 0x000A },
        { 255, 255, 0xFFFF } };
    EXPECT_EQ(GetVersion(), 0x0106u) << "the backend's default";
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << int(c.major) << "." << int(c.minor));
        backend.SetSystemVersion(c.major, c.minor);
        EXPECT_EQ(GetVersion(), c.packed);
    }
    backend.Uninstall();
    EXPECT_EQ(GetVersion(), 0x0106u) << "back to the layer's own answer once the backend is gone";
}

TEST(SystemInfo, EveryMessageBeepIsCounted)
{
    const unsigned long long before = MessageBeepCount();
    EXPECT_TRUE(MessageBeep(0));
    EXPECT_TRUE(MessageBeep(0xFFFFFFFFu));
    EXPECT_EQ(MessageBeepCount(), before + 2);
}
