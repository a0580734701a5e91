// InstallFile: one attempt per pass (the user's Retry starts a new pass); the data flows from
// PELORIN.DAT through InflateStream into a temporary file beside the destination.
#include "setup/install/InstallFile.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#include "core/Exception.h"
#include "core/FilePath.h"
#include "core/TextFormat.h"
#include "platform/win/Handles.h"
#include "platform/win/WriteResult.h"
#include "setup/CmnFunc.h"
#include "setup/CmnFunc2.h"
#include "setup/Globals.h"
#include "setup/ZStream.h"
#include "setup/install/FileRulesPending.h"
#include "setup/install/FileRulesRegister.h"
#include "setup/install/FileRulesRestart.h"
#include "setup/install/FileRulesShared.h"
#include "setup/install/FileRulesVersion.h"
#include "setup/install/UndoJournal.h"
#include "setup/install/UndoSharedCount.h"

namespace pelorin {

namespace {

const char* const kCorrupted = "The Setup Wizard source file is corrupted";
const char* const kSkipFileHint =
    "Click Retry to try again, Ignore to skip this file (not recommended), or Abort to cancel installation.";
const char* const kKeepQuestion =
    "Existing file is newer than the one Setup Wizard is trying to install. It is recommended that you keep the existing file.\r\n\r\nDo you want to keep the existing file?";
const char* const kReadOnlyQuestion =
    "The existing file is marked as read-only.\r\n\r\nClick Retry to remove the read-only setting and try again, Ignore to skip this file, or Abort to cancel installation.";

// A temporary file of the current attempt; deleted when the attempt leaves it behind.
class TempFile {
public:
    ~TempFile() { Delete(); }
    void Set(const std::string& name) { name_ = name; }
    const std::string& Name() const { return name_; }
    bool Exists() const { return !name_.empty(); }
    // The file now belongs to someone else (renamed, or queued for the restart).
    void Forget() { name_.clear(); }
    void Delete() {
        if (name_.empty()) return;
        ::DeleteFileA(name_.c_str());
        name_.clear();
    }

private:
    std::string name_;
};

[[noreturn]] void RaiseLastError() { throw Exception(SysErrorMessage(::GetLastError())); }

enum class Outcome { Installed, Skip, Dropped, Retry };

class FileAttempt {
public:
    FileAttempt(const FileEntry& entry, TInstallContext& context, TempFile& temp)
        : entry_(entry), context_(context), temp_(temp) {}

    Outcome Run();  // steps 1 to 18; raises on errors
    // The undo record of an installed file, registration and the shared counter; a skipped
    // file gets the last two only.
    void Finish(bool installed);

    const std::string& Dest() const { return dest_; }
    const std::string& ErrorContext() const { return errorContext_; }
    bool ProgressDone() const { return progressDone_; }

private:
    Outcome CheckExisting();
    void Decompress(const std::string& source);
    void Replace();

    int Ask(const std::string& text, const std::string& caption, MsgBoxKind kind, UINT buttons) {
        return context_.Prompt.MsgBox(text, caption, kind, buttons);
    }
    // The existing file stays; the run log says why.
    Outcome Kept(const char* reason) {
        SetupLog().Line("file " + dest_ + " kept: " + reason);
        return Outcome::Skip;
    }

    const FileEntry& entry_;
    TInstallContext& context_;
    TempFile& temp_;
    std::string dest_;
    bool existed_ = false;
    bool replacedAtRestart_ = false;
    bool queuedDeletion_ = false;  // the existing file was to be deleted at the next restart
    bool progressDone_ = false;
    std::string errorContext_;
    std::string kept_;  // the temporary file queued for the restart
};

Outcome FileAttempt::Run() {
    temp_.Delete();
    const std::string source = AddBackslash(context_.SourceDir) + FilesArchiveName;
    dest_ = (entry_.Flags & FileEntry::IsUndoLog) ? context_.LogPath : ExpandConstants(entry_.DestName);
    existed_ = FileExists(dest_);
    // A file that an earlier removal left to be deleted at the restart belongs to nobody: it is
    // replaced without the checks, counted as new, and its deletion is called off once installed.
    queuedDeletion_ = existed_ && IsDeletionQueued(dest_);
    context_.Progress.SetFilename(dest_);
    ForceDirectories(ExtractFilePath(dest_));

    if (existed_ && !queuedDeletion_) {
        const Outcome outcome = CheckExisting();
        if (outcome != Outcome::Installed) return outcome;
    }

    if (!FileExists(source)) {
        const std::string text = source + "\r\n\r\n" + "The source file does not exist." + "\r\n\r\n" + kSkipFileHint;
        return AskAbortRetryIgnore(context_.Prompt, text, "") ? Outcome::Retry : Outcome::Dropped;
    }

    if (!(entry_.Flags & FileEntry::NoUninstall)) {
        const bool counted = existed_ && !queuedDeletion_;
        context_.Ahead(ukFile, {dest_, ""},
                       (counted ? ufExisted : 0) | (entry_.Flags & FileEntry::RegisterServer ? ufRegistered : 0));
    }
    Decompress(source);
    if (existed_) Replace();
    if (!replacedAtRestart_) {
        errorContext_ = "An error occured while trying to rename a file in the destination directory.";
        if (!::MoveFileA(temp_.Name().c_str(), dest_.c_str())) RaiseLastError();
        temp_.Forget();
    }
    Finish(true);
    return Outcome::Installed;
}

Outcome FileAttempt::CheckExisting() {
    if (entry_.CopyMode == cmNeverReplace) return Kept("it is never replaced");
    errorContext_ = "An error occured while trying to read the existing file.";
    VS_FIXEDFILEINFO info{};
    if (entry_.CopyMode != cmAlwaysReplace && entry_.VersionMS != FileEntry::NoVersion && GetVersionInfo(dest_, info)) {
        const int order =
            CompareFileVersions(entry_.VersionMS, entry_.VersionLS, info.dwFileVersionMS, info.dwFileVersionLS);
        bool existingNewer = order < 0;
        FILETIME time{};
        if (order == 0 && GetLastWriteTime(dest_, time)) {
            const std::uint64_t existing = (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
            if (existing == entry_.FileTime) return Kept("the same version and time stamp");
            existingNewer = existing > entry_.FileTime;
        }
        if (existingNewer) {
            if (entry_.CopyMode == cmNoAskNewer) return Kept("the existing file is newer");
            if (Ask(kKeepQuestion, dest_, mbWarning, MB_YESNO) == IDYES) return Kept("the existing file is newer");
        }
    }
    if (entry_.Flags & FileEntry::ConfirmOverwrite) {
        const std::string text =
            FormatText("%s\r\nThe file already exists.\r\n\r\nWould you like Setup Wizard to overwrite it?", dest_);
        if (Ask(text, "", mbConfirm, MB_YESNO) != IDYES) return Kept("not to be overwritten");
    }
    const DWORD attributes = ::GetFileAttributesA(dest_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        if (!AskAbortRetryIgnore(context_.Prompt, kReadOnlyQuestion, dest_)) return Kept("read-only, ignored");
        errorContext_ = "An error occured while trying to change the attributes of the existing file.";
        ::SetFileAttributesA(dest_.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
        return Outcome::Retry;
    }
    return Outcome::Installed;
}

void FileAttempt::Decompress(const std::string& source) {
    errorContext_ = "An error occured while trying to create a file in the destination directory.";
    UniqueTempFile created = CreateUniqueTempFile(ExtractFilePath(FullPath(dest_)), [&](const std::string& name) {
        context_.Ahead(ukFile, {name, ""}, 0);
    });
    temp_.Set(created.Name);
    const FileHandle out = std::move(created.File);

    errorContext_ = "An error occured while trying to read the source file.";
    const FileHandle in(::CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!in) RaiseLastError();

    errorContext_ = "An error occured while trying to copy a file.";
    LARGE_INTEGER offset{};
    offset.QuadPart = entry_.DataOffset;
    char magic[FileDataMagicSize] = {};
    DWORD got = 0;
    if (entry_.DataOffset < 0 || !::SetFilePointerEx(in.get(), offset, nullptr, FILE_BEGIN) ||
        !::ReadFile(in.get(), magic, sizeof magic, &got, nullptr) || got != sizeof magic ||
        std::memcmp(magic, FileDataMagic, FileDataMagicSize) != 0)
        throw Exception(kCorrupted);

    IInstallProgress& progress = context_.Progress;
    const std::int64_t noted = progress.Position();
    progressDone_ = true;
    try {
        std::uint32_t left = entry_.CompressedSize;
        std::uint64_t written = 0;
        const InflateReader read = [&](std::uint8_t* buffer, std::size_t capacity) -> std::size_t {
            const DWORD want = static_cast<DWORD>(std::min<std::size_t>(capacity, left));
            DWORD count = 0;
            if (want == 0) return 0;
            if (!::ReadFile(in.get(), buffer, want, &count, nullptr)) RaiseLastError();
            left -= count;
            AdvanceProgress(progress, count);
            return count;
        };
        const InflateWriter write = [&](const std::uint8_t* buffer, std::size_t count) -> std::size_t {
            const DWORD error = WriteWholeBuffer(out.get(), buffer, static_cast<DWORD>(count));
            if (error != ERROR_SUCCESS) throw Exception(SysErrorMessage(error));
            if (written == 0 && context_.Journal) context_.Journal->NoteFileData();
            written += count;
            return count;
        };
        InflateResult result;
        try {
            result = InflateStream(read, write);
        } catch (const EZlibDataError&) {
            throw Exception(kCorrupted);
        }
        if (!result.Completed || written != entry_.UncompressedSize || result.Checksum != entry_.Adler32)
            throw Exception(kCorrupted);
    } catch (...) {
        progressDone_ = false;
        progress.SetPosition(noted);
        throw;
    }

    FILETIME time{static_cast<DWORD>(entry_.FileTime), static_cast<DWORD>(entry_.FileTime >> 32)};
    ::SetFileTime(out.get(), &time, nullptr, &time);
}

void FileAttempt::Replace() {
    errorContext_ = "An error occured while trying to delete the existing file.";
    if (::DeleteFileA(dest_.c_str())) return;
    const DWORD error = ::GetLastError();
    const bool inUse = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
    if (!(entry_.Flags & FileEntry::RestartReplace) || !inUse) throw Exception(SysErrorMessage(error));
    errorContext_ = "RestartReplace failed.";
    RestartReplace(temp_.Name(), dest_);
    replacedAtRestart_ = true;
    kept_ = temp_.Name();
    temp_.Forget();  // it replaces the destination at the next start
}

void FileAttempt::Finish(bool installed) {
    errorContext_.clear();
    const std::string& kept = kept_;
    const std::uint8_t flags = entry_.Flags;
    if (installed && queuedDeletion_) CancelQueuedDeletion(dest_);
    const bool existed = existed_ && !queuedDeletion_;
    if (installed && !(flags & (FileEntry::IsUndoLog | FileEntry::NoUninstall | FileEntry::SharedFile))) {
        const std::uint32_t value = (existed ? ufExisted : 0) | (flags & FileEntry::RegisterServer ? ufRegistered : 0);
        context_.Changes.AddChange(ukFile, {dest_, kept}, value);
    }
    if ((flags & FileEntry::RegisterServer) && !replacedAtRestart_) RegisterServer(dest_, context_.Prompt);
    if ((flags & FileEntry::SharedFile) && GetWindowsVersion().Major >= 4) {
        const std::uint32_t value = ufSharedCount | (flags & FileEntry::RegisterServer ? ufRegistered : 0);
        const std::optional<long long> before = CurrentSharedCount(dest_);
        context_.Ahead(ujSharedCount, {dest_, kept, before ? std::to_string(*before) : std::string()}, value);
        IncrementSharedCount(dest_, existed);
        context_.Changes.AddChange(ukFile, {dest_, kept}, value);
    }
}

}  // namespace

void InstallFile(const FileEntry& entry, TInstallContext& context) {
    // Without an undo log there is no destination for the log's own entry.
    if ((entry.Flags & FileEntry::IsUndoLog) && context.LogPath.empty()) {
        AdvanceProgress(context.Progress, entry.CompressedSize);
        return;
    }
    const std::int64_t start = context.Progress.Position();
    for (;;) {
        TempFile temp;
        FileAttempt attempt(entry, context, temp);
        std::string pending;
        bool failed = false;
        try {
            switch (attempt.Run()) {
            case Outcome::Retry: context.Progress.SetPosition(start); continue;
            case Outcome::Skip: attempt.Finish(false); break;
            case Outcome::Installed:
            case Outcome::Dropped: break;
            }
        } catch (const EAbort&) {
            throw;
        } catch (const Exception& e) {
            pending = e.what();
            failed = true;
        }
        temp.Delete();
        if (failed) {
            const std::string& errorContext = attempt.ErrorContext();
            const std::string text =
                errorContext + (errorContext.empty() ? "" : "\r\n\r\n") + pending + "\r\n\n\n" + kSkipFileHint;
            if (AskAbortRetryIgnore(context.Prompt, text, attempt.Dest())) {
                context.Progress.SetPosition(start);
                continue;
            }
        }
        if (!attempt.ProgressDone()) AdvanceProgress(context.Progress, entry.CompressedSize);
        return;
    }
}

}  // namespace pelorin
