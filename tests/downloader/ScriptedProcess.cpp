#include "ScriptedProcess.h"

namespace downloader {

ScriptedProcess::ScriptedProcess(std::shared_ptr<ProcessScript> script)
    : m_script(std::move(script))
{ }

bool ScriptedProcess::Start(const std::string& program, const std::vector<std::string>& arguments, std::string& reason)
{
    ++m_script->starts;
    m_script->startedWith = {program};
    m_script->startedWith.insert(m_script->startedWith.end(), arguments.begin(), arguments.end());
    if (m_script->startFails) {
        reason = m_script->startFailure;
        return false;
    }
    return true;
}

bool ScriptedProcess::HasOutput() const
{
    return !m_script->chunks.empty();
}

std::string ScriptedProcess::Read(std::size_t maxBytes)
{
    std::string& chunk = m_script->chunks.front();
    std::string block = chunk.substr(0, maxBytes);
    chunk.erase(0, block.size());
    if (chunk.empty()) {
        m_script->chunks.pop_front();
    }
    return block;
}

bool ScriptedProcess::HasEnded() const
{
    return m_script->terminated || (m_script->endsByItself && m_script->chunks.empty());
}

bool ScriptedProcess::Terminate()
{
    if (m_script->refusesToStop) {
        return false;
    }
    m_script->terminated = true;
    m_script->chunks.clear();
    return true;
}

ToolProcessFactory ScriptedFactory(std::shared_ptr<ProcessScript> script)
{
    return [script] { return std::make_unique<ScriptedProcess>(script); };
}

} // namespace downloader
