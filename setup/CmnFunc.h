// System services of the setup program: folders, temporary names, the environment,
// the registry readers, the platform tests and the shell folders.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "platform/win/Handles.h"

namespace pelorin {

// --- Folders and files -------------------------------------------------------

// A drive root ("C:\") is tested as it is, anything else after RemoveBackslash; the
// critical-error boxes of the platform are off while testing.
bool DirExists(const std::string& path);

// The attribute test of DirExists on the unchanged path, error mode untouched.
bool DirExistsPlain(const std::string& path);

// True when anything (file or folder) of that name exists.
bool PathExists(const std::string& path);

// Creates the folder and every missing parent, from the top down. Failures are not
// reported: the caller finds out when it uses the folder.
void ForceDirectories(const std::string& path);

// True when a file (not a folder) of that name exists.
bool FileExists(const std::string& path);

// The full form of a path (relative to the current folder); the path itself on failure.
std::string FullPath(const std::string& path);

// The platform's short (8.3) form of an existing path; the path itself on failure.
std::string GetShortName(const std::string& path);

// Writes to the INI file, or to WIN.INI when file is empty. True on success.
bool SetIniString(const std::string& section, const std::string& key, const std::string& value,
                  const std::string& file);

// --- Temporary names ---------------------------------------------------------

// Seeds the generator behind MakeUniqueTempName from the clock; start-up calls it once.
void SeedRandom();

// A full path "zpXXXXXX.tmp" in folder that does not exist yet; the file is not
// created. Raises Exception when every one of the 2^24 names is taken.
std::string MakeUniqueTempName(const std::string& folder);

// The same search from a given start value with a given test for taken names: the
// start value itself is tried last of all, i.e. never.
std::string MakeUniqueTempName(const std::string& folder, std::uint32_t start,
                               const std::function<bool(const std::string&)>& taken);

// MakeUniqueTempName and the creation of that file, empty and for writing, in one step: a
// candidate counts as taken when it cannot be created because something of its name exists, so
// each candidate is looked up once. Raises as MakeUniqueTempName does, and with the system's
// message when a candidate cannot be created for any other reason.
struct UniqueTempFile {
    std::string Name;
    FileHandle File;
};
UniqueTempFile CreateUniqueTempFile(const std::string& folder,
                                    const std::function<void(const std::string&)>& announce = nullptr);
// The same from a given start value (tried last of all, as above). When given, announce is told
// each free candidate just before it is created, so that a journal can name it in time.
UniqueTempFile CreateUniqueTempFile(const std::string& folder, std::uint32_t start,
                                    const std::function<void(const std::string&)>& announce = nullptr);

// Lets the platform create a new empty temporary file in folder with the prefix;
// its full name, or empty when the platform refuses.
std::string GetTempFileNameIn(const std::string& folder, const std::string& prefix);

// --- Environment and platform folders ---------------------------------------

std::string GetWinDir();
std::string GetSystemDir();

// "TMP", else "TEMP" (each only when it names an existing folder), else the Windows
// folder; as a full path with a trailing backslash.
std::string GetTempDir();

// The variable's value; empty when unset.
std::string GetEnv(const std::string& name);

// Full path of the running program.
std::string GetOwnPath();

// The system's text for an error code, without its line end; "Error %d" when it has none.
std::string SysErrorMessage(unsigned long code);

// --- Registry -----------------------------------------------------------------

// Found only for a value of type REG_SZ or REG_EXPAND_SZ (not expanded).
bool RegQueryStringValue(HKEY key, const std::string& name, std::string& value);

bool RegValueExists(HKEY key, const std::string& name);

// Deletes subkey of root with everything below it. An empty subkey (which would name
// root itself) is refused.
bool RegDeleteKeyIncludingSubkeys(HKEY root, const std::string& subkey);

// The predefined root key a stored 32-bit value names (0x80000000 HKEY_CLASSES_ROOT to
// 0x80000006 HKEY_DYN_DATA); null for anything else, which damaged data could otherwise
// turn into a handle of this process.
HKEY RootKeyHandle(std::uint32_t value);
// The stored 32-bit value of a predefined root key.
std::uint32_t RootKeyValue(HKEY root);

// "ProgramFilesDir" of "Software\Microsoft\Windows\CurrentVersion" (local machine);
// empty when missing.
std::string GetProgramFilesDir(bool addBackslash);

// The Start Menu's "Programs" folder (common one first when asked); empty on the
// program-manager generation (major version 3 or lower).
std::string GetProgramsFolder(bool common, bool addBackslash);
// The same for a given Windows major version.
std::string GetProgramsFolder(bool common, bool addBackslash, int windowsMajor);

// --- Platform -------------------------------------------------------------------

struct WindowsVersion {
    int Major = 0;
    int Minor = 0;
    DWORD Platform = 0;  // VER_PLATFORM_WIN32s, _WIN32_WINDOWS or _WIN32_NT
};

// Major and minor from the version query, the platform from the extended query.
WindowsVersion GetWindowsVersion();

bool IsNT();
bool IsWin32s();

// True on the non-NT family; on NT when the service control manager opens for
// generic read, write and execute.
bool IsAdmin();

}  // namespace pelorin
