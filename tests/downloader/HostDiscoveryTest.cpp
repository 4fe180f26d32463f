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

TEST(HostDiscovery, PortToolTipsSayWhatTheSystemKnows)
{
    const std::vector<std::pair<SerialPortDetails, std::string>> cases{
        {{"/dev/ttyUSB0", "FT232R USB UART", "FTDI"}, "FT232R USB UART (FTDI)"},
        {{"/dev/ttyUSB1", "USB-Serial Controller", ""}, "USB-Serial Controller"},
        {{"/dev/ttyACM0", "", "Prolific"}, "Prolific"},
        {{"/dev/ttyS0", "", ""}, ""},
    };
    for (const auto& [details, tip] : cases) {
        SCOPED_TRACE(details.name);
        EXPECT_EQ(PortToolTip(details), tip);
    }
    for (const SerialPortDetails& port : SystemSerialPortDetails()) {
        EXPECT_TRUE(port.name.starts_with("/dev/")) << port.name;
    }
}

} // namespace downloader
