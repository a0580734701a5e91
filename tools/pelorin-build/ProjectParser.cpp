// Turns the blocks of a project file into the setup description's records:
// one function per section, each reading its keys through a FieldReader.
#include "tools/pelorin-build/ProjectParser.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/TextCase.h"
#include "tools/pelorin-build/BuildError.h"
#include "tools/pelorin-build/FieldReader.h"
#include "tools/pelorin-build/ProjectText.h"

namespace pelorin {

namespace fs = std::filesystem;

namespace {

struct Context {
    std::string fileName;
    fs::path baseDir;
    Project project;
    bool haveSetup = false;
    int undoLogLine = 0;  // Flags line of a file entry that installs the undo log
};

// Project files may be written on Windows: a backslash separates folders too.
fs::path resolve(const Context& context, const std::string& value) {
    std::string portable = value;
    for (char& c : portable) {
        if (c == '\\') c = '/';
    }
    const fs::path path(portable);
    return path.is_absolute() ? path : context.baseDir / path;
}

std::string existingFile(const Context& context, FieldReader& fields, const std::string& key,
                         const std::string& value) {
    const fs::path path = resolve(context, value);
    std::error_code error;
    if (!fs::is_regular_file(path, error)) fields.fail(key, "file not found: " + path.string());
    return path.string();
}

// "major.minor" the way Windows versions are written: "3.1" is 3.10, "3.51" is 3.51,
// "4" and "4.0" are 4.0; "0" or "none" means the family is not supported.
void readVersion(FieldReader& fields, const std::string& key, std::uint8_t& major, std::uint8_t& minor) {
    if (!fields.has(key)) return;
    const std::string text = fields.text(key, 16);
    if (LowerCaseAscii(text) == "none") {
        major = 0;
        minor = 0;
        return;
    }
    const auto dot = text.find('.');
    const auto majorValue = parseNumber(text.substr(0, dot), 0, 255);
    std::string fraction = dot == std::string::npos ? "0" : text.substr(dot + 1);
    if (fraction.size() == 1) fraction += "0";
    const bool digitsOnly = fraction.find_first_not_of("0123456789") == std::string::npos;
    const auto minorValue = digitsOnly ? parseNumber(fraction, 0, 99) : std::nullopt;
    if (!majorValue || text.substr(0, dot).find_first_not_of("0123456789") != std::string::npos || fraction.empty() ||
        fraction.size() > 2 || !minorValue)
        fields.fail(key, "\"" + text + "\" is not a version such as 4.0, 3.1 or 3.51 (or none)");
    major = static_cast<std::uint8_t>(*majorValue);
    minor = static_cast<std::uint8_t>(*minorValue);
}

// A number, "rgb(red, green, blue)" or "system(index)".
std::uint32_t readColor(FieldReader& fields, const std::string& key, std::uint32_t fallback) {
    if (!fields.has(key)) return fallback;
    const std::string text = LowerCaseAscii(fields.text(key, 64));
    const auto fail = [&] {
        fields.fail(key, "\"" + text + "\" is not a colour: write a number, rgb(R, G, B) or system(INDEX)");
    };
    const auto open = text.find('(');
    if (open == std::string::npos) {
        const auto value = parseNumber(text, 0, 0xFFFFFFFFll);
        if (!value) fail();
        return static_cast<std::uint32_t>(*value);
    }
    if (text.back() != ')') fail();
    const std::string name = text.substr(0, open);
    std::vector<std::uint32_t> parts;
    std::string part;
    for (const char c : text.substr(open + 1, text.size() - open - 2) + ",") {
        if (c == ' ') continue;
        if (c != ',') {
            part += c;
            continue;
        }
        const auto value = parseNumber(part, 0, 255);
        if (!value) fail();
        parts.push_back(static_cast<std::uint32_t>(*value));
        part.clear();
    }
    if (name == "rgb" && parts.size() == 3) return parts[0] | (parts[1] << 8) | (parts[2] << 16);
    if (name == "system" && parts.size() == 1) return 0x80000000u | parts[0];
    fail();
    return 0;
}

// Flags of which at most one may be given: the setup program acts on the second
// only when the first is clear, so giving both would silently drop one.
std::uint8_t exclusiveFlags(FieldReader& fields, const Keywords<std::uint8_t>& words) {
    const std::uint8_t flags = fields.flags("Flags", words);
    if ((flags & (flags - 1)) != 0)
        fields.fail("Flags", std::string(words[0].first) + " and " + words[1].first + " exclude each other");
    return flags;
}

void readSetup(Context& context, FieldReader& fields) {
    if (context.haveSetup) fields.fail("", "[Setup] is given twice");
    context.haveSetup = true;
    SetupHeader& header = context.project.setup.Header;
    header.AppName = fields.text("AppName", SetupHeader::AppNameCapacity, true);
    header.AppVerName = fields.text("AppVerName", SetupHeader::AppVerNameCapacity, true);
    header.DefaultDirName = fields.text("DefaultDirName", SetupHeader::DefaultDirNameCapacity, true);
    header.DefaultGroupName = fields.text("DefaultGroupName", SetupHeader::DefaultGroupNameCapacity);
    header.MinWinMajor = 4;
    header.MinNTMajor = 4;
    readVersion(fields, "MinWinVersion", header.MinWinMajor, header.MinWinMinor);
    readVersion(fields, "MinNTVersion", header.MinNTMajor, header.MinNTMinor);
    header.BackColor = readColor(fields, "BackColor", 0x800000u);
    std::uint8_t flags = 0;
    if (fields.yesNo("CreateUninstall", false)) flags |= SetupHeader::CreateUninstall;
    if (fields.yesNo("AlwaysRestart", false)) flags |= SetupHeader::AlwaysRestart;
    if (fields.yesNo("SolidBackground", false)) flags |= SetupHeader::SolidBackground;
    header.Flags = flags;
    if (fields.has("IncludeUninstaller") && (flags & SetupHeader::CreateUninstall) == 0)
        fields.fail("IncludeUninstaller", "used only together with CreateUninstall = yes");
    context.project.includeUninstaller = fields.yesNo("IncludeUninstaller", true);

    const std::string license = fields.text("LicenseFile", 4096);
    if (license.empty()) return;
    const std::string path = existingFile(context, fields, "LicenseFile", license);
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.eof() && in.fail()) fields.fail("LicenseFile", "cannot read " + path);
    if (text.empty()) fields.fail("LicenseFile", "the license file " + path + " is empty");
    if (text.size() > static_cast<std::size_t>(INT32_MAX)) fields.fail("LicenseFile", "the license text is too large");
    context.project.setup.License = std::move(text);
}

void readDir(Context& context, FieldReader& fields) {
    DirEntry entry;
    entry.DirName = fields.path("DirName", DirEntry::DirNameCapacity, true);
    context.project.setup.DirEntries.push_back(entry);
}

void readFile(Context& context, FieldReader& fields) {
    static const Keywords<std::uint8_t> modes = {{"normal", cmNormal},
                                                 {"never-replace", cmNeverReplace},
                                                 {"always-replace", cmAlwaysReplace},
                                                 {"no-ask-newer", cmNoAskNewer}};
    static const Keywords<std::uint8_t> flagNames = {{"confirm-overwrite", FileEntry::ConfirmOverwrite},
                                                     {"no-uninstall", FileEntry::NoUninstall},
                                                     {"restart-replace", FileEntry::RestartReplace},
                                                     {"register-server", FileEntry::RegisterServer},
                                                     {"shared", FileEntry::SharedFile},
                                                     {"undo-log", FileEntry::IsUndoLog}};

    FileSource source;
    source.projectFile = context.fileName;
    source.line = fields.lineOf("Source");
    source.path = existingFile(context, fields, "Source", fields.text("Source", 4096, true));

    FileEntry entry;
    entry.CopyMode = fields.choice<std::uint8_t>("CopyMode", modes, cmNormal);
    entry.Flags = fields.flags("Flags", flagNames);
    const bool undoLog = (entry.Flags & FileEntry::IsUndoLog) != 0;
    if (undoLog && fields.has("DestName"))
        fields.fail("DestName", "not used for the undo-log file, which goes to the uninstall log's place");
    entry.DestName = fields.path("DestName", FileEntry::DestNameCapacity, !undoLog);
    if (undoLog) context.undoLogLine = fields.lineOf("Flags");

    context.project.setup.FileEntries.push_back(entry);
    context.project.sources.push_back(source);
}

void readIcon(Context&, FieldReader& fields, SetupData& setup) {
    IconEntry entry;
    entry.IconName = fields.path("IconName", IconEntry::IconNameCapacity, true);
    entry.Filename = fields.path("Filename", IconEntry::FilenameCapacity, true);
    entry.Parameters = fields.path("Parameters", IconEntry::ParametersCapacity);
    entry.WorkingDir = fields.path("WorkingDir", IconEntry::WorkingDirCapacity);
    entry.IconFilename = fields.path("IconFilename", IconEntry::IconFilenameCapacity);
    if (entry.IconFilename.empty() && fields.has("IconIndex"))
        fields.fail("IconIndex", "used only together with IconFilename");
    entry.IconIndex = fields.int32("IconIndex", 0);
    setup.IconEntries.push_back(entry);
}

void readIni(Context&, FieldReader& fields, SetupData& setup) {
    static const Keywords<std::uint8_t> flagNames = {{"uninstall-delete-entry", IniEntry::UninsDeleteEntry},
                                                     {"uninstall-delete-section", IniEntry::UninsDeleteSection}};
    IniEntry entry;
    entry.IniFile = fields.path("IniFile", IniEntry::IniFileCapacity);
    entry.Section = fields.path("Section", IniEntry::SectionCapacity, true);
    entry.Key = fields.path("Key", IniEntry::KeyCapacity, true);
    entry.Value = fields.path("Value", IniEntry::ValueCapacity);
    entry.Flags = exclusiveFlags(fields, flagNames);
    setup.IniEntries.push_back(entry);
}

void readRegistry(Context&, FieldReader& fields, SetupData& setup) {
    static const Keywords<std::uint32_t> roots = {{"hkcr", 0x80000000u}, {"hkey_classes_root", 0x80000000u},
                                                  {"hkcu", 0x80000001u}, {"hkey_current_user", 0x80000001u},
                                                  {"hklm", 0x80000002u}, {"hkey_local_machine", 0x80000002u},
                                                  {"hku", 0x80000003u},  {"hkey_users", 0x80000003u}};
    static const Keywords<std::uint8_t> types = {
        {"none", RegistryEntry::vtNone}, {"string", RegistryEntry::vtString}, {"dword", RegistryEntry::vtDWord}};
    static const Keywords<std::uint8_t> flagNames = {{"uninstall-delete-value", RegistryEntry::UninsDeleteValue},
                                                     {"uninstall-delete-key", RegistryEntry::UninsDeleteKey}};

    RegistryEntry entry;
    if (!fields.has("RootKey")) fields.fail("RootKey", "missing in [Registry]; it is required");
    entry.RootKey = fields.choice<std::uint32_t>("RootKey", roots, 0);
    entry.SubKey = fields.path("SubKey", RegistryEntry::SubKeySize, true);
    entry.ValueType = fields.choice<std::uint8_t>("ValueType", types, RegistryEntry::vtNone);
    if (entry.ValueType == RegistryEntry::vtNone) {
        for (const char* unused : {"ValueName", "ValueData"}) {
            if (fields.has(unused)) fields.fail(unused, "not used when ValueType is none");
        }
    }
    entry.ValueName = fields.path("ValueName", RegistryEntry::ValueNameSize);
    if (entry.ValueType == RegistryEntry::vtDWord) {
        entry.ValueData = fields.text("ValueData", RegistryEntry::ValueDataSize, true);
        const bool decimal = entry.ValueData.find_first_not_of("+-0123456789") == std::string::npos;
        if (!decimal || !parseNumber(entry.ValueData, INT32_MIN, INT32_MAX))
            fields.fail("ValueData", "\"" + entry.ValueData + "\" is not a decimal 32-bit number");
    } else {
        entry.ValueData = fields.path("ValueData", RegistryEntry::ValueDataSize);
    }
    entry.Flags = exclusiveFlags(fields, flagNames);
    setup.RegistryEntries.push_back(entry);
}

void readUninstallDelete(Context&, FieldReader& fields, SetupData& setup) {
    UninstallDeleteEntry entry;
    entry.FileName = fields.path("FileName", UninstallDeleteEntry::FileNameCapacity, true);
    setup.UninstallDeleteEntries.push_back(entry);
}

void readRun(Context&, FieldReader& fields, SetupData& setup) {
    static const Keywords<std::uint8_t> flagNames = {{"no-wait", RunEntry::NoWait}};
    RunEntry entry;
    entry.Filename = fields.path("Filename", RunEntry::FilenameCapacity, true);
    entry.Parameters = fields.path("Parameters", RunEntry::ParametersCapacity);
    entry.Flags = fields.flags("Flags", flagNames);
    setup.RunEntries.push_back(entry);
}

void readBlock(Context& context, const ProjectBlock& block) {
    FieldReader fields(context.fileName, block);
    SetupData& setup = context.project.setup;
    const std::string section = LowerCaseAscii(block.section);
    if (section == "setup") {
        readSetup(context, fields);
    } else if (section == "dir") {
        readDir(context, fields);
    } else if (section == "file") {
        readFile(context, fields);
    } else if (section == "icon") {
        readIcon(context, fields, setup);
    } else if (section == "ini") {
        readIni(context, fields, setup);
    } else if (section == "registry") {
        readRegistry(context, fields, setup);
    } else if (section == "uninstalldelete") {
        readUninstallDelete(context, fields, setup);
    } else if (section == "run") {
        readRun(context, fields, setup);
    } else {
        throw BuildError(context.fileName, block.line, "[" + block.section + "]",
                         "unknown section; known: Setup, Dir, File, Icon, Ini, Registry, UninstallDelete, Run");
    }
    fields.rejectUnknownKeys();
}

}  // namespace

Project parseProjectText(const std::string& text, const std::string& fileName, const std::string& baseDir) {
    Context context;
    context.fileName = fileName;
    context.baseDir = baseDir.empty() ? fs::path(".") : fs::path(baseDir);
    context.project.path = fileName;
    for (const ProjectBlock& block : splitProjectText(text, fileName)) readBlock(context, block);

    if (!context.haveSetup) throw BuildError(fileName, 0, "", "the [Setup] section is missing");
    const SetupHeader& header = context.project.setup.Header;
    if (context.undoLogLine != 0 && (header.Flags & SetupHeader::CreateUninstall) == 0)
        throw BuildError(fileName, context.undoLogLine, "Flags",
                         "undo-log needs CreateUninstall = yes in [Setup]; without it there is no log to install");
    return context.project;
}

Project parseProjectFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw BuildError(path, 0, "", "cannot open the project file");
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw BuildError(path, 0, "", "cannot read the project file");
    return parseProjectText(text, path, fs::path(path).parent_path().string());
}

}  // namespace pelorin
