#include "downloader/core/HostDiscovery.h"

#include "downloader/core/InetAddress.h"

#include <QDir>
#include <QNetworkInterface>
#include <QSerialPortInfo>

namespace downloader {

std::string SystemSerialPortList(const std::string& classFolder)
{
    if (!QDir(QString::fromStdString(classFolder)).isReadable()) {
        return std::string(kFallbackPortList);
    }
    std::vector<std::string> names;
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
        names.push_back(port.systemLocation().toStdString());
    }
    return JoinPortList(names);
}

std::vector<std::string> SystemAdapterAddressLists()
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

std::vector<SerialPortDetails> SystemSerialPortDetails()
{
    std::vector<SerialPortDetails> ports;
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
        ports.push_back(SerialPortDetails{
            port.systemLocation().toStdString(), port.description().toStdString(), port.manufacturer().toStdString()});
    }
    return ports;
}

HostDiscovery SystemHostDiscovery()
{
    return HostDiscovery{[] { return SystemSerialPortList(kSerialDeviceClassFolder); },
                         SystemAdapterAddressLists,
                         SystemSerialPortDetails};
}

} // namespace downloader
