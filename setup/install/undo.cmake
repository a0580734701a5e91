# The undo log: the portable record list and REMOVE.LOG format (everywhere),
# and the Win32 replay that undoes the changes last-first.
pelorin_library(pelorin_undo_log
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/UndoRecord.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UndoChanges.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UndoLog.cpp
  LIBS pelorin_core)
