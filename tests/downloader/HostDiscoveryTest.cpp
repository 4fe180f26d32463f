#include "downloader/core/HostDiscovery.h"
#include "downloader/core/InetAddress.h"

#include <gtest/gtest.h>

namespace downloader {

TEST(HostDiscovery, UnreadableDeviceFolderGivesTheFallbackList)
{
    EXPECT_EQ(SystemSerialPortList("/nonexistent/class/tty"), std::string(kFallbackPortList));
}

TEST(HostDiscovery, SystemListsAreWellFormed)
{
    // Whatever this host has: device paths each ended by ';', and IPv4 addresses without loopback.
    const std::string ports = SystemSerialPortList(kSerialDeviceClassFolder);
    for (const std::string& name : SplitPortList(ports)) {
        EXPECT_TRUE(name.starts_with("/dev/")) << name;
    }
    EXPECT_TRUE(ports.empty() || ports.back() == ';');
    for (const std::string& list : SystemAdapterAddressLists()) {
        EXPECT_EQ(list.find("127.0.0.1"), std::string::npos) << list;
        for (const std::string& address : PcAddressesFromAdapters({list})) {
            EXPECT_TRUE(ParseInetAddr(address).has_value());
        }
    }
}

} // namespace downloader
