// Extracts the description bytes, hands a private copy to the loader (which deletes
// the file it reads), and writes one "[Kind n]" block per record.
#include "tools/pelorin-build/DescriptionDump.h"

#include <filesystem>
#include <fstream>
#include <iomanip>
#include <ostream>
#include <random>
#include <sstream>

#include "core/WriteFailure.h"
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
        ClearWriteFailure();
        std::ofstream out(path_, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (path_.empty() || !out)
            throw BuildError(dir.string(), 0, "", "cannot write a temporary file" + WriteFailureSuffix());
    }
    ~ScratchFile() {
        std::error_code error;
        fs::remove(path_, error);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

std::string QuotedText(const std::string& text) {
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

std::string Hex(std::uint64_t value, int width) {
    std::ostringstream out;
    out << "0x" << std::uppercase << std::hex << std::setw(width) << std::setfill('0') << value;
    return out.str();
}

std::string VersionText(std::uint32_t ms, std::uint32_t ls) {
    if (ms == FileEntry::NoVersion) return "none";
    return std::to_string(ms >> 16) + "." + std::to_string(ms & 0xFFFF) + "." + std::to_string(ls >> 16) + "." +
           std::to_string(ls & 0xFFFF);
}

// Calendar date of a file time, UTC, to the second.
std::string FileTimeText(std::uint64_t fileTime) {
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

std::string FlagNames(std::uint8_t flags, const std::vector<std::pair<std::uint8_t, const char*>>& names) {
    std::string text = Hex(flags, 2);
    std::string list;
    for (const auto& [bit, name] : names) {
        if ((flags & bit) != 0) list += (list.empty() ? "" : " ") + std::string(name);
    }
    return list.empty() ? text : text + " (" + list + ")";
}

class Printer {
public:
    explicit Printer(std::ostream& out) : out_(out) {}
    void Block(const std::string& name, std::size_t index) {
        out_ << "\n[" << name;
        if (index > 0) out_ << ' ' << index;
        out_ << "]\n";
    }
    void Field(const char* name, const std::string& value) {
        out_ << "  " << std::left << std::setw(20) << name << " = " << value << '\n';
    }
    void Text(const char* name, const std::string& value) { Field(name, QuotedText(value)); }
    void Number(const char* name, std::int64_t value) { Field(name, std::to_string(value)); }
    // Line by line behind "| ", each line's control characters escaped.
    void LicenseText(const std::string& text) {
        std::size_t start = 0;
        while (start < text.size()) {
            auto end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const std::string shown = QuotedText(line);
            out_ << "  | " << shown.substr(1, shown.size() - 2) << '\n';
            start = end + 1;
        }
    }

private:
    std::ostream& out_;
};

void DumpHeader(const SetupData& data, Printer& p) {
    const SetupHeader& h = data.Header;
    p.Block("SetupHeader", 0);
    p.Text("AppName", h.AppName);
    p.Text("AppVerName", h.AppVerName);
    p.Text("DefaultDirName", h.DefaultDirName);
    p.Text("DefaultGroupName", h.DefaultGroupName);
    p.Number("DirCount", h.DirCount);
    p.Number("FileCount", h.FileCount);
    p.Number("IconCount", h.IconCount);
    p.Number("IniCount", h.IniCount);
    p.Number("RegistryCount", h.RegistryCount);
    p.Number("UninstallDeleteCount", h.UninstallDeleteCount);
    p.Number("RunCount", h.RunCount);
    p.Number("LicenseSize", h.LicenseSize);
    p.Number("MinWinMajor", h.MinWinMajor);
    p.Number("MinWinMinor", h.MinWinMinor);
    p.Number("MinNTMajor", h.MinNTMajor);
    p.Number("MinNTMinor", h.MinNTMinor);
    p.Field("BackColor", Hex(h.BackColor, 8));
    p.Field("Flags", FlagNames(h.Flags, {{SetupHeader::CreateUninstall, "CreateUninstall"},
                                         {SetupHeader::AlwaysRestart, "AlwaysRestart"},
                                         {SetupHeader::SolidBackground, "SolidBackground"}}));
    p.Number("TotalSize", data.TotalSize);
    if (data.License) {
        p.Block("License", 0);
        p.LicenseText(*data.License);
    }
}

const char* RootName(std::uint32_t root) {
    switch (root) {
    case 0x80000000u: return " (HKEY_CLASSES_ROOT)";
    case 0x80000001u: return " (HKEY_CURRENT_USER)";
    case 0x80000002u: return " (HKEY_LOCAL_MACHINE)";
    case 0x80000003u: return " (HKEY_USERS)";
    default: return "";
    }
}

// Each record of a list as a numbered block: "[Name 1]", "[Name 2]", ...
template <class Entry, class Fields>
void DumpEach(Printer& p, const char* name, const std::vector<Entry>& entries, Fields fields) {
    std::size_t n = 0;
    for (const Entry& e : entries) {
        p.Block(name, ++n);
        fields(e);
    }
}

void DumpRecords(const SetupData& data, Printer& p) {
    DumpEach(p, "DirEntry", data.DirEntries, [&p](const DirEntry& e) { p.Text("DirName", e.DirName); });
    DumpEach(p, "FileEntry", data.FileEntries, [&p](const FileEntry& e) {
        p.Number("DataOffset", e.DataOffset);
        p.Text("DestName", e.DestName);
        p.Field("FileTime", Hex(e.FileTime, 16) + " (" + FileTimeText(e.FileTime) + ")");
        p.Field("VersionMS", Hex(e.VersionMS, 8));
        p.Field("VersionLS", Hex(e.VersionLS, 8) + " (version " + VersionText(e.VersionMS, e.VersionLS) + ")");
        p.Number("UncompressedSize", e.UncompressedSize);
        p.Number("CompressedSize", e.CompressedSize);
        p.Field("Adler32", Hex(e.Adler32, 8));
        p.Number("CopyMode", e.CopyMode);
        p.Field("Flags", FlagNames(e.Flags, {{FileEntry::ConfirmOverwrite, "ConfirmOverwrite"},
                                             {FileEntry::NoUninstall, "NoUninstall"},
                                             {FileEntry::RestartReplace, "RestartReplace"},
                                             {FileEntry::RegisterServer, "RegisterServer"},
                                             {FileEntry::SharedFile, "SharedFile"},
                                             {FileEntry::NoEffect, "NoEffect"},
                                             {FileEntry::IsUndoLog, "IsUndoLog"}}));
    });
    DumpEach(p, "IconEntry", data.IconEntries, [&p](const IconEntry& e) {
        p.Text("IconName", e.IconName);
        p.Text("Filename", e.Filename);
        p.Text("Parameters", e.Parameters);
        p.Text("WorkingDir", e.WorkingDir);
        p.Text("IconFilename", e.IconFilename);
        p.Number("IconIndex", e.IconIndex);
    });
    DumpEach(p, "IniEntry", data.IniEntries, [&p](const IniEntry& e) {
        p.Text("IniFile", e.IniFile);
        p.Text("Section", e.Section);
        p.Text("Key", e.Key);
        p.Text("Value", e.Value);
        p.Field("Flags", FlagNames(e.Flags, {{IniEntry::UninsDeleteEntry, "UninsDeleteEntry"},
                                             {IniEntry::UninsDeleteSection, "UninsDeleteSection"}}));
    });
    DumpEach(p, "RegistryEntry", data.RegistryEntries, [&p](const RegistryEntry& e) {
        p.Field("RootKey", Hex(e.RootKey, 8) + RootName(e.RootKey));
        p.Text("SubKey", e.SubKey);
        p.Text("ValueName", e.ValueName);
        p.Text("ValueData", e.ValueData);
        static const char* const types[] = {" (none)", " (string)", " (dword)"};
        p.Field("ValueType", std::to_string(e.ValueType) + (e.ValueType < 3 ? types[e.ValueType] : ""));
        p.Field("Flags", FlagNames(e.Flags, {{RegistryEntry::UninsDeleteValue, "UninsDeleteValue"},
                                             {RegistryEntry::UninsDeleteKey, "UninsDeleteKey"}}));
    });
    DumpEach(p, "UninstallDeleteEntry", data.UninstallDeleteEntries,
             [&p](const UninstallDeleteEntry& e) { p.Text("FileName", e.FileName); });
    DumpEach(p, "RunEntry", data.RunEntries, [&p](const RunEntry& e) {
        p.Text("Filename", e.Filename);
        p.Text("Parameters", e.Parameters);
        p.Field("Flags", FlagNames(e.Flags, {{RunEntry::NoWait, "NoWait"}}));
    });
}

}  // namespace

SetupData LoadDescriptionFrom(const std::string& path) {
    std::vector<std::uint8_t> bytes = ReadWholeFile(path);
    if (bytes.size() >= 2 && bytes[0] == 'M' && bytes[1] == 'Z') {
        const auto image = PeImage::Parse(std::move(bytes));
        if (!image) throw BuildError(path, 0, "", "a damaged Windows image");
        auto resource = image->Resource(kRcData, kDescriptionId);
        if (!resource) throw BuildError(path, 0, "", "the library holds no RCDATA resource 102");
        bytes = std::move(*resource);
    }
    const ScratchFile scratch(bytes);
    SetupData data;
    try {
        LoadSetupDescription(scratch.Path(), data, {});
    } catch (const BuildError&) {
        throw;
    } catch (const Exception& error) {
        throw BuildError(path, 0, "", error.what());
    }
    return data;
}

void DumpDescription(const SetupData& data, std::ostream& out) {
    Printer printer(out);
    out << "Setup description\n";
    DumpHeader(data, printer);
    DumpRecords(data, printer);
}

}  // namespace pelorin
