#include "boottool/MachineTable.h"

#include "boottool/LoaderImages.h"

#include <array>

namespace boottool {

namespace {

const std::array<MachineImage, 9> kMachines{{
    {"kv4400", loader_images::kv4400},
    {"kv4410", loader_images::kv4410},
    {"kv4410-4431", loader_images::kv4410_4431},
    {"kv4410-dvbs-2201", loader_images::kv4410_dvbs_2201},
    {"kv4410-dvbs-2202", loader_images::kv4410_dvbs_2202},
    {"kv4410-dvbc-4410", loader_images::kv4410_dvbc_4410},
    {"kv4410-dvbc-4410e", loader_images::kv4410_dvbc_4410e},
    {"kv4410-dvbt2-4410", loader_images::kv4410_dvbt2_4410},
    {"kv4410-dvbs-2205", loader_images::kv4410_dvbs_2205},
}};

} // namespace

std::span<const MachineImage> MachineTable()
{
    return kMachines;
}

const MachineImage* FindMachine(std::string_view name)
{
    for (const MachineImage& entry : kMachines) {
        if (name == entry.name) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace boottool
