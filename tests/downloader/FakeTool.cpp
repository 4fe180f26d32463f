// A small tool for the runner tests: each mode behaves like one kind of real tool run.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace downloader {
namespace {

void Sleep(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void Print(const char* text)
{
    std::fputs(text, stdout);
    std::fflush(stdout);
}

// Lines of progress with backspaces, as a long serial download prints them, up to about bytes.
void Flood(long long bytes)
{
    long long written = 0;
    for (long long line = 0; written < bytes; ++line) {
        char text[128];
        const int length
            = std::snprintf(text, sizeof text, "block %08lld: 00%%\b\b\b50%%\b\b\b99%%\b\b\b100%%\n", line);
        std::fwrite(text, 1, static_cast<std::size_t>(length), stdout);
        written += length;
    }
    std::fflush(stdout);
}

// Behaves as the mode in argv[1] asks; the exit status is the tool's.
int RunFakeTool(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "args") {
        for (int i = 2; i < argc; ++i) {
            std::printf("<%s>\n", argv[i]);
        }
        return 0;
    }
    if (mode == "progress") {
        Print("50%");
        Sleep(50);
        Print("\b\b\b60%\n");
        return 0;
    }
    if (mode == "prompt") {
        Print("done\r\nPress any key to continue . . .");
        return 0;
    }
    if (mode == "stderr") {
        Print("out\n");
        std::fputs("err\n", stderr);
        return 0;
    }
    if (mode == "wait" && argc > 2) {
        std::ofstream(argv[2]) << ::getpid();
        Print("waiting for the board\n");
        Sleep(60000);
        return 0;
    }
    if (mode == "exit" && argc > 2) {
        Print("last line 1\nlast line 2");
        return std::atoi(argv[2]);
    }
    if (mode == "crash") {
        Print("about to fail\n");
        std::abort();
    }
    if (mode == "flood" && argc > 2) {
        Flood(std::atoll(argv[2]));
        return 0;
    }
    if (mode == "floodforever") {
        Flood(1LL << 40);
        return 0;
    }
    std::fprintf(stderr, "unknown mode\n");
    return 2;
}

} // namespace
} // namespace downloader

int main(int argc, char** argv)
{
    return downloader::RunFakeTool(argc, argv);
}
