#include "platform/win32/unique_handle.h"

#include <gtest/gtest.h>

namespace vw::win32 {
namespace {

int g_closes = 0;
int g_token = 0;

// Counts its calls and spoils the last error, as a failing close would.
struct CountingCloser {
    void operator()(int*) const {
        ++g_closes;
        ::SetLastError(ERROR_INVALID_HANDLE);
    }
};
using Owned = UniqueHandle<int*, CountingCloser>;
using OwnedMinusOne = UniqueHandle<int*, CountingCloser, -1>;

TEST(UniqueHandle, ClosesEachHandleOnceAndKeepsTheLastError) {
    g_closes = 0;
    int older = 0;
    {
        Owned a(&g_token);
        Owned b(std::move(a));
        EXPECT_FALSE(a);
        Owned c(&older);
        c = std::move(b);  // closes `older`
        EXPECT_EQ(g_closes, 1);
        ::SetLastError(ERROR_ALREADY_EXISTS);
    }
    EXPECT_EQ(g_closes, 2);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
}

TEST(UniqueHandle, PutClosesTheOldHandleAndTakesTheNew) {
    g_closes = 0;
    Owned h(&g_token);
    int other = 0;
    *h.put() = &other;
    EXPECT_EQ(g_closes, 1);
    EXPECT_EQ(h.get(), &other);
}

TEST(UniqueHandle, NeverClosesItsInvalidValue) {
    g_closes = 0;
    {
        OwnedMinusOne h(OwnedMinusOne::invalid());
        EXPECT_FALSE(h);
    }
    {
        OwnedMinusOne h(nullptr);  // null is a handle where -1 means none
        EXPECT_TRUE(h);
    }
    EXPECT_EQ(g_closes, 1);
}

}  // namespace
}  // namespace vw::win32
