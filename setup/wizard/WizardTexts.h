// The rich texts stored with the setup wizard's pages: a bold 10-point heading, 8-point body
// lines, placeholders in bold navy and the names of buttons in bold.
#pragma once

#include <string>

namespace pelorin {

// Page 0 to 5 (Welcome, licence, destination, group, ready, finished); empty for other numbers.
const std::string& WizardPageText(int page);

// The licence box's own text, kept when the description has no licence.
const std::string& StoredLicenseText();

// The About box's credits, headed "About Pelorin Wizard".
const std::string& AboutText();

// Text made safe to stand inside rich-text source: "\", "{" and "}" escaped.
std::string RtfEscape(const std::string& text);

}  // namespace pelorin
