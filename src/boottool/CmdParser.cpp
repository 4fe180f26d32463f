#include "boottool/CmdParser.h"

#include "boottool/Console.h"
#include "boottool/NetAddress.h"
#include "boottool/NumberWord.h"
#include "platform/NativeFile.h"

namespace boottool {

namespace {

bool IsNetDown(const std::string& word)
{
    return word == "netdown" || word == "download";
}

bool IsRun(const std::string& word)
{
    return word == "run" || word == "boot";
}

// Words a known command needs, or 0 for a command passed on unchanged.
std::size_t WordsNeeded(const std::string& first)
{
    if (IsNetDown(first) || first == "serialdown") {
        return 3;
    }
    if (IsRun(first)) {
        return 2;
    }
    if (first == "serialdump") {
        return 4;
    }
    return 0;
}

[[nodiscard]] LoaderCommand Failure(CmdStatus status, std::string message)
{
    LoaderCommand command;
    command.status = status;
    command.message = std::move(message);
    return command;
}

LoaderCommand NetDown(const std::vector<std::string>& words, const NetAddresses& net)
{
    LoaderCommand command;
    command.boardAddress = BoardAddress(net);
    command.fetchedFile = words[2];
    command.preludes.push_back("config ip " + command.boardAddress);
    command.preludes.push_back(Format("config tftpport %u", kTftpPort));
    command.text = "partition download " + words[1] + " " + net.pcIp + " \"" + words[2] + "\"";
    if (words.size() > 3) {
        command.text += " " + words[3];
    }
    return command;
}

LoaderCommand Run(const std::vector<std::string>& words, const NetAddresses& net)
{
    LoaderCommand command;
    command.boardAddress = BoardAddress(net);
    command.text = "bootp " + net.pcIp + " " + words[1];
    if (words.size() > 2) {
        command.text += " " + words[2];
    }
    return command;
}

[[nodiscard]] LoaderCommand SerialDown(const std::vector<std::string>& words)
{
    const std::optional<std::uint64_t> size = platform::RegularFileSize(words[2]);
    if (!size) {
        return Failure(CmdStatus::FileNotFound, Format("file %s not find, please check.\n", words[2].c_str()));
    }
    LoaderCommand command;
    command.kind = TransferKind::SendFile;
    command.file = words[2];
    command.size = *size;
    command.text = "serialdown " + words[1] + " " + std::to_string(command.size);
    if (words.size() > 3) {
        command.text += " " + words[3];
    }
    return command;
}

[[nodiscard]] LoaderCommand SerialDump(const std::vector<std::string>& words)
{
    const auto length = ParseNumberWord(words[2]);
    if (!length) {
        return Failure(CmdStatus::BadNumber,
                       Format("error: length %s is not a number, please check.\n", words[2].c_str()));
    }
    LoaderCommand command;
    command.kind = TransferKind::ReceiveFile;
    command.file = words[3];
    command.size = *length;
    command.text = "serialdump " + words[1] + " " + std::to_string(*length);
    return command;
}

} // namespace

bool NeedsPcAddress(const std::vector<std::string>& words)
{
    return !words.empty() && (IsNetDown(words[0]) || IsRun(words[0])) && words.size() >= WordsNeeded(words[0]);
}

std::string BoardAddress(const NetAddresses& net)
{
    return !net.stbIp.empty() ? net.stbIp : NextHostAddress(net.pcIp).value_or("");
}

std::vector<std::string> TftpFilesOf(const std::vector<std::string>& words)
{
    if (!NeedsPcAddress(words)) {
        return {};
    }
    return {IsNetDown(words[0]) ? words[2] : words[1]};
}

LoaderCommand cmd_parser(const std::vector<std::string>& words, const std::string& original, const NetAddresses& net)
{
    if (words.empty()) {
        return Failure(CmdStatus::TooFewWords, "error: empty command, please check.\n");
    }
    const std::string& first = words[0];
    const std::size_t needed = WordsNeeded(first);
    if (words.size() < needed) {
        return Failure(CmdStatus::TooFewWords,
                       Format("error: %s needs at least %zu words, please check.\n", first.c_str(), needed));
    }
    if (IsNetDown(first)) {
        return NetDown(words, net);
    }
    if (IsRun(first)) {
        return Run(words, net);
    }
    if (first == "serialdown") {
        return SerialDown(words);
    }
    if (first == "serialdump") {
        return SerialDump(words);
    }
    LoaderCommand command;
    command.text = original;
    return command;
}

} // namespace boottool
