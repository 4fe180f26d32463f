#pragma once

#include "downloader/core/SerialPortDetails.h"

#include <functional>
#include <string>
#include <vector>

namespace downloader {

// Where the dialog gets the host's serial ports and network adapters; tests put fixed lists here.
struct HostDiscovery
{
    // The port list text: names each followed by ';', or the fallback list when it cannot be read.
    std::function<std::string()> serialPorts;
    // One comma-separated IPv4 address list per adapter, in the system's order.
    std::function<std::vector<std::string>()> adapterAddresses;
    // What the system says about its serial ports; may be unset (no tooltips then).
    std::function<std::vector<SerialPortDetails>()> serialPortDetails;
};

// Serial ports as device paths from QSerialPortInfo, adapters from QNetworkInterface (loopback left out:
// a receiver is never reached through it, and it would come first on most hosts).
HostDiscovery SystemHostDiscovery();

// The folder the system lists serial devices in; when it cannot be read the fallback list is used.
inline constexpr const char* kSerialDeviceClassFolder = "/sys/class/tty";

// The port list text from the system, or the fallback list when classFolder cannot be read.
std::string SystemSerialPortList(const std::string& classFolder);
// One address list per adapter, loopback adapters left out.
std::vector<std::string> SystemAdapterAddressLists();
// Description and maker of each serial port QSerialPortInfo lists.
std::vector<SerialPortDetails> SystemSerialPortDetails();

} // namespace downloader
