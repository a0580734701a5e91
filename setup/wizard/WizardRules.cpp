// Checks of the wizard's answers, each refusal a box in a fixed order; the destination's free
// space is computed in 64 bits so that large drives are not reported as nearly full.
#include "setup/wizard/WizardRules.h"

#include "setup/CmnFunc2.h"
#include "setup/wizard/WizardTexts.h"

namespace pelorin {

namespace {

const char* const kDestinationChars = "/:*?\"<>|,";
const char* const kGroupChars = "\\/:*?\"<>|,";

}  // namespace

std::string ReplacePlaceholders(const std::string& text, const std::string& appName, const std::string& appVerName,
                                std::int32_t totalSize) {
    // The names go into rich-text source: their own "\", "{" and "}" must stay text.
    std::string result = StringReplaceAll(text, "[name]", RtfEscape(appName));
    result = StringReplaceAll(result, "[name/ver]", RtfEscape(appVerName));
    return StringReplaceAll(result, "[kb]", std::to_string(totalSize / 1024));
}

std::string TrimControls(const std::string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= 32) ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32) --last;
    return text.substr(first, last - first);
}

std::string NotEnoughSpaceText(std::uint32_t requiredBytes, std::uint64_t freeBytes) {
    return "Setup Wizard requires at least " + std::to_string(requiredBytes / 1024) +
           " KB of free space to install, but the selected drive only has " + std::to_string(freeBytes / 1024) +
           " KB available.\r\n\r\nDo you want to continue anyway?";
}

bool CheckDestination(const std::string& typed, std::int32_t totalSize, IDriveQuery& drives, IAnswerSite& site) {
    std::string text = TrimControls(typed);
    site.SetAnswer(text);
    if (text.find("\\\\") != std::string::npos) {
        site.Warning(
            "Setup Wizard cannot install to a UNC pathname. If you are trying to install to a network, you will need to map a network drive.");
        return false;
    }
    if (text.size() < 4 || text[1] != ':' || text[2] != '\\') {
        site.Warning("You must enter a full path with drive letter; for example:\r\nC:\\ZEL");
        return false;
    }
    if (text.find_first_of(kDestinationChars, 3) != std::string::npos) {
        site.Warning(
            "The directory name cannot include any of the following characters after the colon:\r\n\r\n/ : * ? \" < > | ,");
        return false;
    }
    const char letter = text[0] >= 'a' && text[0] <= 'z' ? static_cast<char>(text[0] - 'a' + 'A') : text[0];
    std::optional<std::uint64_t> freeBytes;
    if (letter >= 'A' && letter <= 'Z') freeBytes = drives.FreeBytes(std::string(1, text[0]) + ":\\");
    if (!freeBytes) {
        site.Warning("The drive you selected does not exist. Please select another.");
        return false;
    }
    text = RemoveBackslash(text);
    site.SetAnswer(text);
    const auto required = static_cast<std::uint32_t>(totalSize);
    if (required > *freeBytes &&
        !site.Question(NotEnoughSpaceText(required, *freeBytes), "Not Enough Disk Space", true))
        return false;
    if (drives.DirExists(text) &&
        !site.Question("Setup Wizard has detected that the directory " + text +
                           " already exists.\r\n\r\nWould you like to install your software to that directory anyway?",
                       "Directory Exists", false))
        return false;
    return true;
}

bool CheckGroup(const std::string& typed, IAnswerSite& site) {
    const std::string text = TrimControls(typed);
    site.SetAnswer(text);
    if (text.empty()) {
        site.Warning("You must choose a group name.");
        return false;
    }
    if (text.find_first_of(kGroupChars) != std::string::npos) {
        site.Warning("The group name cannot include any of the following characters:\r\n\r\n\\ / : * ? \" < > | ,");
        return false;
    }
    return true;
}

}  // namespace pelorin
