#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

// A private folder for harnesses whose code under test writes files beside its input (backups,
// dumps), made for one input. It and all it holds are removed when the object goes: libFuzzer ends
// a run without destroying static objects, so none of these may outlive its input.
class FuzzScratchDir
{
public:
    FuzzScratchDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            m_path = pattern;
        }
    }
    ~FuzzScratchDir()
    {
        if (!m_path.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(m_path, ignored);
        }
    }
    FuzzScratchDir(const FuzzScratchDir&) = delete;
    FuzzScratchDir& operator=(const FuzzScratchDir&) = delete;

    bool Valid() const { return !m_path.empty(); }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};
