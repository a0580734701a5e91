// The page texts as rich-text source: "MS Sans Serif", product names in navy, the warning in red.
// Colour table: 1 black, 2 navy, 3 red.
#include "update/ufupTexts.h"

namespace pelorin::ufup {

#define PELORIN_RTF_HEAD                                                      \
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 MS Sans Serif;}}" \
    "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue128;\\red255\\green0\\blue0;}\\f0\\fs16 "

const char* const kWelcomeRtf = PELORIN_RTF_HEAD
    "{\\b\\fs28 Welcome!}\\par\\par "
    "This wizard turns the Lite version of {\\cf2\\b TZarnix} into the {\\cf2\\b TZarnix Professional edition}.\\par\\par "
    "It is strongly recommended that you close all other programs before you continue.\\par\\par "
    "Press {\\b Cancel} to quit the wizard now, or {\\b Next} to continue.\\par\\par "
    "{\\b Warning:} this program is protected by copyright law. Copying or distributing it, or any part of it, "
    "without authorisation is prohibited.\\par\\par "
    "{\\cf3 Note: the TZarnix Lite edition must be installed before you run this update, or the update will fail.}\\par}";

const char* const kLicenseHeadingRtf = PELORIN_RTF_HEAD
    "{\\b\\fs24 License Agreement}\\par "
    "Please read the following license agreement. If you choose No, the wizard will close. "
    "You must accept the agreement to update {\\cf2\\b TZarnix}.\\par}";

const char* const kLicenseRtf = PELORIN_RTF_HEAD
    "{\\b TZARNIX PROFESSIONAL EDITION - LICENSE AGREEMENT}\\par\\par "
    "1. This software is licensed, not sold. The licence lets one developer use TZarnix Professional edition on "
    "any number of machines, as long as only that developer uses it.\\par\\par "
    "2. Programs you build with TZarnix may be distributed without royalties. The units, their source code and "
    "the Self-Extracting Builder may not be distributed, in whole or in part.\\par\\par "
    "3. You may not rent, lease or lend the software, nor remove its copyright notices.\\par\\par "
    "4. The software is provided \"as is\", without warranty of any kind. In no event shall its authors be liable "
    "for any damages arising from its use.\\par\\par "
    "5. This agreement ends when you break any of its terms; you must then destroy every copy of the software.\\par\\par "
    "Do you accept all the terms of this license agreement?\\par}";

const char* const kDirectoryHeadingRtf = PELORIN_RTF_HEAD
    "{\\b\\fs24 TZarnix Units Folders}\\par "
    "Update Wizard requires that you specify the folders where the TZarnix units are located. "
    "Use the Browse buttons to select them.\\par}";

const char* const kSummaryHeadingRtf = PELORIN_RTF_HEAD
    "{\\b\\fs24 Update Summary}\\par "
    "Update Wizard will make the following modifications. Press Update to continue, or Cancel to exit.\\par}";

const char* const kCompleteRtf = PELORIN_RTF_HEAD
    "{\\b\\fs28 Update Complete}\\par\\par "
    "Your copy of TZarnix has been updated to {\\cf2\\b TZarnix 1.1 Professional edition}.\\par\\par "
    "You must now recompile the components library or package that holds TZarnix.\\par\\par "
    "Reading the help of the Professional edition is recommended: it opens when you close this wizard.\\par\\par "
    "Press Exit to close the wizard.\\par}";

#undef PELORIN_RTF_HEAD

const char* const kAboutText =
    "Update Wizard for TZarnix Professional edition 1.1\r\r"
    "Copyright (c) 1998 Ostrelo Software. All rights reserved.\r"
    "Translation by the Ostrelo localisation team.\r\r"
    "This update may be distributed only to registered users of TZarnix.";

}  // namespace pelorin::ufup
