// The texts the update wizard's form carries: the rich texts of its pages, the licence
// agreement and the About box.
#pragma once

namespace pelorin::ufup {

extern const char* const kWelcomeRtf;
extern const char* const kLicenseHeadingRtf;
extern const char* const kLicenseRtf;
extern const char* const kDirectoryHeadingRtf;
extern const char* const kSummaryHeadingRtf;
extern const char* const kCompleteRtf;
extern const char* const kAboutText;

}  // namespace pelorin::ufup
