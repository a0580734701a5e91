# Queued deletions of installed files: the list editing (portable, tested natively) and the
# platform's lists read and written (Windows trees only), used by the file installation.
pelorin_library(install_pending_text SOURCES PendingDeletes.cpp LIBS pelorin_core)
pelorin_library(install_pending WIN32_ONLY
  SOURCES FileRulesPending.cpp
  LIBS install_pending_text setup_services pelorin_setup_core advapi32)
if(TARGET setup_install)
  target_link_libraries(setup_install PUBLIC install_pending)
endif()
