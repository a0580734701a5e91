# The undo log: the portable record list and REMOVE.LOG format (everywhere),
# and the Win32 replay that undoes the changes last-first.
pelorin_library(pelorin_undo_log
  SOURCES UndoRecord.cpp UndoChanges.cpp UndoLog.cpp UndoJournal.cpp ChangeText.cpp
  LIBS pelorin_core)

# The program-manager answer parser is portable (tested natively and fuzzable).
pelorin_library(pelorin_undo_progman_text
  SOURCES UndoProgmanText.cpp
  LIBS pelorin_core)

pelorin_library(setup_undo WIN32_ONLY
  SOURCES Undo.cpp UndoFile.cpp UndoProgman.cpp UndoPrompt.cpp UndoRegistry.cpp UndoSharedCount.cpp
          JournalRecovery.cpp
  LIBS pelorin_undo_log pelorin_undo_progman_text pelorin_setup_core setup_services install_dde
       platform_win platform_long_path shell32 advapi32 user32)
