// The page texts of the setup wizard as rich-text source, one font ("MS Sans Serif") and one
// colour (navy, red 0 green 0 blue 128) for the highlighted placeholders.
#include "setup/wizard/WizardTexts.h"

#include <array>

namespace pelorin {

namespace {

const char* const kHead =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss MS Sans Serif;}}"
    "{\\colortbl ;\\red0\\green0\\blue128;}\\pard\\f0";

std::string Page(const char* heading, const char* body) {
    return std::string(kHead) + "\\fs20\\b " + heading + "\\b0\\par\\fs16\\par " + body + "}";
}

}  // namespace

const std::string& WizardPageText(int page) {
    static const std::array<std::string, 6> texts = {
        Page("Welcome!",
             "Welcome to the [name] Setup Wizard. This wizard will install \\cf1\\b [name/ver]\\cf0\\b0  onto your "
             "computer.\\par\\par It is strongly recommended that you exit all Windows programs before running this "
             "Setup program.\\par Click \\b Cancel\\b0  to quit Setup and then close any programs you have running.  "
             "Click \\b Next\\b0  to continue with the Setup program.\\par\\par \\cf1 WARNING\\cf0 : This program is "
             "protected by copyright law. Unauthorised reproduction or distribution of this program, or of any part "
             "of it, may result in civil and criminal penalties.\\par\\par "),
        Page("License Agreement",
             "Please read the following License Agreement. Do you accept all of the terms of the following "
             "agreement? If you choose \\b No\\b0 , Setup will close. To install \\cf1\\b [name]\\cf0\\b0 , you must "
             "accept this agreement."),
        Page("Destination Folder",
             "Please select the folder you would like Setup to install \\cf1\\b [name]\\cf0\\b0  to. To specify a "
             "different folder, type a new name or use the \\b Browse\\b0  button to select an existing folder."),
        Page("Program Icons Group",
             "Setup can create the \\cf1\\b [name]\\cf0\\b0  program icons in the following group. To specify a "
             "different group, type a new name or use the \\b Browse\\b0  button to select an existing group."),
        Page("Setup is ready",
             "Setup Wizard now has enough information to install \\cf1\\b [name]\\cf0\\b0  onto your computer.\\par"
             "\\par Press \\b Back\\b0  to review your settings or \\b Install\\b0  to continue."),
        Page("Setup was successful",
             "Setup Wizard has successfully installed \\cf1\\b [name]\\cf0\\b0  onto your computer.\\par\\par Press "
             "\\b Finish\\b0  to exit Setup."),
    };
    static const std::string none;
    if (page < 0 || page >= static_cast<int>(texts.size())) return none;
    return texts[static_cast<std::size_t>(page)];
}

const std::string& StoredLicenseText() {
    static const std::string text = std::string(kHead) + "\\fs16 License Agreement\\par }";
    return text;
}

const std::string& AboutText() {
    static const std::string text =
        Page("About Pelorin Wizard",
             "Pelorin Wizard installs a program from its setup description and files, and records every "
             "change so that the program can be removed again.\\par\\par Written by the Pelorin developers.");
    return text;
}

std::string RtfEscape(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        if (c == '\\' || c == '{' || c == '}') result += '\\';
        result += c;
    }
    return result;
}

}  // namespace pelorin
