#include "downloader/core/HostDiscovery.h"

#include "downloader/core/InetAddress.h"

#include <QDir>
#include <QNetworkInterface>
#include <QSerialPortInfo>

namespace {

std::string SystemSerialPorts()
{
    if (!QDir(kSerialDeviceClassFolder).isReadable()) {
        return std::string(kFallbackPortList);
    }
    std::vector<std::string> names;
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
        names.push_back(port.systemLocation().toStdString());
    }
    return JoinPortList(names);
}

std::vector<std::string> SystemAdapterAddresses()
{
    std::vector<std::string> lists;
    for (const QNetworkInterface& adapter : QNetworkInterface::allInterfaces()) {
        if (adapter.flags().testFlag(QNetworkInterface::IsLoopBack)) {
            continue;
        }
        std::string list;
        for (const QNetworkAddressEntry& entry : adapter.addressEntries()) {
            if (entry.ip().protocol() != QAbstractSocket::IPv4Protocol) {
                continue;
            }
            if (!list.empty()) {
                list += ',';
            }
            list += entry.ip().toString().toStdString();
        }
        lists.push_back(list);
    }
    return lists;
}

} // namespace

HostDiscovery SystemHostDiscovery()
{
    return HostDiscovery{SystemSerialPorts, SystemAdapterAddresses};
}
