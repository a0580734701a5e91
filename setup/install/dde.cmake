# Program-manager client: the command texts (portable, built in every tree) and
# TDDE over the DDE management library (Windows trees only).
pelorin_library(install_progman SOURCES ProgmanCommands.cpp LIBS pelorin_setup_core)
pelorin_library(install_dde WIN32_ONLY SOURCES DDEInt.cpp LIBS install_progman pelorin_core user32)
