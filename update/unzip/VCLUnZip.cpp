// TVCLUnZip: properties, the archive stream and its ownership, and the entry accessors.
// Reading the directory and extracting live in ReadDirectory.cpp and Extract.cpp.
#include "update/unzip/VCLUnZip.h"

#include "platform/SystemServices.h"
#include "update/strings/StringsErrors.h"
#include "update/strings/TextCase.h"
#include "update/strings/TextFormat.h"
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
        const std::size_t slash = name.find_last_of('\\');
        const std::string folder = slash == std::string::npos ? std::string() : name.substr(0, slash);
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
    if (!value.empty() && value.back() == '\\') value.pop_back();
    destDir_ = value;
}

void TVCLUnZip::SetRootDir(const std::string& dir) {
    rootDir_ = dir;
    if (!rootDir_.empty() && rootDir_.back() != '\\') rootDir_ += '\\';
}

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

// The comment is read from the entry's central header: past the 46 fixed bytes, the name
// and the extra field.
std::string TVCLUnZip::EntryComment(int index) {
    ViewEntry(index);
    const ArchiveSession session(*this);
    TZipHeaderInfo& entry = ViewEntry(index);
    if (entry.CommentLength == 0) return std::string();
    if (entry.CommentLoaded()) return entry.Comment();
    SeekArchive(entry.CentralHeaderOffset, soFromBeginning);
    std::uint8_t header[kCentralHeaderSize];
    if (ReadArchive(header, sizeof header) != sizeof header || ReadLE32(header) != kCentralHeaderSignature) {
        throw EFatalUnzipError("Premature end of file reached");
    }
    SeekArchive(ReadLE16(header + 28) + ReadLE16(header + 30), soFromCurrent);
    std::string comment(entry.CommentLength, '\0');
    comment.resize(ReadArchive(reinterpret_cast<std::uint8_t*>(&comment[0]), comment.size()));
    entry.SetComment(comment);
    return comment;
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
    std::string comment(ecrec_.CommentLength, '\0');
    comment.resize(ReadArchive(reinterpret_cast<std::uint8_t*>(&comment[0]), comment.size()));
    ecrec_.SetComment(comment);
    return comment;
}

void TVCLUnZip::SetArchiveComment(const std::string& comment) {
    if (ArchiveComment() == comment) return;
    ecrec_.SetComment(comment);
    ecrec_.CommentChanged = true;
}

std::size_t TVCLUnZip::ReadArchive(std::uint8_t* buffer, std::size_t count) {
    return archive_ ? archive_->Read(buffer, count) : 0;
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
