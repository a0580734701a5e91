// The archive check of the packer: the directory must read without being rebuilt, every
// entry must extract with a good checksum, and nothing may ask the user anything.
#include "tools/pelorin-pack/ArchiveCheck.h"

#include <memory>

#include "core/ScratchFolder.h"
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

        const ScratchFolder folder("pelorin-pack");
        zip.SetDestDir(folder.Path());
        zip.SetRecreateDirs(true);
        zip.SetOverwriteMode(TUZOverwriteMode::Always);
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
        zip.Extract();
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
