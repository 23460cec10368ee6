#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/tcp/host_resolver.h"

namespace tcp {
namespace {

TEST(HostResolver, DottedAddressesAndPlausibleNames) {
    const auto a = parse_dotted_ipv4("192.168.1.111");
    ASSERT_TRUE(a);
    EXPECT_EQ(ntohl(a->s_addr), 0xC0A8016Fu);
    for (const char* bad :
         {"", "192.168.1", "192.168.1.256", "192.168.1.111 ", "::1", "localhost"}) {
        EXPECT_FALSE(parse_dotted_ipv4(bad)) << bad;
    }

    for (const char* good : {"localhost", "seq-01.lab.test", "a", "x_y.test", "host.test."}) {
        EXPECT_TRUE(is_plausible_host_name(good)) << good;
    }
    for (const char* bad : {"", ".", "a..b", "-a", "a b", "a/b", "設備", "a:80"}) {
        EXPECT_FALSE(is_plausible_host_name(bad)) << bad;
    }
    EXPECT_TRUE(is_plausible_host_name(std::string(63, 'a') + ".test"));
    EXPECT_FALSE(is_plausible_host_name(std::string(64, 'a') + ".test"));
    EXPECT_FALSE(is_plausible_host_name(std::string(254, 'a')));
}

TEST(HostResolver, SystemLookupOfLocalhost) {
    const auto a = system_resolve("localhost", 2000);
    ASSERT_TRUE(a);
    EXPECT_EQ(ntohl(a->s_addr) >> 24, 127u);
}

}  // namespace
}  // namespace tcp
