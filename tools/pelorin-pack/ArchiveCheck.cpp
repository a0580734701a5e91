// The archive check of the packer: the directory must read without being rebuilt, every
// entry must decode with a good checksum, and nothing may ask the user anything.
#include "tools/pelorin-pack/ArchiveCheck.h"

#include <memory>

#include "platform/SystemServices.h"
#include "update/strings/MemoryStream.h"
#include "update/unzip/VCLUnZip.h"

namespace pelorin {

namespace {

// Message boxes of the component become problems of the archive; questions are refused.
class RecordingServices : public SystemServices {
public:
    TMsgResult ShowMessageBox(const std::string& text, const std::string&, TMsgButtons buttons) override {
        if (problem.empty()) problem = text;
        return buttons == TMsgButtons::mbOK ? TMsgResult::mrOK : TMsgResult::mrNo;
    }
    std::optional<std::string> OpenFileDialog(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> BrowseForFolder(const std::string&) override { return std::nullopt; }
    void ProcessMessages() override {}

    std::string problem;
};

// What is wrong with an entry's name (backslashes, as the directory holds it) for a program that
// extracts below its own folder; empty when nothing is. The engine would drop ".." parts and
// drive or root prefixes, but an archive that holds them was not made for this folder.
std::string NameProblem(const std::string& name) {
    if (!name.empty() && name[0] == '\\') return "an absolute name";
    if (name.size() >= 2 && name[1] == ':') return "a drive name";
    if (name.find(':') != std::string::npos) return "a colon in the name";
    for (std::size_t start = 0; start <= name.size();) {
        std::size_t end = name.find('\\', start);
        if (end == std::string::npos) end = name.size();
        if (name.compare(start, end - start, "..") == 0) return "the name leads out of the destination folder";
        start = end + 1;
    }
    return {};
}

}  // namespace

ArchiveSummary CheckArchive(const std::vector<std::uint8_t>& archive) {
    RecordingServices services;
    TVCLUnZip zip(services);
    zip.SetDoProcessMessages(false);
    std::string problem;
    ArchiveSummary summary;
    try {
        zip.SetArchiveStream(std::make_unique<TMemoryStream>(archive));
        zip.ReadDirectory();
        if (zip.DirectoryRebuilt()) throw EArchiveRefused("its central directory is damaged");
        if (zip.NumberOfDisks() > 1) throw EArchiveRefused("it spans several disks");
        summary.entries = zip.EntryCount();
        for (int i = 0; i < zip.EntryCount(); ++i) {
            const std::string name = zip.EntryFullName(i);
            const std::string nameProblem = NameProblem(name);
            if (!nameProblem.empty()) throw EArchiveRefused(name + ": " + nameProblem);
        }

        zip.SetFilesList({"*"});
        zip.OnStartUnZipInfo = [&](TVCLUnZip&, int, std::int64_t bytes, bool&) { summary.uncompressedBytes = bytes; };
        zip.OnBadCRC = [&](TVCLUnZip& sender, std::uint32_t, std::uint32_t, int index) {
            if (problem.empty()) problem = sender.EntryFullName(index) + ": bad CRC";
        };
        zip.OnSkippingFile = [&](TVCLUnZip& sender, TSkipReason reason, int index) {
            if (!problem.empty()) return;
            const std::string name = sender.EntryFullName(index);
            switch (reason) {
            case TSkipReason::SkipBadPassword:
                problem = name + ": encrypted, the update program has no password";
                break;
            case TSkipReason::SkipUnsafeName: problem = name + ": the name leads out of the destination folder"; break;
            case TSkipReason::SkipNoOverwrite: problem = name + ": not extracted"; break;
            }
        };
        zip.Test();
        zip.CloseArchive();
    } catch (const EArchiveRefused&) {
        throw;
    } catch (const std::exception& error) {
        throw EArchiveRefused(error.what());
    }
    if (problem.empty()) problem = services.problem;
    if (!problem.empty()) throw EArchiveRefused(problem);
    return summary;
}

}  // namespace pelorin
