// Turns the blocks of a project file into the setup description's records:
// one function per section, each reading its keys through a FieldReader.
#include "tools/pelorin-build/ProjectParser.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/TextCase.h"
#include "tools/pelorin-build/BuildError.h"
#include "tools/pelorin-build/Compressor.h"
#include "tools/pelorin-build/Destinations.h"
#include "tools/pelorin-build/FieldReader.h"
#include "tools/pelorin-build/FileTree.h"
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
fs::path Resolve(const Context& context, const std::string& value) {
    std::string portable = value;
    for (char& c : portable) {
        if (c == '\\') c = '/';
    }
    const fs::path path(portable);
    return path.is_absolute() ? path : context.baseDir / path;
}

std::string ExistingFile(const Context& context, FieldReader& fields, const std::string& key,
                         const std::string& value) {
    const fs::path path = Resolve(context, value);
    std::error_code error;
    if (!fs::is_regular_file(path, error)) fields.Fail(key, "file not found: " + path.string());
    return path.string();
}

// "major.minor" the way Windows versions are written: "3.1" is 3.10, "3.51" is 3.51,
// "4" and "4.0" are 4.0; "0" or "none" means the family is not supported.
void ReadVersion(FieldReader& fields, const std::string& key, std::uint8_t& major, std::uint8_t& minor) {
    if (!fields.Has(key)) return;
    const std::string text = fields.Text(key, 16);
    if (LowerCaseAscii(text) == "none") {
        major = 0;
        minor = 0;
        return;
    }
    const auto dot = text.find('.');
    const auto majorValue = ParseNumber(text.substr(0, dot), 0, 255);
    std::string fraction = dot == std::string::npos ? "0" : text.substr(dot + 1);
    if (fraction.size() == 1) fraction += "0";
    const bool digitsOnly = fraction.find_first_not_of("0123456789") == std::string::npos;
    const auto minorValue = digitsOnly ? ParseNumber(fraction, 0, 99) : std::nullopt;
    if (!majorValue || text.substr(0, dot).find_first_not_of("0123456789") != std::string::npos || fraction.empty() ||
        fraction.size() > 2 || !minorValue)
        fields.Fail(key, "\"" + text + "\" is not a version such as 4.0, 3.1 or 3.51 (or none)");
    major = static_cast<std::uint8_t>(*majorValue);
    minor = static_cast<std::uint8_t>(*minorValue);
}

// A number, "rgb(red, green, blue)" or "system(index)".
std::uint32_t ReadColor(FieldReader& fields, const std::string& key, std::uint32_t fallback) {
    if (!fields.Has(key)) return fallback;
    const std::string text = LowerCaseAscii(fields.Text(key, 64));
    const auto fail = [&] {
        fields.Fail(key, "\"" + text + "\" is not a colour: write a number, rgb(R, G, B) or system(INDEX)");
    };
    const auto open = text.find('(');
    if (open == std::string::npos) {
        const auto value = ParseNumber(text, 0, 0xFFFFFFFFll);
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
        const auto value = ParseNumber(part, 0, 255);
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
std::uint8_t ExclusiveFlags(FieldReader& fields, const Keywords<std::uint8_t>& words) {
    const std::uint8_t flags = fields.Flags("Flags", words);
    if ((flags & (flags - 1)) != 0)
        fields.Fail("Flags", std::string(words[0].first) + " and " + words[1].first + " exclude each other");
    return flags;
}

void ReadSetup(Context& context, FieldReader& fields) {
    if (context.haveSetup) fields.Fail("", "[Setup] is given twice");
    context.haveSetup = true;
    SetupHeader& header = context.project.setup.Header;
    header.AppName = fields.Text("AppName", SetupHeader::AppNameCapacity, true);
    header.AppVerName = fields.Text("AppVerName", SetupHeader::AppVerNameCapacity, true);
    header.DefaultDirName = fields.Text("DefaultDirName", SetupHeader::DefaultDirNameCapacity, true);
    header.DefaultGroupName = fields.Text("DefaultGroupName", SetupHeader::DefaultGroupNameCapacity);
    header.MinWinMajor = 4;
    header.MinNTMajor = 4;
    ReadVersion(fields, "MinWinVersion", header.MinWinMajor, header.MinWinMinor);
    ReadVersion(fields, "MinNTVersion", header.MinNTMajor, header.MinNTMinor);
    header.BackColor = ReadColor(fields, "BackColor", 0x800000u);
    std::uint8_t flags = 0;
    if (fields.YesNo("CreateUninstall", false)) flags |= SetupHeader::CreateUninstall;
    if (fields.YesNo("AlwaysRestart", false)) flags |= SetupHeader::AlwaysRestart;
    if (fields.YesNo("SolidBackground", false)) flags |= SetupHeader::SolidBackground;
    header.Flags = flags;
    if (fields.Has("IncludeUninstaller") && (flags & SetupHeader::CreateUninstall) == 0)
        fields.Fail("IncludeUninstaller", "used only together with CreateUninstall = yes");
    context.project.includeUninstaller = fields.YesNo("IncludeUninstaller", true);
    const Keywords<Compression> levels = {
        {"fast", Compression::Fast}, {"normal", Compression::Normal}, {"max", Compression::Max}};
    context.project.compression = fields.Choice<Compression>("Compression", levels, Compression::Normal);
    if (context.project.compression == Compression::Max && !MaxCompressionAvailable())
        fields.Fail("Compression", "max needs the Zopfli library, which this build of the tool is without");

    const std::string license = fields.Text("LicenseFile", 4096);
    if (license.empty()) return;
    const std::string path = ExistingFile(context, fields, "LicenseFile", license);
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.eof() && in.fail()) fields.Fail("LicenseFile", "cannot read " + path);
    if (text.empty()) fields.Fail("LicenseFile", "the license file " + path + " is empty");
    if (text.size() > static_cast<std::size_t>(INT32_MAX)) fields.Fail("LicenseFile", "the license text is too large");
    context.project.setup.License = std::move(text);
}

void ReadDir(Context& context, FieldReader& fields) {
    DirEntry entry;
    entry.DirName = fields.Path("DirName", DirEntry::DirNameCapacity, true);
    context.project.setup.DirEntries.push_back(entry);
}

// Tool-only [File] flags, above the FileEntry bits.
constexpr std::uint32_t kRecurse = 0x100;
constexpr std::uint32_t kAllowEmpty = 0x200;

bool HasWildcard(const std::string& text) { return text.find_first_of("*?") != std::string::npos; }

// The patterns of Excludes, separated by "|", a character that no Windows file name holds.
std::vector<std::string> ReadExcludes(FieldReader& fields) {
    std::vector<std::string> patterns;
    if (!fields.Has("Excludes")) return patterns;
    const std::string text = fields.Text("Excludes", 4096);
    for (std::size_t start = 0;;) {
        const std::size_t bar = text.find('|', start);
        std::string pattern = text.substr(start, bar - start);
        pattern.erase(0, pattern.find_first_not_of(" \t"));
        pattern.erase(pattern.find_last_not_of(" \t") + 1);
        const std::string problem = PatternProblem(pattern);
        if (!problem.empty()) fields.Fail("Excludes", problem + "; patterns are separated by |");
        patterns.push_back(pattern);
        if (bar == std::string::npos) return patterns;
        start = bar + 1;
    }
}

// A [File] with DestDir: one file entry per file of the tree, sorted by relative path,
// each with the block's CopyMode and flags.
void ReadFileTree(Context& context, FieldReader& fields, const FileEntry& model, std::uint32_t flags) {
    const std::string source = fields.Text("Source", 4096, true);
    const std::size_t slash = source.find_last_of("\\/");
    TreeSelection selection;
    selection.pattern = source.substr(slash == std::string::npos ? 0 : slash + 1);
    const std::string folder = slash == std::string::npos ? "." : source.substr(0, slash + 1);
    if (HasWildcard(folder)) fields.Fail("Source", "wildcards are allowed only in the last part of the path");
    const std::string problem = PatternProblem(selection.pattern);
    if (!problem.empty()) fields.Fail("Source", problem + "; write a folder and a pattern, such as files\\*");
    selection.folder = Resolve(context, folder).lexically_normal().string();
    std::error_code error;
    if (!fs::is_directory(selection.folder, error)) fields.Fail("Source", "folder not found: " + selection.folder);
    selection.recurse = (flags & kRecurse) != 0;
    selection.excludes = ReadExcludes(fields);

    std::string destDir = fields.Path("DestDir", FileEntry::DestNameCapacity, true);
    while (!destDir.empty() && (destDir.back() == '\\' || destDir.back() == '/')) destDir.pop_back();
    TreeListing listing;
    try {
        listing = ListFileTree(selection);
    } catch (const BuildError& failure) {
        fields.Fail("Source", failure.what());
    }
    if (listing.files.empty() && (flags & kAllowEmpty) == 0)
        fields.Fail("Source", "no file matches " + source + (selection.recurse ? " or its subfolders" : "") +
                                  (listing.excluded > 0 ? " once Excludes are applied" : "") +
                                  "; add the flag allow-empty if that is expected");
    for (const TreeFile& file : listing.files) {
        FileEntry entry = model;
        entry.DestName = destDir + "\\" + file.relative;
        if (entry.DestName.size() > FileEntry::DestNameCapacity)
            fields.Fail("DestDir", entry.DestName + " (" + file.relative + ") is " +
                                       std::to_string(entry.DestName.size()) +
                                       " characters long, more than DestName's capacity of " +
                                       std::to_string(FileEntry::DestNameCapacity));
        FileSource stored;
        stored.path = file.path;
        stored.projectFile = context.fileName;
        stored.line = fields.LineOf("Source");
        stored.destLine = fields.LineOf("DestDir");
        stored.treeFile = file.relative;
        context.project.setup.FileEntries.push_back(entry);
        context.project.sources.push_back(stored);
    }
}

void ReadFileBlock(Context& context, FieldReader& fields) {
    static const Keywords<std::uint8_t> modes = {{"normal", cmNormal},
                                                 {"never-replace", cmNeverReplace},
                                                 {"always-replace", cmAlwaysReplace},
                                                 {"no-ask-newer", cmNoAskNewer}};
    static const Keywords<std::uint32_t> kFlagNames = {{"confirm-overwrite", FileEntry::ConfirmOverwrite},
                                                       {"no-uninstall", FileEntry::NoUninstall},
                                                       {"restart-replace", FileEntry::RestartReplace},
                                                       {"register-server", FileEntry::RegisterServer},
                                                       {"shared", FileEntry::SharedFile},
                                                       {"undo-log", FileEntry::IsUndoLog},
                                                       {"recurse", kRecurse},
                                                       {"allow-empty", kAllowEmpty}};

    FileEntry entry;
    entry.CopyMode = fields.Choice<std::uint8_t>("CopyMode", modes, cmNormal);
    const std::uint32_t flags = fields.Flags("Flags", kFlagNames);
    entry.Flags = static_cast<std::uint8_t>(flags & 0xFF);
    const bool undoLog = (entry.Flags & FileEntry::IsUndoLog) != 0;
    if (fields.Has("DestDir")) {
        if (fields.Has("DestName")) fields.Fail("DestName", "not used together with DestDir, which names the folder");
        if (undoLog) fields.Fail("DestDir", "not used for the undo-log file, which is one file of its own");
        ReadFileTree(context, fields, entry, flags);
        return;
    }
    if (fields.Has("Excludes")) fields.Fail("Excludes", "used only together with DestDir");
    if ((flags & (kRecurse | kAllowEmpty)) != 0)
        fields.Fail("Flags", "recurse and allow-empty are used only together with DestDir");
    if (HasWildcard(fields.Text("Source", 4096, true)))
        fields.Fail("Source", "a pattern needs DestDir, the folder its files go to, in place of DestName");

    FileSource source;
    source.projectFile = context.fileName;
    source.line = fields.LineOf("Source");
    source.path = ExistingFile(context, fields, "Source", fields.Text("Source", 4096, true));
    if (undoLog && fields.Has("DestName"))
        fields.Fail("DestName", "not used for the undo-log file, which goes to the uninstall log's place");
    entry.DestName = fields.Path("DestName", FileEntry::DestNameCapacity, !undoLog);
    source.destLine = fields.LineOf("DestName");
    if (undoLog) context.undoLogLine = fields.LineOf("Flags");

    context.project.setup.FileEntries.push_back(entry);
    context.project.sources.push_back(source);
}

void ReadIcon(Context&, FieldReader& fields, SetupData& setup) {
    IconEntry entry;
    entry.IconName = fields.Path("IconName", IconEntry::IconNameCapacity, true);
    entry.Filename = fields.Path("Filename", IconEntry::FilenameCapacity, true);
    entry.Parameters = fields.Path("Parameters", IconEntry::ParametersCapacity);
    entry.WorkingDir = fields.Path("WorkingDir", IconEntry::WorkingDirCapacity);
    entry.IconFilename = fields.Path("IconFilename", IconEntry::IconFilenameCapacity);
    if (entry.IconFilename.empty() && fields.Has("IconIndex"))
        fields.Fail("IconIndex", "used only together with IconFilename");
    entry.IconIndex = fields.Int32("IconIndex", 0);
    setup.IconEntries.push_back(entry);
}

void ReadIni(Context&, FieldReader& fields, SetupData& setup) {
    static const Keywords<std::uint8_t> kFlagNames = {{"uninstall-delete-entry", IniEntry::UninsDeleteEntry},
                                                      {"uninstall-delete-section", IniEntry::UninsDeleteSection}};
    IniEntry entry;
    entry.IniFile = fields.Path("IniFile", IniEntry::IniFileCapacity);
    entry.Section = fields.Path("Section", IniEntry::SectionCapacity, true);
    entry.Key = fields.Path("Key", IniEntry::KeyCapacity, true);
    entry.Value = fields.Path("Value", IniEntry::ValueCapacity);
    entry.Flags = ExclusiveFlags(fields, kFlagNames);
    setup.IniEntries.push_back(entry);
}

void ReadRegistry(Context&, FieldReader& fields, SetupData& setup) {
    static const Keywords<std::uint32_t> roots = {{"hkcr", 0x80000000u}, {"hkey_classes_root", 0x80000000u},
                                                  {"hkcu", 0x80000001u}, {"hkey_current_user", 0x80000001u},
                                                  {"hklm", 0x80000002u}, {"hkey_local_machine", 0x80000002u},
                                                  {"hku", 0x80000003u},  {"hkey_users", 0x80000003u}};
    static const Keywords<std::uint8_t> types = {
        {"none", RegistryEntry::vtNone}, {"string", RegistryEntry::vtString}, {"dword", RegistryEntry::vtDWord}};
    static const Keywords<std::uint8_t> kFlagNames = {{"uninstall-delete-value", RegistryEntry::UninsDeleteValue},
                                                      {"uninstall-delete-key", RegistryEntry::UninsDeleteKey}};

    RegistryEntry entry;
    if (!fields.Has("RootKey")) fields.Fail("RootKey", "missing in [Registry]; it is required");
    entry.RootKey = fields.Choice<std::uint32_t>("RootKey", roots, 0);
    entry.SubKey = fields.Path("SubKey", RegistryEntry::SubKeySize, true);
    entry.ValueType = fields.Choice<std::uint8_t>("ValueType", types, RegistryEntry::vtNone);
    if (entry.ValueType == RegistryEntry::vtNone) {
        for (const char* unused : {"ValueName", "ValueData"}) {
            if (fields.Has(unused)) fields.Fail(unused, "not used when ValueType is none");
        }
    }
    entry.ValueName = fields.Path("ValueName", RegistryEntry::ValueNameSize);
    if (entry.ValueType == RegistryEntry::vtDWord) {
        entry.ValueData = fields.Text("ValueData", RegistryEntry::ValueDataSize, true);
        const bool decimal = entry.ValueData.find_first_not_of("+-0123456789") == std::string::npos;
        if (!decimal || !ParseNumber(entry.ValueData, INT32_MIN, INT32_MAX))
            fields.Fail("ValueData", "\"" + entry.ValueData + "\" is not a decimal 32-bit number");
    } else {
        entry.ValueData = fields.Path("ValueData", RegistryEntry::ValueDataSize);
    }
    entry.Flags = ExclusiveFlags(fields, kFlagNames);
    setup.RegistryEntries.push_back(entry);
}

void ReadUninstallDelete(Context&, FieldReader& fields, SetupData& setup) {
    UninstallDeleteEntry entry;
    entry.FileName = fields.Path("FileName", UninstallDeleteEntry::FileNameCapacity, true);
    setup.UninstallDeleteEntries.push_back(entry);
}

void ReadRun(Context&, FieldReader& fields, SetupData& setup) {
    static const Keywords<std::uint8_t> kFlagNames = {{"no-wait", RunEntry::NoWait}};
    RunEntry entry;
    entry.Filename = fields.Path("Filename", RunEntry::FilenameCapacity, true);
    entry.Parameters = fields.Path("Parameters", RunEntry::ParametersCapacity);
    entry.Flags = fields.Flags("Flags", kFlagNames);
    setup.RunEntries.push_back(entry);
}

void ReadBlock(Context& context, const ProjectBlock& block) {
    FieldReader fields(context.fileName, block);
    SetupData& setup = context.project.setup;
    const std::string section = LowerCaseAscii(block.section);
    if (section == "setup") {
        ReadSetup(context, fields);
    } else if (section == "dir") {
        ReadDir(context, fields);
    } else if (section == "file") {
        ReadFileBlock(context, fields);
    } else if (section == "icon") {
        ReadIcon(context, fields, setup);
    } else if (section == "ini") {
        ReadIni(context, fields, setup);
    } else if (section == "registry") {
        ReadRegistry(context, fields, setup);
    } else if (section == "uninstalldelete") {
        ReadUninstallDelete(context, fields, setup);
    } else if (section == "run") {
        ReadRun(context, fields, setup);
    } else {
        throw BuildError(context.fileName, block.line, "[" + block.section + "]",
                         "unknown section; known: Setup, Dir, File, Icon, Ini, Registry, UninstallDelete, Run");
    }
    fields.RejectUnknownKeys();
}

}  // namespace

Project ParseProjectText(const std::string& text, const std::string& fileName, const std::string& baseDir) {
    Context context;
    context.fileName = fileName;
    context.baseDir = baseDir.empty() ? fs::path(".") : fs::path(baseDir);
    context.project.path = fileName;
    for (const ProjectBlock& block : SplitProjectText(text, fileName)) ReadBlock(context, block);

    if (!context.haveSetup) throw BuildError(fileName, 0, "", "the [Setup] section is missing");
    const SetupHeader& header = context.project.setup.Header;
    if (context.undoLogLine != 0 && (header.Flags & SetupHeader::CreateUninstall) == 0)
        throw BuildError(fileName, context.undoLogLine, "Flags",
                         "undo-log needs CreateUninstall = yes in [Setup]; without it there is no log to install");
    CheckDestinations(context.project);
    AddNeededDirs(context.project);
    return context.project;
}

Project ParseProjectFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw BuildError(path, 0, "", "cannot open the project file");
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw BuildError(path, 0, "", "cannot read the project file");
    return ParseProjectText(text, path, fs::path(path).parent_path().string());
}

}  // namespace pelorin
