// Extracts the description bytes, hands a private copy to the loader (which deletes
// the file it reads), and writes one "[Kind n]" block per record.
#include "tools/pelorin-build/DescriptionDump.h"

#include <filesystem>
#include <fstream>
#include <iomanip>
#include <ostream>
#include <random>
#include <sstream>

#include "setup/LoadSetup.h"
#include "tools/pelorin-build/BuildError.h"
#include "tools/pelorin-build/PeImage.h"

namespace pelorin {

namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kRcData = 10;
constexpr std::uint32_t kDescriptionId = 102;

// A file of our own in the temporary folder; removed again if the loader left it.
class ScratchFile {
public:
    explicit ScratchFile(const std::vector<std::uint8_t>& bytes) {
        std::random_device random;
        std::error_code error;
        const fs::path dir = fs::temp_directory_path(error);
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            std::ostringstream name;
            name << "pelorin-dump-" << std::hex << random() << random() << ".tmp";
            const fs::path candidate = dir / name.str();
            if (!fs::exists(candidate, error)) path_ = candidate.string();
        }
        std::ofstream out(path_, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (path_.empty() || !out) throw BuildError(dir.string(), 0, "", "cannot write a temporary file");
    }
    ~ScratchFile() {
        std::error_code error;
        fs::remove(path_, error);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

std::string quotedText(const std::string& text) {
    std::ostringstream out;
    out << '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"') {
            out << '\\' << c;
        } else if (byte < 0x20 || byte == 0x7F) {
            out << "\\x" << std::hex << std::setw(2) << std::setfill('0') << static_cast<int>(byte) << std::dec;
        } else {
            out << c;
        }
    }
    out << '"';
    return out.str();
}

std::string hex(std::uint64_t value, int width) {
    std::ostringstream out;
    out << "0x" << std::uppercase << std::hex << std::setw(width) << std::setfill('0') << value;
    return out.str();
}

std::string version(std::uint32_t ms, std::uint32_t ls) {
    if (ms == FileEntry::NoVersion) return "none";
    return std::to_string(ms >> 16) + "." + std::to_string(ms & 0xFFFF) + "." + std::to_string(ls >> 16) + "." +
           std::to_string(ls & 0xFFFF);
}

// Calendar date of a file time, UTC, to the second.
std::string fileTimeText(std::uint64_t fileTime) {
    const std::int64_t seconds = static_cast<std::int64_t>(fileTime / 10000000) - 11644473600ll;
    const std::int64_t days = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
    const std::int64_t rest = seconds - days * 86400;
    // Days since 1970-01-01 to a civil date (proleptic Gregorian calendar).
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t day = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    std::ostringstream out;
    out << std::setfill('0') << std::setw(4) << year << '-' << std::setw(2) << month << '-' << std::setw(2) << day
        << ' ' << std::setw(2) << rest / 3600 << ':' << std::setw(2) << rest / 60 % 60 << ':' << std::setw(2)
        << rest % 60 << " UTC";
    return out.str();
}

std::string flagNames(std::uint8_t flags, const std::vector<std::pair<std::uint8_t, const char*>>& names) {
    std::string text = hex(flags, 2);
    std::string list;
    for (const auto& [bit, name] : names) {
        if ((flags & bit) != 0) list += (list.empty() ? "" : " ") + std::string(name);
    }
    return list.empty() ? text : text + " (" + list + ")";
}

class Printer {
public:
    explicit Printer(std::ostream& out) : out_(out) {}
    void block(const std::string& name, std::size_t index) {
        out_ << "\n[" << name;
        if (index > 0) out_ << ' ' << index;
        out_ << "]\n";
    }
    void field(const char* name, const std::string& value) {
        out_ << "  " << std::left << std::setw(20) << name << " = " << value << '\n';
    }
    void text(const char* name, const std::string& value) { field(name, quotedText(value)); }
    void number(const char* name, std::int64_t value) { field(name, std::to_string(value)); }
    // Line by line behind "| ", each line's control characters escaped.
    void licenseText(const std::string& text) {
        std::size_t start = 0;
        while (start < text.size()) {
            auto end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const std::string shown = quotedText(line);
            out_ << "  | " << shown.substr(1, shown.size() - 2) << '\n';
            start = end + 1;
        }
    }

private:
    std::ostream& out_;
};

void dumpHeader(const SetupData& data, Printer& p) {
    const SetupHeader& h = data.Header;
    p.block("SetupHeader", 0);
    p.text("AppName", h.AppName);
    p.text("AppVerName", h.AppVerName);
    p.text("DefaultDirName", h.DefaultDirName);
    p.text("DefaultGroupName", h.DefaultGroupName);
    p.number("DirCount", h.DirCount);
    p.number("FileCount", h.FileCount);
    p.number("IconCount", h.IconCount);
    p.number("IniCount", h.IniCount);
    p.number("RegistryCount", h.RegistryCount);
    p.number("UninstallDeleteCount", h.UninstallDeleteCount);
    p.number("RunCount", h.RunCount);
    p.number("LicenseSize", h.LicenseSize);
    p.number("MinWinMajor", h.MinWinMajor);
    p.number("MinWinMinor", h.MinWinMinor);
    p.number("MinNTMajor", h.MinNTMajor);
    p.number("MinNTMinor", h.MinNTMinor);
    p.field("BackColor", hex(h.BackColor, 8));
    p.field("Flags", flagNames(h.Flags, {{SetupHeader::CreateUninstall, "CreateUninstall"},
                                         {SetupHeader::AlwaysRestart, "AlwaysRestart"},
                                         {SetupHeader::SolidBackground, "SolidBackground"}}));
    p.number("TotalSize", data.TotalSize);
    if (data.License) {
        p.block("License", 0);
        p.licenseText(*data.License);
    }
}

const char* rootName(std::uint32_t root) {
    switch (root) {
    case 0x80000000u: return " (HKEY_CLASSES_ROOT)";
    case 0x80000001u: return " (HKEY_CURRENT_USER)";
    case 0x80000002u: return " (HKEY_LOCAL_MACHINE)";
    case 0x80000003u: return " (HKEY_USERS)";
    default: return "";
    }
}

void dumpRecords(const SetupData& data, Printer& p) {
    std::size_t n = 0;
    for (const DirEntry& e : data.DirEntries) {
        p.block("DirEntry", ++n);
        p.text("DirName", e.DirName);
    }
    n = 0;
    for (const FileEntry& e : data.FileEntries) {
        p.block("FileEntry", ++n);
        p.number("DataOffset", e.DataOffset);
        p.text("DestName", e.DestName);
        p.field("FileTime", hex(e.FileTime, 16) + " (" + fileTimeText(e.FileTime) + ")");
        p.field("VersionMS", hex(e.VersionMS, 8));
        p.field("VersionLS", hex(e.VersionLS, 8) + " (version " + version(e.VersionMS, e.VersionLS) + ")");
        p.number("UncompressedSize", e.UncompressedSize);
        p.number("CompressedSize", e.CompressedSize);
        p.field("Adler32", hex(e.Adler32, 8));
        p.number("CopyMode", e.CopyMode);
        p.field("Flags", flagNames(e.Flags, {{FileEntry::ConfirmOverwrite, "ConfirmOverwrite"},
                                             {FileEntry::NoUninstall, "NoUninstall"},
                                             {FileEntry::RestartReplace, "RestartReplace"},
                                             {FileEntry::RegisterServer, "RegisterServer"},
                                             {FileEntry::SharedFile, "SharedFile"},
                                             {FileEntry::NoEffect, "NoEffect"},
                                             {FileEntry::IsUndoLog, "IsUndoLog"}}));
    }
    n = 0;
    for (const IconEntry& e : data.IconEntries) {
        p.block("IconEntry", ++n);
        p.text("IconName", e.IconName);
        p.text("Filename", e.Filename);
        p.text("Parameters", e.Parameters);
        p.text("WorkingDir", e.WorkingDir);
        p.text("IconFilename", e.IconFilename);
        p.number("IconIndex", e.IconIndex);
    }
    n = 0;
    for (const IniEntry& e : data.IniEntries) {
        p.block("IniEntry", ++n);
        p.text("IniFile", e.IniFile);
        p.text("Section", e.Section);
        p.text("Key", e.Key);
        p.text("Value", e.Value);
        p.field("Flags", flagNames(e.Flags, {{IniEntry::UninsDeleteEntry, "UninsDeleteEntry"},
                                             {IniEntry::UninsDeleteSection, "UninsDeleteSection"}}));
    }
    n = 0;
    for (const RegistryEntry& e : data.RegistryEntries) {
        p.block("RegistryEntry", ++n);
        p.field("RootKey", hex(e.RootKey, 8) + rootName(e.RootKey));
        p.text("SubKey", e.SubKey);
        p.text("ValueName", e.ValueName);
        p.text("ValueData", e.ValueData);
        static const char* const types[] = {" (none)", " (string)", " (dword)"};
        p.field("ValueType", std::to_string(e.ValueType) + (e.ValueType < 3 ? types[e.ValueType] : ""));
        p.field("Flags", flagNames(e.Flags, {{RegistryEntry::UninsDeleteValue, "UninsDeleteValue"},
                                             {RegistryEntry::UninsDeleteKey, "UninsDeleteKey"}}));
    }
    n = 0;
    for (const UninstallDeleteEntry& e : data.UninstallDeleteEntries) {
        p.block("UninstallDeleteEntry", ++n);
        p.text("FileName", e.FileName);
    }
    n = 0;
    for (const RunEntry& e : data.RunEntries) {
        p.block("RunEntry", ++n);
        p.text("Filename", e.Filename);
        p.text("Parameters", e.Parameters);
        p.field("Flags", flagNames(e.Flags, {{RunEntry::NoWait, "NoWait"}}));
    }
}

}  // namespace

SetupData loadDescriptionFrom(const std::string& path) {
    std::vector<std::uint8_t> bytes = readWholeFile(path);
    if (bytes.size() >= 2 && bytes[0] == 'M' && bytes[1] == 'Z') {
        const auto image = PeImage::parse(std::move(bytes));
        if (!image) throw BuildError(path, 0, "", "a damaged Windows image");
        auto resource = image->resource(kRcData, kDescriptionId);
        if (!resource) throw BuildError(path, 0, "", "the library holds no RCDATA resource 102");
        bytes = std::move(*resource);
    }
    const ScratchFile scratch(bytes);
    SetupData data;
    try {
        LoadSetupDescription(scratch.path(), data, {});
    } catch (const BuildError&) {
        throw;
    } catch (const Exception& error) {
        throw BuildError(path, 0, "", error.what());
    }
    return data;
}

void dumpDescription(const SetupData& data, std::ostream& out) {
    Printer printer(out);
    out << "Setup description\n";
    dumpHeader(data, printer);
    dumpRecords(data, printer);
}

}  // namespace pelorin
