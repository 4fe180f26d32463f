#include "boottool/Port.h"

namespace boottool {

const char* PortStatusText(PortStatus status)
{
    switch (status) {
    case PortStatus::Ok:
        return "ok";
    case PortStatus::Timeout:
        return "time-out";
    case PortStatus::Closed:
        return "line closed";
    case PortStatus::Error:
        return "error";
    }
    return "error";
}

} // namespace boottool
