#include "boottool/NetAddress.h"

#include "platform/Sockets.h"

#include <iphlpapi.h>
#include <vector>

namespace boottool {

namespace {

// The adapters with their addresses; the list's size is asked for first and may grow in between.
[[nodiscard]] std::vector<unsigned char> AdapterList()
{
    constexpr ULONG kFlags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    ULONG size = 16 * 1024;
    std::vector<unsigned char> buffer;
    for (int attempt = 0; attempt < 3; ++attempt) {
        buffer.resize(size);
        const ULONG result = GetAdaptersAddresses(
            AF_INET, kFlags, nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
        if (result == NO_ERROR) {
            return buffer;
        }
        if (result != ERROR_BUFFER_OVERFLOW) {
            break;
        }
    }
    return {};
}

} // namespace

std::optional<std::string> DetectLocalAddress()
{
    const std::vector<unsigned char> list = AdapterList();
    if (list.empty()) {
        return std::nullopt;
    }
    for (auto* adapter = reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(list.data()); adapter != nullptr;
         adapter = adapter->Next) {
        if (adapter->OperStatus != IfOperStatusUp || adapter->IfType == IF_TYPE_SOFTWARE_LOOPBACK) {
            continue;
        }
        for (const IP_ADAPTER_UNICAST_ADDRESS* unicast = adapter->FirstUnicastAddress; unicast != nullptr;
             unicast = unicast->Next) {
            const SOCKADDR* address = unicast->Address.lpSockaddr;
            if (address == nullptr || address->sa_family != AF_INET) {
                continue;
            }
            const auto* inet = reinterpret_cast<const sockaddr_in*>(address);
            char text[INET_ADDRSTRLEN] = {};
            if (inet_ntop(AF_INET, &inet->sin_addr, text, sizeof text) != nullptr) {
                return std::string(text);
            }
        }
    }
    return std::nullopt;
}

} // namespace boottool
