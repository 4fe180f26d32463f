// boot.exe figures: TFTP throughput against tftpd-hpa with the same client (also past the block-number
// rollover), CPU time of a 4 MiB serialdown to the simulated board, and CPU time while waiting for a
// board that stays silent.
#include "boottool/ChildProcess.h"
#include "boottool/Console.h"
#include "boottool/SimulatedBoard.h"
#include "boottool/tftp/TftpService.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace boottool {

namespace {

class QuietConsole : public Console
{
public:
    void Out(std::string_view) override { }
    void Err(std::string_view) override { }
};

std::string MakeFile(const std::string& dir, const std::string& name, std::size_t size)
{
    std::string bytes(size, '\0');
    std::uint32_t state = 1;
    for (char& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<char>(state >> 24);
    }
    const std::string path = dir + "/" + name;
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    chmod(path.c_str(), 0644); // tftpd-hpa reads as its own unprivileged user
    return path;
}

// Seconds for curl to fetch url whole (its size checked), or -1.
[[nodiscard]] double TimeCurl(const std::string& url, const std::string& out, std::size_t size)
{
    const auto start = std::chrono::steady_clock::now();
    const ChildResult result = RunChild({"curl", "-sS", "-o", out, url}, 300000);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    struct stat info
    { };
    const bool whole = stat(out.c_str(), &info) == 0 && static_cast<std::size_t>(info.st_size) == size;
    return result.status == 0 && whole ? seconds : -1;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One file of `mib` MiB fetched `runs` times from each server; 33 MiB passes block 65535, so the block
// numbers roll over.
void BenchTftp(const std::string& dir, int mib, int runs)
{
    const std::size_t size = static_cast<std::size_t>(mib) * 1024u * 1024u;
    constexpr int kPeerPort = 16969;
    const std::string name = "f" + std::to_string(mib) + ".bin";
    const std::string file = MakeFile(dir, name, size);
    QuietConsole console;
    DiskFileStorage storage;
    TftpServer server(storage, {file}, console);
    TransferTracker transfers; // no board: the client is curl
    TftpService service(server, transfers, console, [](TftpOutcome) {});
    std::string error;
    if (!service.Start("127.0.0.1", 0, error)) {
        std::printf("tftp: cannot start: %s\n", error.c_str());
        return;
    }
    // The peer, started by hand on a port of its own (never as a system service).
    pid_t peer = -1;
    const std::string address = "127.0.0.1:" + std::to_string(kPeerPort);
    std::vector<std::string> peerArgs{"/usr/sbin/in.tftpd", "-L", "-a", address, "-s", dir};
    std::vector<char*> argv;
    for (std::string& arg : peerArgs) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const bool havePeer
        = access(argv[0], X_OK) == 0 && posix_spawn(&peer, argv[0], nullptr, nullptr, argv.data(), environ) == 0;
    usleep(300000);
    std::vector<double> ours;
    std::vector<double> theirs;
    const std::string out = dir + "/out.bin";
    for (int run = 0; run < runs; ++run) {
        ours.push_back(TimeCurl("tftp://127.0.0.1:" + std::to_string(service.Port()) + "/" + file, out, size));
        if (havePeer) {
            theirs.push_back(TimeCurl("tftp://" + address + "/" + name, out, size));
        }
    }
    if (havePeer) {
        kill(peer, SIGTERM);
        waitpid(peer, nullptr, 0);
    }
    std::printf("tftp %d MiB octet, curl, loopback, median of %d: boot.exe server %.3f s (%.1f MiB/s)",
                mib,
                runs,
                Median(ours),
                mib / Median(ours));
    if (havePeer) {
        std::printf(", tftpd-hpa %.3f s (%.1f MiB/s)\n", Median(theirs), mib / Median(theirs));
    } else {
        std::printf(", tftpd-hpa not installed (apt-get install tftpd-hpa)\n");
    }
}

void BenchSerialDown(const std::string& dir)
{
    const std::string file = MakeFile(dir, "f4.bin", 4u * 1024u * 1024u);
    SimulatedBoard board;
    board.PowerOn();
    const ChildResult result = RunChild(
        {BOOT_EXE_PATH, "-m", "kv4410", "-d", board.DevicePath(), "-c", "serialdown", "0x10000", file}, 120000);
    const BoardRecord record = board.Stop();
    const bool whole = record.serialData.size() == 1 && record.serialData[0].size() == 4u * 1024u * 1024u;
    std::printf("serialdown 4 MiB to the simulated board: exit %d, %s, tool CPU %.3f s (target < 0.5 s)\n",
                result.status,
                whole ? "all bytes arrived" : "DATA MISSING",
                result.cpuSeconds);
}

void BenchIdleWait()
{
    SimulatedBoard board; // never powered on: the tool waits for "X"
    const ChildResult result = RunChild({BOOT_EXE_PATH, "-m", "kv4410", "-d", board.DevicePath(), "-c", "x"}, 10000);
    std::printf("waiting 10 s for \"X\": tool CPU %.4f s = %.3f%% of a core (target < 1%%)\n",
                result.cpuSeconds,
                result.cpuSeconds / 10 * 100);
}

int RunBenchmarks()
{
    char pattern[] = "/tmp/bench-boottool-XXXXXX";
    const char* dir = mkdtemp(pattern);
    if (dir == nullptr) {
        return 1;
    }
    chmod(dir, 0755);
    BenchTftp(dir, 16, 5);
    BenchTftp(dir, 33, 3);
    BenchSerialDown(dir);
    BenchIdleWait();
    const std::string remove = std::string("rm -rf ") + dir;
    return std::system(remove.c_str()) == 0 ? 0 : 1;
}

} // namespace

} // namespace boottool

int main()
{
    return boottool::RunBenchmarks();
}
