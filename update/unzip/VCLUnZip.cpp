// TVCLUnZip: properties, the archive stream and its ownership, and the entry accessors.
// Reading the directory and extracting live in ReadDirectory.cpp and Extract.cpp.
#include "update/unzip/VCLUnZip.h"

#include "core/FilePath.h"
#include "core/LittleEndian.h"
#include "core/TextCase.h"
#include "core/TextFormat.h"
#include "platform/SystemServices.h"
#include "update/strings/StringsErrors.h"
#include "update/unzip/UnzipErrors.h"
#include "update/unzip/ZipRecords.h"

namespace pelorin {

TVCLUnZip::TVCLUnZip() : ownServices_(std::make_unique<SystemServices>()), os_(ownServices_.get()) {}

TVCLUnZip::TVCLUnZip(OsServices& services) : os_(&services) {}

TVCLUnZip::~TVCLUnZip() { CloseArchive(); }

void TVCLUnZip::SetZipName(const std::string& name) {
    if (loading_) {
        zipName_ = name;
        return;
    }
    if (SameText(name, zipName_)) return;
    std::string chosen = name;
    if (!name.empty() && name.back() == '?') {
        const std::string folder = RemoveBackslash(ExtractFilePath(name));
        const std::string start = !folder.empty() && os_->DirectoryExists(folder) ? folder : "C:\\";
        const std::optional<std::string> picked = os_->OpenFileDialog(
            "Open a Zip File",
            "Zip Files (*.ZIP)|*.zip|SFX Files (*.EXE)|*.exe|Jar Files (*.JAR)|*.jar|All Files (*.*)|*.*", start);
        if (!picked) throw EUserCanceled("User canceled setting zip file name.");
        chosen = *picked;
    }
    zipName_ = chosen;
    FreeDirectory();
    ecrec_.Clear();
    archive_.reset();
    memoryMode_ = false;
    rebuilt_ = false;
    leadingBytes_ = 0;
    timeStamp_.reset();
}

void TVCLUnZip::SetReadAppendedArchives(bool on) {
    if (on == readAppended_) return;
    readAppended_ = on;
    FreeDirectory();
    timeStamp_.reset();
}

void TVCLUnZip::SetDestDir(const std::string& dir) {
    std::string value = dir;
    if (dir == "?") {
        const std::string start = os_->DirectoryExists(destDir_) ? destDir_ : os_->GetCurrentDir();
        const std::optional<std::string> picked = os_->BrowseForFolder(start);
        if (!picked) throw EUserCanceled("User canceled Set Desination Directory");
        value = *picked;
    }
    destDir_ = RemoveBackslash(value);
}

void TVCLUnZip::SetRootDir(const std::string& dir) { rootDir_ = AddBackslash(dir); }

void TVCLUnZip::SetSortMode(TZipSortMode mode) {
    sortMode_ = mode;
    if (directory_) ApplySortMode();
}

void TVCLUnZip::SetArchiveStream(std::unique_ptr<TStream> stream) {
    if (!stream) {
        ReleaseArchiveStream();
        return;
    }
    CloseArchive();
    archive_ = std::move(stream);
    keepZipOpen_ = true;
    memoryMode_ = true;
}

std::unique_ptr<TStream> TVCLUnZip::ReleaseArchiveStream() {
    std::unique_ptr<TStream> stream = memoryMode_ ? std::move(archive_) : nullptr;
    CloseArchive();
    memoryMode_ = false;
    return stream;
}

void TVCLUnZip::CloseArchive() {
    archive_.reset();
    FreeDirectory();
    ecrec_.Clear();
    rebuilt_ = false;
    leadingBytes_ = 0;
    timeStamp_.reset();
    numberOfDisks_ = 1;
    currentDisk_ = 0;
    spanMode_ = TSpanMode::SpanNone;
    if (!memoryMode_) zipName_.clear();
}

void TVCLUnZip::ReadDirectory() {
    cancelRequested_ = false;
    const ArchiveSession session(*this);
}

int TVCLUnZip::EntryCount() const { return directory_ ? directory_->Count() : 0; }

TZipHeaderInfo& TVCLUnZip::ViewEntry(int index) const {
    if (index < 0 || index >= EntryCount()) throw EListError(FormatText("Index %d is out of range", index));
    return *View()->Entry(index);
}

const TZipHeaderInfo& TVCLUnZip::Entry(int index) const { return ViewEntry(index); }

std::string TVCLUnZip::EntryName(int index) const { return ViewEntry(index).FileName(); }

std::string TVCLUnZip::EntryPath(int index) const { return ViewEntry(index).Path(); }

std::string TVCLUnZip::EntryFullName(int index) const { return ViewEntry(index).FullName(); }

// The comment is read from the entry's central header: past the fixed bytes, the name
// and the extra field.
std::string TVCLUnZip::EntryComment(int index) {
    ViewEntry(index);
    const ArchiveSession session(*this);
    TZipHeaderInfo& entry = ViewEntry(index);
    if (entry.CommentLength == 0) return std::string();
    if (entry.CommentLoaded()) return entry.Comment();
    SeekArchive(entry.CentralHeaderOffset + leadingBytes_, soFromBeginning);
    std::uint8_t header[CentralHeader::kSize];
    if (ReadArchive(header, sizeof header) != sizeof header || GetLE32(header) != kCentralHeaderSignature) {
        throw EFatalUnzipError("Premature end of file reached");
    }
    SeekArchive(GetLE16(header + CentralHeader::kNameLength) + GetLE16(header + CentralHeader::kExtraLength),
                soFromCurrent);
    entry.SetComment(ReadArchiveText(entry.CommentLength));
    return entry.Comment();
}

void TVCLUnZip::SetEntryComment(int index, const std::string& comment) {
    if (EntryComment(index) == comment) return;
    ViewEntry(index).SetComment(comment);
    ecrec_.CommentChanged = true;
}

std::string TVCLUnZip::ArchiveComment() {
    if (ecrec_.CommentLength == 0) return std::string();
    if (ecrec_.CommentLoaded()) return ecrec_.Comment();
    const ArchiveSession session(*this);
    if (ecrec_.CommentOffset < 0) throw EFatalUnzipError("Premature end of file reached");
    SeekArchive(ecrec_.CommentOffset, soFromBeginning);
    ecrec_.SetComment(ReadArchiveText(ecrec_.CommentLength));
    return ecrec_.Comment();
}

void TVCLUnZip::SetArchiveComment(const std::string& comment) {
    if (ArchiveComment() == comment) return;
    ecrec_.SetComment(comment);
    ecrec_.CommentChanged = true;
}

std::size_t TVCLUnZip::ReadArchive(std::uint8_t* buffer, std::size_t count) {
    return archive_ ? archive_->Read(buffer, count) : 0;
}

// Up to length bytes of text stored in the archive: fewer when the archive ends first.
std::string TVCLUnZip::ReadArchiveText(std::size_t length) {
    std::string text(length, '\0');
    if (length > 0) text.resize(ReadArchive(reinterpret_cast<std::uint8_t*>(&text[0]), length));
    return text;
}

// Skips forward by reading: a seek would drop the archive stream's read-ahead, which
// usually holds the entry's data already.
void TVCLUnZip::SkipArchive(std::size_t count) {
    std::uint8_t skipped[256];
    while (count > 0) {
        const std::size_t got = ReadArchive(skipped, count < sizeof skipped ? count : sizeof skipped);
        if (got == 0) return;
        count -= got;
    }
}

void TVCLUnZip::SeekArchive(std::int64_t offset, int origin) {
    if (archive_) archive_->Seek(offset, origin);
}

std::int64_t TVCLUnZip::ArchivePosition() { return archive_ ? archive_->Position() : 0; }

// A disk change is possible only on a spanned archive with a handler, and only up to its last disk.
bool TVCLUnZip::NextDiskForData() {
    if (spanMode_ == TSpanMode::SpanNone || !OnGetNextDisk || currentDisk_ + 1 >= numberOfDisks_) return false;
    RequestDisk(currentDisk_ + 2);
    if (!archive_) throw EUserCanceled("User Aborted Operation");
    return true;
}

void TVCLUnZip::BeforeRefill() { CheckCancel(); }

void TVCLUnZip::CheckCancel() {
    if (!doProcessMessages_) return;
    os_->ProcessMessages();
    if (!cancelRequested_) return;
    cancelRequested_ = false;
    throw EUserCanceled("User Aborted Operation");
}

}  // namespace pelorin
