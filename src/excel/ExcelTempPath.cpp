#include "excel/ExcelTempPath.h"

#include <filesystem>
#include <random>
#include <system_error>

namespace core {

std::string ExcelTempPath(const std::string& path)
{
    std::random_device seed;
    std::mt19937 generator(seed());
    std::uniform_int_distribution<unsigned> digits(0, 0xFFFFFF);
    std::error_code error;
    for (;;) {
        std::string candidate = path + ".~" + std::to_string(digits(generator)) + ".tmp";
        if (!std::filesystem::exists(candidate, error)) {
            return candidate;
        }
    }
}

} // namespace core
