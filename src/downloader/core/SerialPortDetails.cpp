#include "downloader/core/SerialPortDetails.h"

namespace downloader {

std::string PortToolTip(const SerialPortDetails& details)
{
    if (details.description.empty() || details.manufacturer.empty()) {
        return details.description + details.manufacturer;
    }
    return details.description + " (" + details.manufacturer + ")";
}

} // namespace downloader
