// Prints about N bytes of serial-download progress lines with backspaces, as fast as the pipe takes them.
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const long long bytes = argc > 1 ? std::atoll(argv[1]) : 20'000'000;
    long long written = 0;
    for (long long line = 0; written < bytes; ++line) {
        char text[128];
        const int length
            = std::snprintf(text, sizeof text, "block %08lld: 00%%\b\b\b50%%\b\b\b99%%\b\b\b100%%\n", line);
        std::fwrite(text, 1, static_cast<std::size_t>(length), stdout);
        written += length;
    }
    return 0;
}
