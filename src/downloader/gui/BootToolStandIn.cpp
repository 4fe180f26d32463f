// Stands in for boot.exe in builds that do not have the download tool, so the front-end still starts.
#include <cstdio>

int main(int argc, char** argv)
{
    std::printf("boot.exe is not part of this build.\n");
    for (int i = 1; i < argc; ++i) {
        std::printf("%s%s", i > 1 ? " " : "", argv[i]);
    }
    std::printf("\n");
    return 1;
}
