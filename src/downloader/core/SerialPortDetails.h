#pragma once

#include <string>

namespace downloader {

// What the system says about a serial port, shown in its tooltip in the Serial Port list.
struct SerialPortDetails
{
    std::string name; // the name in the port list
    std::string description; // such as "FT232R USB UART"
    std::string manufacturer; // such as "FTDI"
};

// "description (maker)", or either alone; empty when the system says nothing about the port.
std::string PortToolTip(const SerialPortDetails& details);

} // namespace downloader
