#include "ChildProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace boottool {

namespace {

struct Pipe
{
    int fds[2] = {-1, -1};
    Pipe() { [[maybe_unused]] const int made = pipe2(fds, O_CLOEXEC); }
    ~Pipe()
    {
        for (const int fd : fds) {
            if (fd >= 0) {
                close(fd);
            }
        }
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    void CloseWrite()
    {
        close(fds[1]);
        fds[1] = -1;
    }
};

} // namespace

ChildResult RunChild(const std::vector<std::string>& argv, int timeoutMs, const std::string& workDir)
{
    ChildResult result;
    Pipe out;
    Pipe err;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out.fds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err.fds[1], 2);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (!workDir.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
    }
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    pid_t pid = -1;
    const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    out.CloseWrite();
    err.CloseWrite();
    if (spawned != 0) {
        return result;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    bool outOpen = true;
    bool errOpen = true;
    while (outOpen || errOpen) {
        const auto left
            = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            result.timedOut = true;
            kill(pid, SIGKILL);
            break;
        }
        pollfd entries[2] = {{outOpen ? out.fds[0] : -1, POLLIN, 0}, {errOpen ? err.fds[0] : -1, POLLIN, 0}};
        if (poll(entries, 2, static_cast<int>(left.count())) < 0 && errno != EINTR) {
            break;
        }
        char buffer[4096];
        for (int i = 0; i < 2; ++i) {
            if ((entries[i].revents & (POLLIN | POLLHUP)) == 0) {
                continue;
            }
            const ssize_t got = read(entries[i].fd, buffer, sizeof buffer);
            if (got <= 0) {
                (i == 0 ? outOpen : errOpen) = false;
                continue;
            }
            (i == 0 ? result.output : result.errors).append(buffer, static_cast<std::size_t>(got));
            result.merged.append(buffer, static_cast<std::size_t>(got));
        }
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    result.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

bool HaveProgram(const std::string& name)
{
    return RunChild({"sh", "-c", "command -v " + name}, 5000).status == 0;
}

} // namespace boottool
