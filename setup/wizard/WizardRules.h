// The wizard's rules that need no window: placeholder replacement in the page texts and the
// checks of the destination and group answers, with the drive queries and boxes behind interfaces.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pelorin {

// "[name]" -> appName, then "[name/ver]" -> appVerName, then "[kb]" -> totalSize div 1024, in
// rich-text source: the names are escaped so that they show as typed.
std::string ReplacePlaceholders(const std::string& text, const std::string& appName, const std::string& appVerName,
                                std::int32_t totalSize);

// Leading and trailing characters with codes 0 to 32 removed.
std::string TrimControls(const std::string& text);

// What the destination check asks of the machine.
class IDriveQuery {
public:
    virtual ~IDriveQuery() = default;
    // Free bytes of the drive whose root is given ("C:\"); empty when the query fails.
    virtual std::optional<std::uint64_t> FreeBytes(const std::string& root) = 0;
    // The directory test of the setup program (a root unchanged, others without trailing "\").
    virtual bool DirExists(const std::string& path) = 0;
};

// What the checks show the user: the page's edit and the message boxes.
class IAnswerSite {
public:
    virtual ~IAnswerSite() = default;
    // The checked text goes back into the edit (trimmed, later without its trailing "\").
    virtual void SetAnswer(const std::string& text) = 0;
    // A warning box (exclamation, default caption, OK).
    virtual void Warning(const std::string& text) = 0;
    // A question box with Yes and No; true only for Yes.
    virtual bool Question(const std::string& text, const std::string& caption, bool defaultNo) = 0;
};

// The destination page's checks in their order; true when the wizard may go on. totalSize is
// the installation's byte count as the description sums it (compared as unsigned 32-bit).
bool CheckDestination(const std::string& typed, std::int32_t totalSize, IDriveQuery& drives, IAnswerSite& site);

// The group page's checks; true when the wizard may go on.
bool CheckGroup(const std::string& typed, IAnswerSite& site);

// The free-space question's text for the two byte counts.
std::string NotEnoughSpaceText(std::uint32_t requiredBytes, std::uint64_t freeBytes);

}  // namespace pelorin
