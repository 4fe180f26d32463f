#pragma once

#include <string>

namespace core {

class CProgDb;

// An exporter: created for one command, writes a database to one file.
class CAccessOut
{
public:
    virtual ~CAccessOut() = default;
    // Writes db to path; false on failure, usually with a reason left in PendingError.
    [[nodiscard]] virtual bool Export(const std::string& path, CProgDb& db) = 0;
};

} // namespace core
