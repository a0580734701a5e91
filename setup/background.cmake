# The background window's arithmetic and the RunEntry texts (portable, tested natively), and the
# window with the programs it starts (Windows trees only).
pelorin_library(setup_main_core SOURCES Background.cpp RunCommand.cpp LIBS pelorin_setup_core)

pelorin_library(setup_background WIN32_ONLY
  SOURCES MainForm.cpp RunPrograms.cpp RunSequence.cpp
  LIBS setup_main_core setup_services setup_install_form setup_wizard wizard_browsegroups ui ui_dialogs gdi32
       user32)
