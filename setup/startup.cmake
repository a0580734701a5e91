# Start-up and system services of the setup program, and the program pelorin.exe.
pelorin_library(setup_services WIN32_ONLY
  SOURCES CmnFunc.cpp CmnFuncReg.cpp CmnFuncPlatform.cpp MsgBox.cpp ExitQuestion.cpp Restart.cpp UnattendedAnswer.cpp
  LIBS pelorin_setup_core platform_win platform_long_path user32 advapi32)

pelorin_library(setup_startup WIN32_ONLY
  SOURCES Startup.cpp InterruptedInstall.cpp
  LIBS setup_services setup_undo pelorin_setup_core)

pelorin_program(pelorin WIN32_ONLY GUI MANIFEST requireAdministrator
  SOURCES Main.cpp $<TARGET_OBJECTS:setup_pictures>
  LIBS setup_startup setup_background)
