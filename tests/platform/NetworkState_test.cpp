#include "NetworkState.h"

#include <gtest/gtest.h>

// The answer depends on the machine; what it says must hang together.
TEST(NetworkState, FlagsAndNameMatchTheAnswer) {
    for (const net::ConnectionState& s :
         {net::connectionState(), net::connectionStateFromInterfaces()}) {
        if (s.connected) {
            EXPECT_NE(s.flags & (net::ConnectionLan | net::ConnectionModem), 0);
            EXPECT_NE(s.flags & net::ConnectionConfigured, 0);
            EXPECT_FALSE(s.name.empty());
        } else {
            EXPECT_EQ(s.flags, 0);
            EXPECT_TRUE(s.name.empty());
        }
    }
}
