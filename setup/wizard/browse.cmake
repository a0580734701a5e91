# The two choosers of the wizards: the folder browser component (linked by both programs,
# so it depends on the window layer only) and the group browse dialog of the setup program,
# with their portable text rules.
pelorin_library(wizard_browsetext SOURCES StatusPath.cpp GroupNames.cpp LIBS pelorin_core)

pelorin_library(wizard_browsefolder WIN32_ONLY
  SOURCES BrowseFolder.cpp
  LIBS wizard_browsetext ui shell32 ole32)

pelorin_library(wizard_browsegroups WIN32_ONLY
  SOURCES BrowseG.cpp GroupIcon.cpp
  LIBS wizard_browsetext ui_dialogs install_dde setup_services)
