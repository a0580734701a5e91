// Builds the uninstaller's closing message from what could not be removed and what waits
// for the next restart.
#include "uninstall/UninstallReport.h"

#include "setup/CmnFunc2.h"

namespace pelorin {

std::string UninstallReport(const std::string& title, const std::vector<UndoFailure>& leftovers,
                            const std::vector<std::string>& scheduled) {
    std::string text;
    if (leftovers.empty()) {
        text = StringReplaceAll("%s was successfully removed from your computer.", "%s", title);
    } else {
        text = StringReplaceAll(
            "%s was removed, but some elements could not be removed. You can remove them manually:", "%s", title);
        text += "\r\n";
        for (std::size_t i = 0; i < leftovers.size() && i < UninstallReportMaxItems; ++i)
            text += "\r\n" + leftovers[i].Item + " (" + leftovers[i].Reason + ")";
        if (leftovers.size() > UninstallReportMaxItems)
            text += "\r\n" + StringReplaceAll("... and %d more.", "%d",
                                              std::to_string(leftovers.size() - UninstallReportMaxItems));
    }
    if (!scheduled.empty()) {
        text += "\r\n\r\n";
        text += "The following files are in use and will be removed when you restart your computer:";
        text += "\r\n";
        for (const std::string& file : scheduled) text += "\r\n" + file;
    }
    return text;
}

}  // namespace pelorin
