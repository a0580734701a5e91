// TVCLUnZip: reading the archive directory. The end record is searched from the end, the
// central directory read from where it says (or, for an archive appended to a program, where it
// stands); when that fails, the local headers are scanned. Spanned archives ask for their other
// disks through OnGetNextDisk.
#include "update/unzip/VCLUnZip.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "core/LittleEndian.h"
#include "core/TextCase.h"
#include "update/strings/FileStream.h"
#include "update/strings/LFNFileStream.h"
#include "update/unzip/ProgramImage.h"
#include "update/unzip/UnzipErrors.h"
#include "update/unzip/ZipRecords.h"

namespace pelorin {

namespace {

constexpr std::int64_t kEndSearchSize = 65528;
constexpr std::int64_t kSelfExtractorSize = 14000;  // the program in front of an ".EXE" archive
constexpr int kScanBreathEvery = 10240;

// Restores the cursor on every way out of a scan.
class BusyCursor {
public:
    explicit BusyCursor(OsServices& os) : os_(os) { os_.SetBusyCursor(true); }
    ~BusyCursor() { os_.SetBusyCursor(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    OsServices& os_;
};

bool HasExeExtension(const std::string& name, bool anyCase) {
    const std::size_t dot = name.find_last_of(".\\");
    if (dot == std::string::npos || name[dot] != '.') return false;
    return anyCase ? SameText(name.substr(dot), ".exe") : name.substr(dot) == ".EXE";
}

bool IsRecordSignature(std::uint32_t signature) {
    return signature == kLocalHeaderSignature || signature == kCentralHeaderSignature ||
           signature == kEndCentralSignature;
}

bool StartsLikeCentralHeader(const std::uint8_t* bytes, std::size_t count) {
    const std::uint8_t signature[4] = {'P', 'K', 1, 2};
    return std::equal(bytes, bytes + std::min<std::size_t>(count, 4), signature);
}

}  // namespace

void TVCLUnZip::OpenArchiveFile(const std::string& name) {
    archive_ = std::make_unique<TLFNFileStream>(name, fmOpenRead | fmShareDenyWrite);
}

void TVCLUnZip::OpenArchive() {
    if (!archive_) OpenArchiveFile(zipName_);
    const bool stale = !timeStamp_ || (!memoryMode_ && os_->FileTimeStamp(zipName_) != timeStamp_);
    if (stale) ReadDirectoryNow();
}

void TVCLUnZip::CloseArchiveStream() {
    if (!keepZipOpen_ && !memoryMode_) archive_.reset();
}

void TVCLUnZip::FreeDirectory() {
    sorted_.reset();
    directory_.reset();
}

TSortedZip* TVCLUnZip::View() const { return sorted_ ? sorted_.get() : directory_.get(); }

void TVCLUnZip::ApplySortMode() {
    sorted_.reset();
    if (!directory_ || sortMode_ == TZipSortMode::ByNone) return;
    auto view = std::make_unique<TSortedZip>(sortMode_, TDuplicates::dupAccept);
    view->SetOwnsObjects(false);
    for (int i = 0; i < directory_->Count(); ++i) view->Add(directory_->Items(i));
    sorted_ = std::move(view);
}

void TVCLUnZip::ReadDirectoryNow() {
    timeStamp_ = memoryMode_ ? std::chrono::system_clock::now().time_since_epoch().count()
                             : os_->FileTimeStamp(zipName_).value_or(0);
    FreeDirectory();
    rebuilt_ = false;
    leadingBytes_ = 0;
    try {
        ReadDirectoryFromArchive();
    } catch (...) {
        FreeDirectory();
        timeStamp_.reset();
        throw;
    }
}

void TVCLUnZip::ReadDirectoryFromArchive() {
    if (LocateEndRecord()) {
        currentDisk_ = ecrec_.ThisDisk;
        numberOfDisks_ = ecrec_.ThisDisk + 1;
        spanMode_ = TSpanMode::SpanNone;
        if (ecrec_.ThisDisk != 0) {
            const bool drive = zipName_.size() >= 2 && zipName_[1] == ':';
            const bool removable = drive && os_->DriveType(zipName_.substr(0, 3)) == TDriveType::dtRemovable;
            spanMode_ = removable ? TSpanMode::SpanRemovableDisks : TSpanMode::SpanOtherDrives;
        }
        if (ecrec_.CentralStartDisk != currentDisk_) RequestDisk(ecrec_.CentralStartDisk + 1);
        if (CentralDirectoryFound()) {
            directory_ = std::make_unique<TSortedZip>(TZipSortMode::ByNone, TDuplicates::dupError);
        } else if (!RebuildByScanning(ecrec_.ThisDisk == 0 ? ArchiveStartBeforeCentral() : -1)) {
            ApplySortMode();
            return;
        }
    } else {
        TIncompleteZipMode mode = incompleteZipMode_;
        if (OnInCompleteZip) OnInCompleteZip(*this, mode);
        incompleteZipMode_ = mode;
        if (mode == TIncompleteZipMode::izAssumeMulti) throw EIncompleteZip("Incomplete Zip File");
        if (!RebuildByScanning(-1)) {
            ApplySortMode();
            return;
        }
    }
    ReadCentralDirectory();
    if (spanMode_ != TSpanMode::SpanNone && ecrec_.CommentLength > 0) {
        if (currentDisk_ != ecrec_.ThisDisk) RequestDisk(ecrec_.ThisDisk + 1);
        ArchiveComment();
    }
    // The current disk stays the one actually open: entries are read from it next.
    numberOfDisks_ = ecrec_.ThisDisk + 1;
    ApplySortMode();
}

bool TVCLUnZip::LocateEndRecord() {
    const std::int64_t size = archive_ ? archive_->Size() : 0;
    if (size < static_cast<std::int64_t>(EndCentralRecord::kSize)) return false;
    const std::int64_t want = std::min(size, kEndSearchSize);
    SeekArchive(size - want, soFromBeginning);
    std::vector<std::uint8_t> tail(static_cast<std::size_t>(want));
    if (ReadArchive(tail.data(), tail.size()) != tail.size()) return false;
    const auto take = [&](std::size_t i) {
        ecrec_.Fill(&tail[i], size);
        endRecordAt_ = size - want + static_cast<std::int64_t>(i);
        // Bytes may follow the comment (a signed program's certificate table): it begins
        // right behind the record.
        if (readAppended_) ecrec_.CommentOffset = endRecordAt_ + static_cast<std::int64_t>(EndCentralRecord::kSize);
    };
    std::optional<std::size_t> nearest;
    for (std::size_t i = tail.size() - EndCentralRecord::kSize + 1; i-- > 0;) {
        if (tail[i] != 'P' || GetLE32(&tail[i]) != kEndCentralSignature) continue;
        if (!readAppended_) {
            take(i);
            return true;
        }
        // Appended archives may have bytes behind them that hold the signature by chance: a
        // record whose central directory is nowhere gives way to one further back whose is.
        if (!nearest) nearest = i;
        take(i);
        if (ecrec_.ThisDisk == 0 && ecrec_.CentralStartDisk == 0 && CentralDirectoryFound()) return true;
    }
    if (!nearest) return false;
    take(*nearest);
    leadingBytes_ = 0;
    return true;
}

// Leaves the archive at the central directory's first header when it is there. The end record
// states where the directory begins, counted from the archive's first byte. With
// ReadAppendedArchives, an archive appended to a program is found as it stands: the directory
// ends where the end record begins, so it begins its size before that; when that is further on
// than stated and a central header stands there, the difference is the program in front, and
// every offset the archive states is moved by it.
bool TVCLUnZip::CentralDirectoryFound() {
    leadingBytes_ = 0;
    if (CentralSignatureAt(ecrec_.CentralOffset)) return true;
    if (!readAppended_ || ecrec_.ThisDisk != 0) return false;
    const std::int64_t leading = ArchiveStartBeforeCentral();
    if (leading <= 0 || !CentralSignatureAt(ecrec_.CentralOffset + leading)) return false;
    leadingBytes_ = leading;
    return true;
}

// Where the archive's first byte is when its central directory ends where the end record begins.
std::int64_t TVCLUnZip::ArchiveStartBeforeCentral() const {
    return endRecordAt_ - static_cast<std::int64_t>(ecrec_.CentralSize) - ecrec_.CentralOffset;
}

// Leaves the archive at offset when a central header signature is there.
bool TVCLUnZip::CentralSignatureAt(std::int64_t offset) {
    SeekArchive(offset, soFromBeginning);
    std::uint8_t signature[4] = {};
    if (ReadArchive(signature, 4) != 4 || GetLE32(signature) != kCentralHeaderSignature) return false;
    SeekArchive(-4, soFromCurrent);
    return true;
}

bool TVCLUnZip::RebuildByScanning(std::int64_t archiveStart) {
    rebuilt_ = true;
    leadingBytes_ = 0;
    FreeDirectory();
    const BusyCursor busy(*os_);
    SeekArchive(ScanStart(), soFromBeginning);
    if (!(readAppended_ ? FindConfirmedLocalHeader(archiveStart) : FindLocalSignature())) return false;
    SeekArchive(-4, soFromCurrent);
    directory_ = std::make_unique<TSortedZip>(TZipSortMode::ByNone, TDuplicates::dupError);
    int found = 0;
    for (;;) {
        auto entry = std::make_unique<TZipHeaderInfo>();
        if (!ReadLocalHeader(*entry)) break;
        const std::int64_t skip = static_cast<std::int64_t>(entry->ExtraFieldLength) +
                                  static_cast<std::uint32_t>(entry->CompressedSize) +
                                  (entry->HasDataDescriptor() ? kDataDescriptorSize : 0);
        directory_->Add(entry.get());
        entry.release();
        ++found;
        SeekArchive(skip, soFromCurrent);
    }
    ecrec_.ThisDisk = 0;
    currentDisk_ = 0;
    ecrec_.CentralOffset = static_cast<std::uint32_t>(ArchivePosition());
    ecrec_.TotalEntries = static_cast<std::uint16_t>(std::min(found, 0xFFFF));
    numberOfDisks_ = 1;
    spanMode_ = TSpanMode::SpanNone;
    return true;
}

// The component passes over the program of a self-extracting ".EXE" by skipping 14000 bytes. With
// ReadAppendedArchives the name's case does not matter, and a Windows program at the start is
// passed over to the end of its image, read from its headers: the code and data of a program
// that large may hold the signatures, and an update program is larger than 14000 bytes.
std::int64_t TVCLUnZip::ScanStart() {
    if (!readAppended_) return HasExeExtension(zipName_, false) ? kSelfExtractorSize : 0;
    const std::optional<std::uint64_t> imageEnd = archive_ ? ProgramImageEnd(*archive_) : std::nullopt;
    if (imageEnd) return static_cast<std::int64_t>(*imageEnd);
    return HasExeExtension(zipName_, true) ? kSelfExtractorSize : 0;
}

// With ReadAppendedArchives a "PK\3\4" counts only when it is confirmed: a program that is no
// Windows program, or a damaged one, is scanned like the archive, and its code and data hold
// such constants (a zip tool's above all), followed by bytes that are no header. Confirmed is
// a header where the end record places the archive's first byte (archiveStart, when the end
// record was found but its directory was not), or one whose entry can be followed to another
// record: the scan loop goes on from there, so one confirmed header is enough. An entry whose
// sizes follow its data cannot be followed and is passed over, as the loop could not go past
// it either.
bool TVCLUnZip::FindConfirmedLocalHeader(std::int64_t archiveStart) {
    while (FindLocalSignature()) {
        const std::int64_t after = ArchivePosition();
        const bool confirmed = after - 4 == archiveStart || ChainContinuesAfter(after - 4);
        SeekArchive(after, soFromBeginning);
        if (confirmed) return true;
    }
    return false;
}

// True when the local header at `at` names an entry and the place behind the entry's data is
// another local or central header, the end record, or the end of the archive.
bool TVCLUnZip::ChainContinuesAfter(std::int64_t at) {
    SeekArchive(at, soFromBeginning);
    std::uint8_t header[LocalHeader::kSize];
    if (ReadArchive(header, sizeof header) != sizeof header) return false;
    const std::uint16_t nameLength = GetLE16(header + LocalHeader::kNameLength);
    if (nameLength == 0) return false;
    const std::uint16_t flags = GetLE16(header + LocalHeader::kEntryFields + EntryFields::kFlags);
    const std::int64_t next = at + static_cast<std::int64_t>(LocalHeader::kSize) + nameLength +
                              GetLE16(header + LocalHeader::kExtraLength) +
                              GetLE32(header + LocalHeader::kEntryFields + EntryFields::kCompressedSize) +
                              ((flags & kFlagDataDescriptor) != 0 ? kDataDescriptorSize : 0);
    const std::int64_t size = archive_->Size();
    if (next == size) return true;
    if (next > size - 4) return false;
    SeekArchive(next, soFromBeginning);
    std::uint8_t signature[4];
    return ReadArchive(signature, 4) == 4 && IsRecordSignature(GetLE32(signature));
}

// Byte by byte for "PK\3\4"; a byte that breaks the pattern may itself start it again.
bool TVCLUnZip::FindLocalSignature() {
    const std::uint8_t signature[4] = {'P', 'K', 3, 4};
    std::size_t matched = 0;
    int sinceBreath = 0;
    std::uint8_t byte = 0;
    while (ReadArchive(&byte, 1) == 1) {
        if (byte == signature[matched]) {
            if (++matched == 4) return true;
            continue;
        }
        matched = byte == 'P' ? 1 : 0;
        if (byte != 'P' && ++sinceBreath == kScanBreathEvery) {
            sinceBreath = 0;
            CheckCancel();
        }
    }
    return false;
}

// A central header that cannot be read ends the directory: the next one would be read
// from the same place.
void TVCLUnZip::ReadCentralDirectory() {
    for (int i = 0; i < ecrec_.TotalEntries; ++i) {
        auto entry = std::make_unique<TZipHeaderInfo>();
        if (!ReadCentralHeader(*entry)) break;
        if (!rebuilt_) {
            directory_->Add(entry.get());
            entry.release();
            continue;
        }
        const int at = directory_->FindPhysical(entry->DiskNumberStart, entry->LocalHeaderOffset);
        if (at < 0) continue;
        TZipHeaderInfo& listed = *directory_->Entry(at);
        const std::uint32_t scannedOffset = listed.LocalHeaderOffset;
        listed.Assign(*entry);
        listed.LocalHeaderOffset = scannedOffset;
    }
}

bool TVCLUnZip::ReadCentralHeader(TZipHeaderInfo& entry) {
    const std::int64_t start = ArchivePosition();
    std::uint8_t header[CentralHeader::kSize] = {};
    std::size_t got = ReadArchive(header, sizeof header);
    const bool spanned = spanMode_ != TSpanMode::SpanNone;
    if (spanned && got < sizeof header && (got == 0 || StartsLikeCentralHeader(header, got))) {
        RequestDisk(currentDisk_ + 2);
        got += ReadArchive(header + got, sizeof header - got);
    }
    const std::optional<std::string> name =
        CheckHeader(header, got == sizeof header, kCentralHeaderSignature, CentralHeader::kNameLength, start);
    if (!name) return false;
    entry.FillFromCentral(header);
    entry.SetFullName(*name);
    entry.CentralHeaderOffset = static_cast<std::uint32_t>(start - leadingBytes_);
    SkipArchive(entry.ExtraFieldLength);
    if (!spanned || entry.CommentLength == 0) {
        SkipArchive(entry.CommentLength);
        return true;
    }
    // Comments of a spanned archive are loaded now: their disk may be gone later.
    entry.SetComment(ReadArchiveText(entry.CommentLength));
    return true;
}

bool TVCLUnZip::ReadLocalHeader(TZipHeaderInfo& entry) {
    const std::int64_t start = ArchivePosition();
    std::uint8_t header[LocalHeader::kSize];
    const bool complete = ReadArchive(header, sizeof header) == sizeof header;
    const std::optional<std::string> name =
        CheckHeader(header, complete, kLocalHeaderSignature, LocalHeader::kNameLength, start);
    if (!name) return false;
    entry.FillFromLocal(header);
    entry.SetFullName(*name);
    entry.LocalHeaderOffset = static_cast<std::uint32_t>(start);
    return true;
}

// The signature of a header whose fixed bytes were read, and the name that follows them.
// Stored names use forward slashes and the OEM character set. None, with the archive back
// at start, when the header is cut short, its signature is wrong or the archive ends in the name.
std::optional<std::string> TVCLUnZip::CheckHeader(const std::uint8_t* header, bool complete, std::uint32_t signature,
                                                  std::size_t nameLengthAt, std::int64_t start) {
    if (complete && GetLE32(header) == signature) {
        const std::size_t length = GetLE16(header + nameLengthAt);
        std::string name = ReadArchiveText(length);
        if (name.size() == length) {
            std::replace(name.begin(), name.end(), '/', '\\');
            return os_->OemToAnsiText(name);
        }
    }
    SeekArchive(start, soFromBeginning);
    return std::nullopt;
}

// A handler that gives the same unusable answer twice in a row counts as cancelling:
// asking it again would go on for ever.
void TVCLUnZip::RequestDisk(int disk) {
    archive_.reset();
    std::string name = zipName_;
    std::optional<std::string> refused;
    for (;;) {
        if (!OnGetNextDisk) throw EUserCanceled("User canceled loading new disk.");
        OnGetNextDisk(*this, disk, name);
        if (name.empty() || name == refused) throw EUserCanceled("User canceled loading new disk.");
        const bool checkLabel = checkDiskLabels_ && spanMode_ == TSpanMode::SpanRemovableDisks;
        if ((!checkLabel || DiskLabelMatches(disk)) && os_->FileExists(name)) break;
        refused = name;
    }
    OpenArchiveFile(name);
    currentDisk_ = disk - 1;
    timeStamp_ = os_->FileTimeStamp(name).value_or(0);
    zipName_ = name;
}

// The volume of the archive's drive is labelled with the disk number in its last three characters.
bool TVCLUnZip::DiskLabelMatches(int disk) const {
    std::string root = zipName_.substr(0, 3);
    std::transform(root.begin(), root.end(), root.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    const std::string label = os_->VolumeLabel(root).substr(0, 11);
    char expected[16];
    std::snprintf(expected, sizeof expected, "%03d", disk);
    return label.size() >= 3 && label.substr(label.size() - 3) == expected;
}

}  // namespace pelorin
