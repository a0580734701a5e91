# setup_install: the installation engine (steps, file rules); it links no window code.
pelorin_library(setup_install WIN32_ONLY
  SOURCES FileRulesVersion.cpp FileRulesShared.cpp FileRulesRegister.cpp
          FileRulesRestart.cpp InstallFile.cpp InstallDirs.cpp InstallUninstall.cpp
          InstallIcons.cpp InstallEntries.cpp InstallEngine.cpp JournalFile.cpp TestKillPoint.cpp
  LIBS setup_services setup_undo install_dde platform_system_library shell32 ole32 uuid)

# setup_install_form: the installation window that runs the engine from the run sequence.
pelorin_library(setup_install_form WIN32_ONLY
  SOURCES InstallForm.cpp
  LIBS setup_install ui)
