#include "boottool/BootRom.h"

#include <algorithm>

namespace boottool {

namespace {

void PutLe32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

// Offset of the first image byte the header carries (the ROM replaces the first word by the count).
constexpr std::size_t kHeaderFirstByte = 4;
// Sum, size and "boot" take the last three words of the header.
constexpr std::size_t kTrailerSize = 12;

std::string Printable(const std::string& bytes)
{
    constexpr std::size_t kShown = 64;
    std::string text;
    for (const char c : bytes.substr(bytes.size() > kShown ? bytes.size() - kShown : 0)) {
        text += (c >= 0x20 && c < 0x7f) ? c : '.';
    }
    return text;
}

enum class Answer { Ok, Again, Other, Failed };

[[nodiscard]] Answer
SendWholeImage(BoardLink& link, Console& console, std::span<const std::uint8_t> image, int answerTimeoutMs)
{
    console.Out(Format("\nwrite size %zu byte ", image.size()));
    for (std::size_t offset = 0; offset < image.size(); offset += kRomPieceSize) {
        const std::size_t piece = std::min(kRomPieceSize, image.size() - offset);
        if (link.Write(image.subspan(offset, piece)) != LinkStatus::Ok) {
            return Answer::Failed;
        }
        console.Out(".");
    }
    console.Out(" end\n");
    if (link.Drain() != LinkStatus::Ok) {
        return Answer::Failed;
    }
    // Only the first byte is the answer; after "O" the rest of the read is the loader talking already and
    // stays for the next wait.
    std::vector<std::uint8_t> answer;
    const LinkStatus status = link.ReadSome(answer, 1, answerTimeoutMs);
    if (status == LinkStatus::Failed) {
        return Answer::Failed;
    }
    if (answer.empty()) {
        return Answer::Ok;
    }
    if (answer[0] == 'O') {
        console.Out("data transmit ok.\n");
        return Answer::Ok;
    }
    link.DiscardBuffered();
    if (answer[0] == 'E') {
        console.Out("data transmit error, try agin ...\n");
        return Answer::Again;
    }
    console.Out(Format("buf[0]=%d\n", answer[0]));
    console.Out("error, please try agin.\n");
    return Answer::Other;
}

} // namespace

std::vector<std::uint8_t> BuildRomHeader(std::span<const std::uint8_t> image)
{
    const std::size_t n = std::min(image.size(), kRomHeaderLimit);
    const std::size_t words = n / 4;
    std::vector<std::uint8_t> header{'Y'};
    PutLe32(header, static_cast<std::uint32_t>(words));
    // An image shorter than three words carries no image bytes in the header (nothing to read there).
    if (words * 4 >= kTrailerSize) {
        header.insert(header.end(),
                      image.begin() + kHeaderFirstByte,
                      image.begin() + static_cast<std::ptrdiff_t>(words * 4 - (kTrailerSize - kHeaderFirstByte)));
    }
    std::uint32_t sum = 0;
    for (const std::uint8_t byte : image) {
        sum += byte;
    }
    PutLe32(header, sum);
    PutLe32(header, static_cast<std::uint32_t>(image.size()));
    header.insert(header.end(), {'b', 'o', 'o', 't'});
    return header;
}

BootRomResult
SendImageToRom(BoardLink& link, Console& console, std::span<const std::uint8_t> image, const BootRomTimings& timings)
{
    if (link.Write(BuildRomHeader(image)) != LinkStatus::Ok) {
        return BootRomResult::LinkFailed;
    }
    std::string seen;
    const LinkStatus got = link.WaitFor("GET", timings.getTimeoutMs, &seen);
    if (got == LinkStatus::Failed) {
        return BootRomResult::LinkFailed;
    }
    if (got != LinkStatus::Ok) {
        console.Out(Format("BootROM error '%s' size=%zu, please restart.\n", Printable(seen).c_str(), image.size()));
        return BootRomResult::RomError;
    }
    for (;;) {
        switch (SendWholeImage(link, console, image, timings.answerTimeoutMs)) {
        case Answer::Ok:
            return BootRomResult::Loaded;
        case Answer::Again:
            continue;
        case Answer::Other:
            return BootRomResult::Rejected;
        case Answer::Failed:
            return BootRomResult::LinkFailed;
        }
    }
}

} // namespace boottool
