// Builds, installs and removes one round-trip product with the real programs; the
// project uses every kind of record that the uninstall log takes back.
#include "tests/e2e/roundtrip/Product.h"

#include <gtest/gtest.h>

#include "tests/e2e/driver/WizardWalk.h"
#include "tests/e2e/roundtrip/BoxScript.h"
#include "tests/e2e/roundtrip/SystemState.h"

namespace pelorin::e2e {

namespace {

std::string SetupSection(const std::string& name) {
    return "[Setup]\r\nAppName = " + name + "\r\nAppVerName = " + name + " 1.0\r\nDefaultDirName = " + name +
           "\r\nDefaultGroupName = " + name + "\r\nCreateUninstall = yes\r\n";
}

std::string Records(const std::string& name) {
    return "[Dir]\r\nDirName = {app}\\Docs\r\n"
           "[Dir]\r\nDirName = {app}\\Logs\r\n"
           "[File]\r\nSource = app.exe\r\nDestName = {app}\\app.exe\r\n"
           "[File]\r\nSource = readme.txt\r\nDestName = {app}\\Docs\\readme.txt\r\n"
           "[Icon]\r\nIconName = " +
           name +
           " App\r\nFilename = {app}\\app.exe\r\nWorkingDir = {app}\r\n"
           "[Ini]\r\nIniFile = {win}\\" +
           name +
           ".ini\r\nSection = Settings\r\nKey = Path\r\nValue = {app}\r\n"
           "Flags = uninstall-delete-section\r\n"
           "[Registry]\r\nRootKey = HKCU\r\nSubKey = Software\\Pelorin " +
           name +
           "\r\nFlags = uninstall-delete-key\r\n"
           "[Registry]\r\nRootKey = HKCU\r\nSubKey = Software\\Pelorin " +
           name +
           "\\Settings\r\n"
           "ValueType = string\r\nValueName = Path\r\nValueData = {app}\r\nFlags = uninstall-delete-value\r\n"
           "[UninstallDelete]\r\nFileName = {app}\\Logs\\run.log\r\n";
}

}  // namespace

// Builds the product's distribution in work\<name> with the Windows build of the tool,
// which takes FERROW.EXE from its own folder.
Product BuildProduct(const ScratchDir& work, const std::string& name, std::size_t appSize) {
    std::vector<std::uint8_t> app = Bytes("the application of " + name);
    std::uint32_t noise = 2463534242u;
    for (std::size_t i = app.size(); i < appSize; ++i) {
        noise ^= noise << 13, noise ^= noise >> 17, noise ^= noise << 5;
        app.push_back(static_cast<std::uint8_t>(noise));
    }
    return BuildProductFrom(work, name, Records(name), {{"app.exe", app}, {"readme.txt", Bytes("Read me.\r\n")}});
}

Product BuildProductFrom(const ScratchDir& work, const std::string& name, const std::string& records,
                         const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& files) {
    Product product;
    product.name = name;
    product.appDir = ProgramFilesDir() + "\\" + name;
    const std::string folder = work / name;
    ::CreateDirectoryA(folder.c_str(), nullptr);
    for (const auto& [path, contents] : files) WriteBytes(folder + "\\" + path, contents);
    WriteBytes(folder + "\\p.pelproj", Bytes(SetupSection(name) + records));
    product.dist = folder + "\\dist";
    const ToolResult built = RunTool(Quote(ProgramPath("pelorin-build.exe")) + " " + Quote(folder + "\\p.pelproj") +
                                     " -o " + Quote(product.dist));
    EXPECT_EQ(built.exitCode, 0u) << built.output;
    EXPECT_NE(built.output.find("uninstaller from"), std::string::npos) << built.output;
    return product;
}

// The setup program through its wizard, with the folder and group it proposes.
void Install(const Product& product, const std::string& temp) {
    const EnvOverride tmp("TMP", temp.c_str());
    RunningProgram setup(Quote(product.dist + "\\pelorin.exe"), product.dist);
    EXPECT_EQ(WalkToInstall(setup.pid()), "");
    EXPECT_EQ(FinishWizard(setup.pid()), "");
    const auto boxes = AnswerBoxes(
        setup, [](const driver::MessageBoxInfo&) { return std::string("OK"); }, 120);
    for (const auto& box : boxes) ADD_FAILURE() << "setup showed \"" << box.caption << "\": " << box.text;
    EXPECT_EQ(setup.waitForExit(30), std::optional<DWORD>(0));
}

// Runs the uninstall entry's own command and answers Yes to its questions.
std::vector<driver::MessageBoxInfo> Uninstall(const Product& product, DWORD expectedExit) {
    const auto command = RegString(HKEY_LOCAL_MACHINE, product.uninstallKey(), "UninstallString");
    if (!command) {
        ADD_FAILURE() << "no uninstall entry for " << product.name;
        return {};
    }
    RunningProgram ferrow(*command, WindowsDir());
    const auto boxes = AnswerBoxes(
        ferrow, [](const driver::MessageBoxInfo& box) { return std::string(box.buttons.size() == 2 ? "Yes" : "OK"); },
        120);
    EXPECT_EQ(ferrow.waitForExit(30), std::optional<DWORD>(expectedExit));
    return boxes;
}

}  // namespace pelorin::e2e
