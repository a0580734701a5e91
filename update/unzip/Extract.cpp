// TVCLUnZip: extraction. A selection pass marks the entries that FilesList (or DoAll) picks;
// each is then written below DestDir (or to a stream, or nowhere in a test) and checked.
#include "update/unzip/VCLUnZip.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "core/LittleEndian.h"
#include "core/TextCase.h"
#include "core/TextFormat.h"
#include "update/strings/FileStream.h"
#include "update/strings/LFNFileStream.h"
#include "update/strings/StringsErrors.h"
#include "update/unzip/Decoders.h"
#include "update/unzip/EntryWriter.h"
#include "update/unzip/Percent.h"
#include "update/unzip/TargetPath.h"
#include "update/unzip/UnzipErrors.h"
#include "update/unzip/Wildcard.h"
#include "update/unzip/ZipRecords.h"

namespace pelorin {

// The buffers of one extraction: the decoders' window and the decompressed data.
struct TVCLUnZip::WorkBuffers {
    std::vector<std::uint8_t> window = std::vector<std::uint8_t>(kWindowBufferSize);
    std::vector<std::uint8_t> output = std::vector<std::uint8_t>(kDataBufferSize);
};

namespace {

// Makes DestDir the current folder for the extraction and restores the previous one after.
class CurrentFolder {
public:
    CurrentFolder(OsServices& os, const std::string& destDir) : os_(os), saved_(os.GetCurrentDir()) {
        if (destDir.empty()) return;
        if (!os_.DirectoryExists(destDir)) os_.ForceDirectories(destDir);
        os_.SetCurrentDir(destDir);
    }
    ~CurrentFolder() { os_.SetCurrentDir(saved_); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    OsServices& os_;
    std::string saved_;
};

// A folder below the current folder unless it starts at a root or a drive.
std::string FullPath(const OsServices& os, const std::string& dir) {
    if (dir.empty()) return dir;
    const bool rooted = dir[0] == '\\' || dir[0] == '/' || (dir.size() >= 2 && dir[1] == ':');
    if (rooted) return dir;
    std::string base = os.GetCurrentDir();
    if (!base.empty() && base.back() != '\\' && base.back() != '/') base += '\\';
    return base + dir;
}

// A spanned archive is extracted in physical order, to ask for each disk once; the chosen
// order comes back afterwards.
class PhysicalOrder {
public:
    explicit PhysicalOrder(TVCLUnZip& zip)
        : zip_(zip),
          chosen_(zip.SortMode()),
          active_(zip.SpanMode() != TSpanMode::SpanNone && chosen_ != TZipSortMode::ByNone) {
        if (active_) zip_.SetSortMode(TZipSortMode::ByNone);
    }
    ~PhysicalOrder() {
        if (active_) zip_.SetSortMode(chosen_);
    }
    PhysicalOrder(const PhysicalOrder&) = delete;
    PhysicalOrder& operator=(const PhysicalOrder&) = delete;

private:
    TVCLUnZip& zip_;
    TZipSortMode chosen_;
    bool active_;
};

// The name an entry is written under before it replaces target: in target's folder, short enough
// for an 8.3 file system, and different for each entry of the archive.
// "~pz" and five hex digits from the entry's index, beside the target; a name that something
// already holds (another entry, a file of the user's) is passed over for the next one.
std::string TemporaryName(const OsServices& os, const std::string& target, int index) {
    const std::size_t slash = target.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    // A folder that answers "taken" for a thousand names in a row is no place to write.
    for (unsigned tried = 0; tried < 1000; ++tried) {
        char name[16];
        std::snprintf(name, sizeof name, "~pz%05X.tmp", (static_cast<unsigned>(index) + tried) & 0xFFFFFu);
        const std::string candidate = folder + name;
        if (!SameText(candidate, target) && !os.FileExists(candidate) && !os.DirectoryExists(candidate))
            return candidate;
    }
    throw EFCreateError(FormatText("Cannot create file %s", target));
}

// Refused rather than renamed, before any folder is made: a colon in a name would write an
// alternate data stream on NTFS or into a drive's current folder, and no new name can tell
// what the archive meant.
bool RefusedName(const TZipHeaderInfo& entry) {
    return (!entry.FileName().empty() && IsUnsafeFileName(entry.FileName())) || HasStrayColon(entry.Path());
}

// Where a test sends the decoded bytes: counted, then dropped.
class DiscardStream : public TStream {
public:
    std::string ClassName() const override { return "DiscardStream"; }
    std::size_t Read(void*, std::size_t) override { return 0; }
    std::size_t Write(const void*, std::size_t count) override {
        written_ += static_cast<std::int64_t>(count);
        return count;
    }
    std::int64_t Seek(std::int64_t offset, int origin) override {
        return SeekTarget(offset, origin, written_, written_);
    }

private:
    std::int64_t written_ = 0;
};

}  // namespace

int TVCLUnZip::Extract() {
    cancelRequested_ = false;
    const ArchiveSession session(*this);
    // Entry folders are built from the destination while it is the current folder, so a
    // relative destination is made full first; otherwise its name would be taken twice.
    extractDir_ = FullPath(*os_, destDir_);
    const CurrentFolder folder(*os_, extractDir_);
    return ForEachSelected([this](int index, int& count, WorkBuffers& buffers) {
        while (ExtractEntry(index, count, buffers)) {}
    });
}

int TVCLUnZip::ExtractToStream(TStream& out) {
    cancelRequested_ = false;
    const ArchiveSession session(*this);
    return ForEachSelected(
        [this, &out](int index, int& count, WorkBuffers& buffers) { StreamEntry(index, count, out, buffers, false); });
}

int TVCLUnZip::Test() {
    cancelRequested_ = false;
    const ArchiveSession session(*this);
    DiscardStream sink;
    return ForEachSelected([this, &sink](int index, int& count, WorkBuffers& buffers) {
        if (RefusedName(ViewEntry(index))) {
            Skip(TSkipReason::SkipUnsafeName, index, count);
            return;
        }
        while (StreamEntry(index, count, sink, buffers, true)) {}
    });
}

int TVCLUnZip::ForEachSelected(const std::function<void(int index, int& count, WorkBuffers& buffers)>& extract) {
    WorkBuffers buffers;
    const PhysicalOrder order(*this);
    totalWritten_ = 0;
    int count = SelectEntries(totalBytes_);
    bool stopNow = false;
    if (OnStartUnZipInfo) OnStartUnZipInfo(*this, count, totalBytes_, stopNow);
    if (count <= 0 || stopNow) return count;
    for (int i = 0; i < EntryCount(); ++i) {
        if (!doAll_ && !ViewEntry(i).Selected) continue;
        extract(i, count, buffers);
    }
    return count;
}

int TVCLUnZip::SelectEntries(std::int64_t& totalBytes) {
    int count = EntryCount();
    totalBytes = 0;
    std::vector<std::string> patterns;
    for (const std::string& line : filesList_) patterns.push_back(LowerCaseAscii(line));
    std::vector<std::string> excluded;
    for (const std::string& line : excludeList_) excluded.push_back(LowerCaseAscii(line));
    for (int i = 0; i < EntryCount(); ++i) {
        TZipHeaderInfo& entry = ViewEntry(i);
        entry.Selected = doAll_;
        if (entry.FileName().empty() && !recreateDirs_) {
            entry.Selected = false;
            --count;
            continue;
        }
        const std::string name = LowerCaseAscii(entry.FullName());
        for (const std::string& pattern : patterns) {
            if (entry.Selected) break;
            entry.Selected = MatchesPattern(pattern, name);
        }
        for (const std::string& pattern : excluded) {
            if (!entry.Selected) break;
            entry.Selected = !MatchesPattern(pattern, name);
        }
        if (entry.Selected) {
            totalBytes += entry.UncompressedSize;
        } else {
            --count;
        }
    }
    return count;
}

void TVCLUnZip::Skip(TSkipReason reason, int index, int& count) {
    if (OnSkippingFile) OnSkippingFile(*this, reason, index);
    --count;
}

// True when the entry is to be extracted once more (a new password after a failed checksum).
bool TVCLUnZip::ExtractEntry(int index, int& count, WorkBuffers& buffers) {
    const TZipHeaderInfo& entry = ViewEntry(index);
    currentEntry_.Assign(entry);
    const bool hasName = !entry.FileName().empty();
    if (hasName) SeekEntryData(entry);

    if (RefusedName(entry)) {
        Skip(TSkipReason::SkipUnsafeName, index, count);
        return false;
    }
    const std::string folder = EntryFolder(extractDir_, rootDir_, entry.Path(), recreateDirs_);
    if (!folder.empty() && !os_->DirectoryExists(folder)) os_->ForceDirectories(folder);
    if (!hasName) {
        bool skip = false;
        if (recreateDirs_ && OnStartUnZip) OnStartUnZip(*this, index, folder, skip);
        return false;
    }
    std::string target = folder + entry.FileName();

    EntryReader reader(*this, static_cast<std::uint32_t>(entry.CompressedSize));
    if (entry.Encrypted() && !CheckPassword(index, entry, reader)) {
        Skip(TSkipReason::SkipBadPassword, index, count);
        return false;
    }
    if (!MayOverwrite(index, entry, target)) {
        Skip(TSkipReason::SkipNoOverwrite, index, count);
        return false;
    }
    // Asked before the file is created, so that a skipped entry leaves an existing file as it was.
    bool skip = false;
    if (OnStartUnZip) OnStartUnZip(*this, index, target, skip);
    if (skip) return false;

    // The entry is written under a temporary name beside its target, which it replaces only once
    // its checksum holds: a damaged entry or an error on the way leaves an existing file as it was.
    const std::string temporary = TemporaryName(*os_, target, index);
    std::uint32_t crc = 0;
    auto file = std::make_unique<TLFNFileStream>(temporary, fmCreate);
    try {
        EntryWriter writer(*file, buffers.output.data(), entry.UncompressedSize, *os_,
                           ProgressNotice(entry.UncompressedSize));
        try {
            Decode(entry, reader, writer, buffers);
            writer.Finish();
        } catch (const EBiggerThanUncompressed&) {
            // The bytes up to the uncompressed size stay; the checksum decides.
        }
        file->Flush();
        crc = ~writer.RunningCrc();
        file.reset();
    } catch (...) {
        file.reset();
        os_->RemoveFile(temporary);
        throw;
    }

    if (crc == entry.Crc32) {
        if (!os_->RenameOver(temporary, target)) {
            os_->RemoveFile(temporary);
            throw EFCreateError(FormatText("Cannot create file %s", target));
        }
        if (retainAttributes_) os_->SetAttributes(target, entry.ExternalAttributes);
        os_->SetFileDosTime(target, entry.DateTime);
        if (OnEndUnZip) OnEndUnZip(*this, index, target);
        return false;
    }
    // The damaged copy goes either way; the file it was meant to replace stays.
    const bool retry = FailedChecksum(index, entry, crc, true);
    os_->RemoveFile(temporary);
    if (!retry) --count;
    return retry;
}

bool TVCLUnZip::StreamEntry(int index, int& count, TStream& out, WorkBuffers& buffers, bool mayRetry) {
    const TZipHeaderInfo& entry = ViewEntry(index);
    currentEntry_.Assign(entry);
    if (entry.FileName().empty()) return false;  // a folder holds no data
    SeekEntryData(entry);
    EntryReader reader(*this, static_cast<std::uint32_t>(entry.CompressedSize));
    if (entry.Encrypted() && !CheckPassword(index, entry, reader)) {
        Skip(TSkipReason::SkipBadPassword, index, count);
        return false;
    }
    bool skip = false;
    if (OnStartUnZip) OnStartUnZip(*this, index, entry.FullName(), skip);
    if (skip) return false;

    EntryWriter writer(out, buffers.output.data(), entry.UncompressedSize, *os_,
                       ProgressNotice(entry.UncompressedSize));
    try {
        Decode(entry, reader, writer, buffers);
        writer.Finish();
    } catch (const EBiggerThanUncompressed&) {
        // What went out up to the uncompressed size stays; the checksum decides.
    }
    const std::uint32_t crc = ~writer.RunningCrc();
    if (crc == entry.Crc32) {
        if (OnEndUnZip) OnEndUnZip(*this, index, entry.FullName());
        return false;
    }
    const bool retry = FailedChecksum(index, entry, crc, mayRetry);
    if (!retry) --count;
    return retry;
}

// Moves the archive to the first byte of the entry's data, past its local header.
void TVCLUnZip::SeekEntryData(const TZipHeaderInfo& entry) {
    if (spanMode_ != TSpanMode::SpanNone && entry.DiskNumberStart != currentDisk_) {
        RequestDisk(entry.DiskNumberStart + 1);
    }
    SeekArchive(entry.LocalHeaderOffset + leadingBytes_, soFromBeginning);
    std::uint8_t local[LocalHeader::kSize];
    if (ReadArchive(local, sizeof local) != sizeof local) throw EFatalUnzipError("Premature end of file reached");
    SkipArchive(GetLE16(local + LocalHeader::kNameLength) + GetLE16(local + LocalHeader::kExtraLength));
}

// Counts the bytes written and reports the entry's and the whole run's percentages.
std::function<void(std::size_t, std::int64_t)> TVCLUnZip::ProgressNotice(std::int64_t entrySize) {
    return [this, entrySize](std::size_t written, std::int64_t entryWritten) {
        totalWritten_ += static_cast<std::int64_t>(written);
        if (OnFilePercentDone) OnFilePercentDone(*this, RoundPercent(entryWritten, entrySize));
        if (OnTotalPercentDone) OnTotalPercentDone(*this, RoundPercent(totalWritten_, totalBytes_));
    };
}

bool TVCLUnZip::CheckPassword(int index, const TZipHeaderInfo& entry, EntryReader& reader) {
    const std::uint8_t check = CryptCheckByte(entry.Flags, entry.DateTime, entry.Crc32);
    for (;;) {
        std::uint8_t header[ZipCrypt::kHeaderSize];
        reader.ReadEncryptionHeader(header);
        ZipCrypt crypt(zipPassword_);
        if (crypt.CheckHeader(header, check)) {
            reader.SetDecryption(crypt);
            return true;
        }
        if (!OnBadPassword) return false;
        std::string password = zipPassword_;
        OnBadPassword(*this, index, password);
        if (password == zipPassword_) return false;
        zipPassword_ = password;
        reader.UnreadEncryptionHeader();
    }
}

bool TVCLUnZip::MayOverwrite(int index, const TZipHeaderInfo& entry, std::string& target) {
    if (overwriteMode_ == TUZOverwriteMode::Always || !os_->FileExists(target)) return true;
    if (overwriteMode_ == TUZOverwriteMode::Never) return false;
    bool overwrite = false;
    if (OnPromptForOverwrite) {
        OnPromptForOverwrite(*this, overwrite, index, target);
        return overwrite;
    }
    return os_->ShowMessageBox("Replace existing file " + entry.FileName() + "?", "File Exists Alert",
                               TMsgButtons::mbYesNo) == TMsgResult::mrYes;
}

void TVCLUnZip::Decode(const TZipHeaderInfo& entry, EntryReader& reader, EntryWriter& writer, WorkBuffers& buffers) {
    const Decoder decode = FindDecoder(entry.CompressionMethod);
    if (!decode) {
        os_->ShowMessageBox("Unknown Compression Method", "Zip Error", TMsgButtons::mbOK);
        return;
    }
    DecodeJob job;
    job.method = entry.CompressionMethod;
    job.flags = entry.Flags;
    job.compressedSize = reader.Remaining();
    job.uncompressedSize = static_cast<std::uint32_t>(entry.UncompressedSize);
    decode(job, reader, writer, buffers.window.data());
}

// True when a new password asks for another try. Without mayRetry (bytes that went out cannot be
// taken back) the handler of a bad password is not asked.
bool TVCLUnZip::FailedChecksum(int index, const TZipHeaderInfo& entry, std::uint32_t crc, bool mayRetry) {
    bool retry = false;
    if (entry.Encrypted()) {
        if (mayRetry && OnBadPassword) {
            std::string password = zipPassword_;
            OnBadPassword(*this, index, password);
            retry = password != zipPassword_;
            zipPassword_ = password;
        }
        if (!retry && OnSkippingFile) OnSkippingFile(*this, TSkipReason::SkipBadPassword, index);
    } else if (OnBadCRC) {
        OnBadCRC(*this, crc, entry.Crc32, index);
    }
    return retry;
}

}  // namespace pelorin
