# The setup wizard: its rules and page texts (portable), its form, and the pictures of the
# setup program.
pelorin_library(setup_wizard_rules
  SOURCES WizardRules.cpp WizardTexts.cpp
  LIBS pelorin_setup_core)

pelorin_library(setup_wizard WIN32_ONLY
  SOURCES Wizard.cpp About.cpp MachineDrives.cpp UnattendedChoices.cpp
  LIBS setup_wizard_rules setup_services wizard_browsefolder wizard_browsegroups components ui)

# Link setup_pictures into every program that shows the pictures: resources of a static
# library would not reach the program.
if(WIN32)
  add_library(setup_pictures OBJECT Pictures.rc)
  # The resource compiler's dependencies are not scanned: a redrawn picture rebuilds the resources.
  set_source_files_properties(Pictures.rc PROPERTIES OBJECT_DEPENDS
    "${CMAKE_CURRENT_LIST_DIR}/pictures/side.bmp;${CMAKE_CURRENT_LIST_DIR}/pictures/logo.bmp;${CMAKE_CURRENT_LIST_DIR}/pictures/about.bmp")
endif()
