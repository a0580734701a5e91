# setup_install: the installation engine (steps, file rules) and its installation window.
pelorin_library(setup_install WIN32_ONLY
  SOURCES InstallFormat.cpp FileRulesVersion.cpp FileRulesShared.cpp FileRulesRegister.cpp
          FileRulesRestart.cpp InstallFile.cpp InstallDirs.cpp InstallUninstall.cpp
          InstallIcons.cpp InstallEntries.cpp InstallEngine.cpp InstallForm.cpp InstallAlone.cpp
  LIBS setup_services setup_undo install_dde ui version shell32 ole32 uuid)
