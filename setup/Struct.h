// Records of the setup description: the header, the seven entry kinds and SetupData.
// Each record decodes from and encodes to its exact byte layout in the description.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/Exception.h"
#include "core/LittleEndian.h"

namespace pelorin {

// The description file starts with these 8 ASCII bytes (no length, no terminator).
constexpr char SetupMagic[] = "zpw102bs";
constexpr std::size_t SetupMagicSize = 8;

// A record whose bytes cannot be right, e.g. a length byte above its field's capacity.
class ECorruptRecord : public Exception {
public:
    using Exception::Exception;
};

// A value that does not fit its field when encoding (a text above capacity, a zero
// byte inside a zero-terminated text). Texts are never cut silently.
class ERecordEncodeError : public Exception {
public:
    using Exception::Exception;
};

struct SetupHeader {
    static constexpr std::size_t Size = 329;
    using Bytes = std::array<std::uint8_t, Size>;

    // Flags bits.
    static constexpr std::uint8_t CreateUninstall = 0x01;
    static constexpr std::uint8_t AlwaysRestart = 0x04;
    static constexpr std::uint8_t SolidBackground = 0x08;

    static constexpr std::size_t AppNameCapacity = 63;
    static constexpr std::size_t AppVerNameCapacity = 127;
    static constexpr std::size_t DefaultDirNameCapacity = 47;
    static constexpr std::size_t DefaultGroupNameCapacity = 47;

    std::string AppName;
    std::string AppVerName;
    std::string DefaultDirName;
    std::string DefaultGroupName;
    std::int32_t DirCount = 0;
    std::int32_t FileCount = 0;
    std::int32_t IconCount = 0;
    std::int32_t IniCount = 0;
    std::int32_t RegistryCount = 0;
    std::int32_t UninstallDeleteCount = 0;
    std::int32_t RunCount = 0;
    std::int32_t LicenseSize = 0;
    std::uint8_t MinWinMajor = 0;
    std::uint8_t MinWinMinor = 0;
    std::uint8_t MinNTMajor = 0;
    std::uint8_t MinNTMinor = 0;
    std::uint32_t BackColor = 0;
    std::uint8_t Flags = 0;

    static SetupHeader Decode(const Bytes& bytes);
    Bytes Encode() const;
    bool operator==(const SetupHeader& other) const;
};

struct DirEntry {
    static constexpr std::size_t Size = 48;
    using Bytes = std::array<std::uint8_t, Size>;
    static constexpr std::size_t DirNameCapacity = 47;

    std::string DirName;

    static DirEntry Decode(const Bytes& bytes);
    Bytes Encode() const;
    bool operator==(const DirEntry& other) const;
};

// How an existing destination file is treated (CopyMode byte of FileEntry).
enum CopyMode : std::uint8_t {
    cmNormal = 0,         // compare versions, then time stamps; ask about a newer one
    cmNeverReplace = 1,   // never replace an existing file
    cmAlwaysReplace = 2,  // replace without comparing
    cmNoAskNewer = 3,     // like cmNormal, but keep a newer file without asking
};

struct FileEntry {
    static constexpr std::size_t Size = 98;
    using Bytes = std::array<std::uint8_t, Size>;
    static constexpr std::size_t DestNameCapacity = 63;

    // Flags bits.
    static constexpr std::uint8_t ConfirmOverwrite = 0x01;
    static constexpr std::uint8_t NoUninstall = 0x02;
    static constexpr std::uint8_t RestartReplace = 0x04;
    static constexpr std::uint8_t RegisterServer = 0x08;
    static constexpr std::uint8_t SharedFile = 0x10;
    static constexpr std::uint8_t NoEffect = 0x20;
    static constexpr std::uint8_t IsUndoLog = 0x40;

    // VersionMS of a file without version information.
    static constexpr std::uint32_t NoVersion = 0xFFFFFFFFu;

    std::int32_t DataOffset = 0;
    std::string DestName;
    std::uint64_t FileTime = 0;  // low word at offset 68, high word at 72
    std::uint32_t VersionMS = NoVersion;
    std::uint32_t VersionLS = 0;
    std::uint32_t UncompressedSize = 0;
    std::uint32_t CompressedSize = 0;
    std::uint32_t Adler32 = 1;
    std::uint8_t CopyMode = cmNormal;
    std::uint8_t Flags = 0;

    static FileEntry Decode(const Bytes& bytes);
    Bytes Encode() const;
    bool operator==(const FileEntry& other) const;
};

struct IconEntry {
    static constexpr std::size_t Size = 356;
    using Bytes = std::array<std::uint8_t, Size>;
    static constexpr std::size_t IconNameCapacity = 47;
    static constexpr std::size_t FilenameCapacity = 63;
    static constexpr std::size_t ParametersCapacity = 127;
    static constexpr std::size_t WorkingDirCapacity = 47;
    static constexpr std::size_t IconFilenameCapacity = 63;

    std::string IconName;
    std::string Filename;
    std::string Parameters;
    std::string WorkingDir;
    std::string IconFilename;
    std::int32_t IconIndex = 0;

    static IconEntry Decode(const Bytes& bytes);
    Bytes Encode() const;
    bool operator==(const IconEntry& other) const;
};

struct IniEntry {
    static constexpr std::size_t Size = 289;
    using Bytes = std::array<std::uint8_t, Size>;
    static constexpr std::size_t IniFileCapacity = 63;
    static constexpr std::size_t SectionCapacity = 47;
    static constexpr std::size_t KeyCapacity = 47;
    static constexpr std::size_t ValueCapacity = 127;

    // Flags bits.
    static constexpr std::uint8_t UninsDeleteEntry = 0x01;
    static constexpr std::uint8_t UninsDeleteSection = 0x02;

    std::string IniFile;
    std::string Section;
    std::string Key;
    std::string Value;
    std::uint8_t Flags = 0;

    static IniEntry Decode(const Bytes& bytes);
    Bytes Encode() const;
    bool operator==(const IniEntry& other) const;
};

struct RegistryEntry {
    static constexpr std::size_t Size = 310;
    using Bytes = std::array<std::uint8_t, Size>;
    // Zero-terminated fields: a text may fill its field completely (no terminator then).
    static constexpr std::size_t SubKeySize = 128;
    static constexpr std::size_t ValueNameSize = 48;
    static constexpr std::size_t ValueDataSize = 128;

    // ValueType values.
    static constexpr std::uint8_t vtNone = 0;
    static constexpr std::uint8_t vtString = 1;
    static constexpr std::uint8_t vtDWord = 2;

    // Flags bits.
    static constexpr std::uint8_t UninsDeleteValue = 0x01;
    static constexpr std::uint8_t UninsDeleteKey = 0x02;

    std::uint32_t RootKey = 0;
    std::string SubKey;
    std::string ValueName;
    std::string ValueData;
    std::uint8_t ValueType = vtNone;
    std::uint8_t Flags = 0;

    static RegistryEntry Decode(const Bytes& bytes);
    Bytes Encode() const;
    bool operator==(const RegistryEntry& other) const;
};

struct UninstallDeleteEntry {
    static constexpr std::size_t Size = 64;
    using Bytes = std::array<std::uint8_t, Size>;
    static constexpr std::size_t FileNameCapacity = 63;

    std::string FileName;

    static UninstallDeleteEntry Decode(const Bytes& bytes);
    Bytes Encode() const;
    bool operator==(const UninstallDeleteEntry& other) const;
};

struct RunEntry {
    static constexpr std::size_t Size = 193;
    using Bytes = std::array<std::uint8_t, Size>;
    static constexpr std::size_t FilenameCapacity = 63;
    static constexpr std::size_t ParametersCapacity = 127;

    // Flags bits.
    static constexpr std::uint8_t NoWait = 0x01;

    std::string Filename;
    std::string Parameters;
    std::uint8_t Flags = 0;

    static RunEntry Decode(const Bytes& bytes);
    Bytes Encode() const;
    bool operator==(const RunEntry& other) const;
};

// The setup description in memory, filled once at start-up.
struct SetupData {
    SetupHeader Header;
    // The license text (LicenseSize bytes; c_str() supplies the added zero byte);
    // no value when LicenseSize is 0.
    std::optional<std::string> License;
    std::vector<DirEntry> DirEntries;
    std::vector<FileEntry> FileEntries;
    std::vector<IconEntry> IconEntries;
    std::vector<IniEntry> IniEntries;
    std::vector<RegistryEntry> RegistryEntries;
    std::vector<UninstallDeleteEntry> UninstallDeleteEntries;
    std::vector<RunEntry> RunEntries;

    // Derived at load.
    std::int32_t TotalSize = 0;  // sum of UncompressedSize, wrapping in 32 bits
    bool IconsStep = false;      // CreateUninstall set or IconEntries not empty
    // Starts as the AlwaysRestart flag; installation sets it when a file is
    // queued for replacement at the next restart.
    bool RestartRequired = false;
};

// Calls f(count, list) for the seven record lists in file order, with the header
// field that counts each list. Header and Data may be const.
template <class Header, class Data, class F>
void ForEachRecordList(Header& header, Data& data, F&& f) {
    f(header.DirCount, data.DirEntries);
    f(header.FileCount, data.FileEntries);
    f(header.IconCount, data.IconEntries);
    f(header.IniCount, data.IniEntries);
    f(header.RegistryCount, data.RegistryEntries);
    f(header.UninstallDeleteCount, data.UninstallDeleteEntries);
    f(header.RunCount, data.RunEntries);
}

// Sum of every FileEntry's UncompressedSize in a 32-bit value, wrapping on overflow.
std::int32_t ComputeTotalSize(const std::vector<FileEntry>& files);

}  // namespace pelorin
