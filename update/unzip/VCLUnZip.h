// TVCLUnZip: the zip extraction component. It reads an archive's directory (from a file named
// by ZipName or from a stream handed over as ArchiveStream), selects entries with wildcard
// patterns and extracts them below DestDir with overwrite rules, passwords, checksums and progress.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/OsServices.h"
#include "update/strings/Stream.h"
#include "update/unzip/EndCentral.h"
#include "update/unzip/EntryReader.h"
#include "update/unzip/SortedZip.h"
#include "update/unzip/ZipHeader.h"
#include "update/unzip/ZipTypes.h"

namespace pelorin {

class EntryWriter;
class SystemServices;

class TVCLUnZip : private ArchiveSource {
public:
    static constexpr int kThisVersion = 214;

    // Uses the operating system's own services.
    TVCLUnZip();
    // Uses the given services (which must outlive the component), e.g. scripted message boxes.
    explicit TVCLUnZip(OsServices& services);
    ~TVCLUnZip() override;
    TVCLUnZip(const TVCLUnZip&) = delete;
    TVCLUnZip& operator=(const TVCLUnZip&) = delete;

    // Published properties.
    int ThisVersion() const { return kThisVersion; }
    void SetThisVersion(int /*ignored*/) {}
    const std::string& ZipName() const { return zipName_; }
    // A name ending in "?" lets the user choose the file.
    void SetZipName(const std::string& name);
    const std::string& DestDir() const { return destDir_; }
    // "?" lets the user choose the folder.
    void SetDestDir(const std::string& dir);
    const std::string& RootDir() const { return rootDir_; }
    void SetRootDir(const std::string& dir);
    TZipSortMode SortMode() const { return sortMode_; }
    void SetSortMode(TZipSortMode mode);
    bool RecreateDirs() const { return recreateDirs_; }
    void SetRecreateDirs(bool on) { recreateDirs_ = on; }
    TUZOverwriteMode OverwriteMode() const { return overwriteMode_; }
    void SetOverwriteMode(TUZOverwriteMode mode) { overwriteMode_ = mode; }
    std::vector<std::string>& FilesList() { return filesList_; }
    const std::vector<std::string>& FilesList() const { return filesList_; }
    void SetFilesList(const std::vector<std::string>& lines) { filesList_ = lines; }
    // Wildcard patterns of entries left out even when FilesList or DoAll picks them.
    std::vector<std::string>& ExcludeList() { return excludeList_; }
    bool DoAll() const { return doAll_; }
    void SetDoAll(bool on) { doAll_ = on; }
    TIncompleteZipMode IncompleteZipMode() const { return incompleteZipMode_; }
    void SetIncompleteZipMode(TIncompleteZipMode mode) { incompleteZipMode_ = mode; }
    bool KeepZipOpen() const { return keepZipOpen_; }
    void SetKeepZipOpen(bool on) { keepZipOpen_ = on; }
    bool DoProcessMessages() const { return doProcessMessages_; }
    void SetDoProcessMessages(bool on) { doProcessMessages_ = on; }
    bool RetainAttributes() const { return retainAttributes_; }
    void SetRetainAttributes(bool on) { retainAttributes_ = on; }
    // Off by default. On, an archive appended to a program is read where it stands even though
    // its offsets count from its own first byte, and the scan of a damaged archive takes nothing
    // in the program for an entry (ReadDirectory.cpp). The directory is read again after a change.
    bool ReadAppendedArchives() const { return readAppended_; }
    void SetReadAppendedArchives(bool on);

    // The archive as a stream: the component owns it from now on and keeps it open.
    TStream* ArchiveStream() const { return memoryMode_ ? archive_.get() : nullptr; }
    // A null stream does what ReleaseArchiveStream does, dropping the stream it gives back.
    void SetArchiveStream(std::unique_ptr<TStream> stream);
    // Gives the stream back without freeing it, closes the archive and leaves memory-stream mode.
    std::unique_ptr<TStream> ReleaseArchiveStream();

    const std::string& ZipPassword() const { return zipPassword_; }
    void SetZipPassword(const std::string& password) { zipPassword_ = password; }
    bool CheckDiskLabels() const { return checkDiskLabels_; }
    void SetCheckDiskLabels(bool on) { checkDiskLabels_ = on; }
    TSpanMode SpanMode() const { return spanMode_; }
    bool CancelRequested() const { return cancelRequested_; }
    void SetCancelRequested(bool on) { cancelRequested_ = on; }

    // The directory; indices are those of the view in SortMode order. Read it first.
    int EntryCount() const;
    std::string EntryName(int index) const;
    std::string EntryPath(int index) const;
    std::string EntryFullName(int index) const;
    const TZipHeaderInfo& Entry(int index) const;
    std::string EntryComment(int index);
    void SetEntryComment(int index, const std::string& comment);
    std::string ArchiveComment();
    void SetArchiveComment(const std::string& comment);

    int NumberOfDisks() const { return numberOfDisks_; }
    int CurrentDisk() const { return currentDisk_; }
    std::optional<std::int64_t> ArchiveTimeStamp() const { return timeStamp_; }
    bool DirectoryRebuilt() const { return rebuilt_; }
    // The bytes in front of the archive that its offsets do not count: the program it is appended
    // to. Found only with ReadAppendedArchives; entries keep the offsets the archive states.
    std::int64_t LeadingBytes() const { return leadingBytes_; }
    const TEndCentral& EndCentral() const { return ecrec_; }
    const TZipHeaderInfo& CurrentEntry() const { return currentEntry_; }

    // Makes sure the directory is loaded.
    void ReadDirectory();
    // Extracts the selected entries; the number selected minus those skipped or failed.
    int Extract();
    // Writes the data of the selected entries one after the other to out, in SortMode order,
    // without touching the file system: no folders, no overwrite checks, no time stamps. An
    // entry that fails its checksum is reported (OnBadCRC, or OnSkippingFile for a wrong
    // password) after its bytes went out. Returns the number selected minus those that failed.
    int ExtractToStream(TStream& out);
    // Decodes the selected entries and checks their CRC-32 as Extract does, writing nothing and
    // making no folder: the same selection, password checks, retries, refused names, events and
    // result, without overwrite questions. OnStartUnZip and OnEndUnZip name the entry itself.
    int Test();
    // Frees the stream (even an ArchiveStream), the directory and the end record.
    void CloseArchive();

    // While a form loads its components, ZipName is only stored.
    void BeginLoading() { loading_ = true; }
    void Loaded() { loading_ = false; }

    // Events; the first argument is the sender.
    std::function<void(TVCLUnZip& sender, int NumFiles, std::int64_t TotalBytes, bool& StopNow)> OnStartUnZipInfo;
    std::function<void(TVCLUnZip& sender, int Percent)> OnFilePercentDone;
    std::function<void(TVCLUnZip& sender, int Percent)> OnTotalPercentDone;
    std::function<void(TVCLUnZip& sender, int FileIndex, const std::string& FName, bool& Skip)> OnStartUnZip;
    std::function<void(TVCLUnZip& sender, int FileIndex, const std::string& FName)> OnEndUnZip;
    std::function<void(TVCLUnZip& sender, bool& OverWriteIt, int FileIndex, std::string& FName)> OnPromptForOverwrite;
    std::function<void(TVCLUnZip& sender, TSkipReason Reason, int FileIndex)> OnSkippingFile;
    std::function<void(TVCLUnZip& sender, int FileIndex, std::string& NewPassword)> OnBadPassword;
    std::function<void(TVCLUnZip& sender, std::uint32_t CalcCRC, std::uint32_t StoredCRC, int FileIndex)> OnBadCRC;
    std::function<void(TVCLUnZip& sender, TIncompleteZipMode& IncompleteMode)> OnInCompleteZip;
    std::function<void(TVCLUnZip& sender, int NextDisk, std::string& FName)> OnGetNextDisk;

private:
    // Opens the archive for one operation and closes it afterwards unless it is kept open.
    class ArchiveSession {
    public:
        explicit ArchiveSession(TVCLUnZip& zip) : zip_(zip) { zip_.OpenArchive(); }
        ~ArchiveSession() { zip_.CloseArchiveStream(); }
        ArchiveSession(const ArchiveSession&) = delete;
        ArchiveSession& operator=(const ArchiveSession&) = delete;

    private:
        TVCLUnZip& zip_;
    };
    struct WorkBuffers;

    // ArchiveSource
    std::size_t ReadArchive(std::uint8_t* buffer, std::size_t count) override;
    void SeekArchive(std::int64_t offset, int origin) override;
    bool NextDiskForData() override;
    void BeforeRefill() override;

    // Archive and directory (ReadDirectory.cpp).
    void OpenArchive();
    void CloseArchiveStream();
    void OpenArchiveFile(const std::string& name);
    void ReadDirectoryNow();
    void ReadDirectoryFromArchive();
    bool LocateEndRecord();
    bool CentralDirectoryFound();
    bool CentralSignatureAt(std::int64_t offset);
    std::int64_t ArchiveStartBeforeCentral() const;
    // archiveStart: where the end record places the archive's first byte, -1 when unknown.
    bool RebuildByScanning(std::int64_t archiveStart);
    std::int64_t ScanStart();
    bool FindLocalSignature();
    bool FindConfirmedLocalHeader(std::int64_t archiveStart);
    bool ChainContinuesAfter(std::int64_t at);
    void ReadCentralDirectory();
    bool ReadCentralHeader(TZipHeaderInfo& entry);
    bool ReadLocalHeader(TZipHeaderInfo& entry);
    std::optional<std::string> CheckHeader(const std::uint8_t* header, bool complete, std::uint32_t signature,
                                           std::size_t nameLengthAt, std::int64_t start);
    std::string ReadArchiveText(std::size_t length);
    void SkipArchive(std::size_t count);
    void RequestDisk(int disk);
    bool DiskLabelMatches(int disk) const;
    void CheckCancel();
    void FreeDirectory();
    void ApplySortMode();
    TSortedZip* View() const;
    TZipHeaderInfo& ViewEntry(int index) const;
    std::int64_t ArchivePosition();

    // Extraction (Extract.cpp).
    int SelectEntries(std::int64_t& totalBytes);
    // Selects, announces and hands each selected entry to extract; returns the count left.
    int ForEachSelected(const std::function<void(int index, int& count, WorkBuffers& buffers)>& extract);
    bool ExtractEntry(int index, int& count, WorkBuffers& buffers);
    // True when the entry is to be sent once more (a new password; only when mayRetry).
    bool StreamEntry(int index, int& count, TStream& out, WorkBuffers& buffers, bool mayRetry);
    void SeekEntryData(const TZipHeaderInfo& entry);
    std::function<void(std::size_t written, std::int64_t entryWritten)> ProgressNotice(std::int64_t entrySize);
    bool CheckPassword(int index, const TZipHeaderInfo& entry, EntryReader& reader);
    bool MayOverwrite(int index, const TZipHeaderInfo& entry, std::string& target);
    void Decode(const TZipHeaderInfo& entry, EntryReader& reader, EntryWriter& writer, WorkBuffers& buffers);
    bool FailedChecksum(int index, const TZipHeaderInfo& entry, std::uint32_t crc, bool mayRetry);
    void Skip(TSkipReason reason, int index, int& count);

    std::unique_ptr<SystemServices> ownServices_;
    OsServices* os_;

    std::string zipName_;
    std::string destDir_;
    std::string extractDir_;  // DestDir as a full path, during an extraction
    std::string rootDir_;
    TZipSortMode sortMode_ = TZipSortMode::ByNone;
    bool recreateDirs_ = false;
    TUZOverwriteMode overwriteMode_ = TUZOverwriteMode::Prompt;
    std::vector<std::string> filesList_;
    std::vector<std::string> excludeList_;
    bool doAll_ = false;
    TIncompleteZipMode incompleteZipMode_ = TIncompleteZipMode::izAssumeMulti;
    bool keepZipOpen_ = false;
    bool doProcessMessages_ = true;
    bool retainAttributes_ = true;

    std::string zipPassword_;
    bool checkDiskLabels_ = true;
    TSpanMode spanMode_ = TSpanMode::SpanNone;
    int numberOfDisks_ = 1;
    int currentDisk_ = 0;
    std::optional<std::int64_t> timeStamp_;  // set when the directory was read
    bool cancelRequested_ = false;
    bool loading_ = false;
    bool memoryMode_ = false;
    bool rebuilt_ = false;
    bool readAppended_ = false;
    std::int64_t leadingBytes_ = 0;  // added to every offset the archive states
    std::int64_t endRecordAt_ = 0;   // where the end record was found

    std::unique_ptr<TStream> archive_;
    std::unique_ptr<TSortedZip> directory_;  // ByNone, owns the entries
    std::unique_ptr<TSortedZip> sorted_;     // the view in SortMode order; none when that is ByNone
    TEndCentral ecrec_;
    TZipHeaderInfo currentEntry_;
    std::int64_t totalBytes_ = 0;    // of the running extraction
    std::int64_t totalWritten_ = 0;  // bytes written in the running extraction
};

}  // namespace pelorin
