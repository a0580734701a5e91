// EngineFixture: each test gets its own folders and an application name of its own, so the
// uninstall keys of different runs never meet; leftovers are removed in TearDown.
#include "tests/win/install/EngineFixture.h"

#include "platform/win/Handles.h"
#include "setup/CmnFunc.h"
#include "setup/install/FileRulesShared.h"
#include "setup/install/InstallUninstall.h"

namespace pelorin::testing {

namespace {
const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
}

RegistryEntry RegEntry(const std::string& subKey, const std::string& name, const std::string& data, std::uint8_t type,
                       std::uint8_t flags, std::uint32_t root) {
    RegistryEntry entry;
    entry.RootKey = root;
    entry.SubKey = subKey;
    entry.ValueName = name;
    entry.ValueData = data;
    entry.ValueType = type;
    entry.Flags = flags;
    return entry;
}

ProgramsFolderOverride::ProgramsFolderOverride(const std::string& folder) {
    KeyHandle key;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                      key.put(), nullptr);
    had_ = RegQueryStringValue(key.get(), "Programs", old_);
    ::RegSetValueExA(key.get(), "Programs", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                     static_cast<DWORD>(folder.size() + 1));
}

ProgramsFolderOverride::~ProgramsFolderOverride() {
    KeyHandle key;
    ::RegOpenKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, KEY_SET_VALUE, key.put());
    if (had_)
        ::RegSetValueExA(key.get(), "Programs", 0, REG_SZ, reinterpret_cast<const BYTE*>(old_.c_str()),
                         static_cast<DWORD>(old_.size() + 1));
    else
        ::RegDeleteValueA(key.get(), "Programs");
}

void EngineFixture::SetUp() {
    UseFolders(root.Path());
    ::CreateDirectoryA(ProgramsDir().c_str(), nullptr);
    programs_ = std::make_unique<ProgramsFolderOverride>(ProgramsDir());
    SetupGlobals& globals = Globals();
    globals.GroupName = "Test Group";
    globals.IsAdmin = false;
    globals.Setup = SetupData{};
    appVerName = "Pelorin Test " + root.Path().substr(root.Path().find_last_of('\\') + 1);
    globals.Setup.Header.AppName = "Test App";
    globals.Setup.Header.AppVerName = appVerName;
    changes.Title = "Test App";  // as the installation window sets it
}

void EngineFixture::TearDown() {
    for (int i = 1; i <= 4; ++i)
        RegDeleteKeyIncludingSubkeys(HKEY_LOCAL_MACHINE,
                                     std::string(UninstallKey) + "\\" + appVerName + "_is" + std::to_string(i));
    RegDeleteKeyIncludingSubkeys(HKEY_CURRENT_USER, TestRegKey);
    programs_.reset();
}

bool EngineFixture::RunEngine(bool writeArchive) {
    SetupData& setup = Desc();
    SetupHeader& header = setup.Header;
    header.DirCount = static_cast<std::int32_t>(setup.DirEntries.size());
    header.FileCount = static_cast<std::int32_t>(setup.FileEntries.size());
    header.IconCount = static_cast<std::int32_t>(setup.IconEntries.size());
    header.IniCount = static_cast<std::int32_t>(setup.IniEntries.size());
    header.RegistryCount = static_cast<std::int32_t>(setup.RegistryEntries.size());
    header.UninstallDeleteCount = static_cast<std::int32_t>(setup.UninstallDeleteEntries.size());
    setup.IconsStep = (header.Flags & SetupHeader::CreateUninstall) || !setup.IconEntries.empty();
    if (writeArchive) archive.Write();
    progress.SetMax(ProgressMaximum(setup));
    TInstallEngine engine(setup, context);
    engine.SetUndoPrompt(&undoPrompt);
    return engine.Run();
}

FileEntry EngineFixture::AddFile(const std::string& data, const std::string& dest, std::uint8_t flags) {
    const FileEntry entry = archive.Add(data, EntryFor(dest, flags));
    Desc().FileEntries.push_back(entry);
    return entry;
}

std::string EngineFixture::Snapshot() const {
    return "files:\n" + TreeListing(root.Path()) + "uninstall:\n" + RegistryExport(HKEY_LOCAL_MACHINE, UninstallKey) +
           "shared:\n" + RegistryExport(HKEY_LOCAL_MACHINE, SharedDllsKey) + "settings:\n" +
           RegistryExport(HKEY_CURRENT_USER, TestRegKey);
}

}  // namespace pelorin::testing
