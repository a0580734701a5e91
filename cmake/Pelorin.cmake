# Build helpers shared by every folder: warnings, test registration and the
# distinction between the native tree and the Windows trees.

# pelorin_warnings(target): the project's warning policy, warnings are errors.
function(pelorin_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# pelorin_target_common(target folder libs...): what every executable and test library of the
# tree has: the tree's root on its include path, its libraries, its output folder, the warnings.
function(pelorin_target_common target folder)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PRIVATE ${ARGN})
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${folder})
  pelorin_warnings(${target})
endfunction()

# pelorin_compact(target): in the Windows trees, compiles for size with every function and datum
# in a section of its own, so that the programs' link can drop what nothing calls (the wizards
# travel inside packages). The libraries and the GUI programs use it; the native tree, the tools
# and the tests keep the build type's optimisation. The wizards run their code on one thread, so
# function-local statics need no guard (the guard would bring the runtime's thread library).
function(pelorin_compact target)
  if(WIN32)
    target_compile_options(${target} PRIVATE -Os -ffunction-sections -fdata-sections -fno-threadsafe-statics)
  endif()
endfunction()

# pelorin_leave_unless_in_this_tree(): leaves the function below that calls it when its
# WIN32_ONLY or NATIVE_ONLY option keeps the target out of this tree (return() in a macro
# leaves the calling function).
macro(pelorin_leave_unless_in_this_tree)
  if((A_WIN32_ONLY AND NOT WIN32) OR (A_NATIVE_ONLY AND WIN32))
    return()
  endif()
endmacro()

# Sources are named one by one, relative to the folder of the CMakeLists.txt (or of the .cmake
# fragment it includes), in the SOURCES of the functions below.

# pelorin_library(name [WIN32_ONLY] [NATIVE_ONLY] SOURCES ... LIBS ... [DEPENDS ...])
# A static library. WIN32_ONLY libraries exist only in the Windows trees, NATIVE_ONLY ones
# only in the native tree. DEPENDS: targets built before it (programs or test libraries
# its users start or load).
function(pelorin_library name)
  cmake_parse_arguments(A "WIN32_ONLY;NATIVE_ONLY" "" "SOURCES;LIBS;DEPENDS" ${ARGN})
  pelorin_leave_unless_in_this_tree()
  add_library(${name} STATIC ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${A_LIBS})
  if(A_DEPENDS)
    add_dependencies(${name} ${A_DEPENDS})
  endif()
  pelorin_warnings(${name})
  pelorin_compact(${name})
endfunction()

# pelorin_program(name [WIN32_ONLY] [NATIVE_ONLY] [GUI] [MANIFEST level] SOURCES ... LIBS ...)
# An executable that lands in bin/. GUI programs use the Windows subsystem. In the Windows trees
# every program narrows its library search before anything else runs (SafeLibrarySearch), and
# MANIFEST embeds an application manifest with that requestedExecutionLevel (asInvoker,
# highestAvailable or requireAdministrator); the programs we ship have one.
function(pelorin_program name)
  cmake_parse_arguments(A "WIN32_ONLY;NATIVE_ONLY;GUI" "OUTPUT_NAME;MANIFEST" "SOURCES;LIBS" ${ARGN})
  pelorin_leave_unless_in_this_tree()
  if(A_GUI AND WIN32)
    add_executable(${name} WIN32 ${A_SOURCES})
  else()
    add_executable(${name} ${A_SOURCES})
  endif()
  if(WIN32)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/platform/win/SafeLibrarySearch.cpp)
    if(A_MANIFEST)
      pelorin_embed_manifest(${name} ${A_MANIFEST})
    endif()
  endif()
  pelorin_target_common(${name} ${PROJECT_BINARY_DIR}/bin ${A_LIBS})
  if(A_OUTPUT_NAME)
    set_target_properties(${name} PROPERTIES OUTPUT_NAME ${A_OUTPUT_NAME})
  endif()
  if(A_GUI AND WIN32)
    # The wizards travel inside packages: ship them without debugging symbols or unused code.
    # QuietTerminate keeps the runtime's verbose terminate handler out, RuntimeThrows its
    # message-building error throws.
    pelorin_compact(${name})
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/platform/win/QuietTerminate.cpp
      ${PROJECT_SOURCE_DIR}/platform/win/RuntimeThrows.cpp)
    target_link_options(${name} PRIVATE -s -Wl,--gc-sections)
  endif()
endfunction()

# pelorin_embed_manifest(target level): the application manifest of cmake/AppManifest.xml.in with
# that execution level, as resource 1 of type 24 (the manifest the loader reads at process start).
function(pelorin_embed_manifest target level)
  set(PELORIN_MANIFEST_PROGRAM ${target})
  set(PELORIN_MANIFEST_LEVEL ${level})
  set(manifest ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/AppManifest.xml.in ${manifest} @ONLY)
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest.rc.in "1 24 \"${manifest}\"\n")
  configure_file(${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest.rc COPYONLY)
  set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest.rc PROPERTIES OBJECT_DEPENDS ${manifest})
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest.rc)
endfunction()

# pelorin_test(name [WIN32_ONLY] [NATIVE_ONLY] SOURCES ... LIBS ... [DEPENDS ...] [LABELS ...]
#              [TIMEOUT seconds] [RESOURCE_LOCK name])
# One GoogleTest executable registered as one ctest entry (each Wine start
# costs about a second, so test cases are not registered one by one).
# In the Windows tree the test runs under Wine through the build tree's wrapper.
# DEPENDS: the programs the test starts, built with it. RESOURCE_LOCK: tests that share the
# name never run at the same time.
function(pelorin_test name)
  cmake_parse_arguments(A "WIN32_ONLY;NATIVE_ONLY" "TIMEOUT;RESOURCE_LOCK" "SOURCES;LIBS;DEPENDS;LABELS;ARGS" ${ARGN})
  if((A_WIN32_ONLY AND NOT WIN32) OR (A_NATIVE_ONLY AND WIN32) OR PELORIN_FUZZ)
    return()
  endif()
  add_executable(${name} ${A_SOURCES})
  pelorin_target_common(${name} ${PROJECT_BINARY_DIR}/tests ${A_LIBS} GTest::gtest_main)
  if(A_DEPENDS)
    add_dependencies(${name} ${A_DEPENDS})
  endif()
  if(WIN32 AND NOT PELORIN_WINE_TESTS)
    return()
  endif()
  add_test(NAME ${name} COMMAND ${name} ${A_ARGS} WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/tests)
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 600)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${A_TIMEOUT}
    ENVIRONMENT "PELORIN_SOURCE_DIR=${PROJECT_SOURCE_DIR};PELORIN_BINARY_DIR=${PROJECT_BINARY_DIR}")
  if(A_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${A_LABELS}")
  endif()
  if(A_RESOURCE_LOCK)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK ${A_RESOURCE_LOCK})
  endif()
endfunction()

# pelorin_test_dll(name OUTPUT_NAME file SOURCES ... [LIBS ...])
# A Windows test library tests/testdlls/<file>.dll with undecorated export names (also in the
# 32-bit tree); exists only in the Windows trees.
function(pelorin_test_dll name)
  cmake_parse_arguments(A "" "OUTPUT_NAME" "SOURCES;LIBS" ${ARGN})
  if(NOT WIN32)
    return()
  endif()
  add_library(${name} SHARED ${A_SOURCES})
  pelorin_target_common(${name} ${PROJECT_BINARY_DIR}/tests/testdlls advapi32 ${A_LIBS})
  target_link_options(${name} PRIVATE -Wl,--kill-at)
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${A_OUTPUT_NAME})
endfunction()

# pelorin_fuzz_target(name SOURCES ... LIBS ...)
# A libFuzzer target bin/fuzz_<name>; exists only in the fuzz tree (clang).
function(pelorin_fuzz_target name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT PELORIN_FUZZ)
    return()
  endif()
  add_executable(fuzz_${name} ${A_SOURCES})
  pelorin_target_common(fuzz_${name} ${PROJECT_BINARY_DIR}/bin ${A_LIBS})
  target_compile_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
endfunction()

# Folders are discovered, never named: every folder with a CMakeLists.txt of its own is added
# from here, so a new folder takes part as soon as it has one, and no list names a folder
# that does not exist. Folders never add their subfolders themselves. Targets link by name,
# so the order in which the folders are added does not matter.
# pelorin_add_folders(SKIP regex GLOBS pattern...): adds <pattern>/CMakeLists.txt in name order,
# except folders whose path relative to the top matches SKIP.
function(pelorin_add_folders)
  cmake_parse_arguments(A "" "SKIP" "GLOBS" ${ARGN})
  set(lists)
  foreach(pattern IN LISTS A_GLOBS)
    file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${pattern}/CMakeLists.txt)
    list(APPEND lists ${found})
  endforeach()
  list(SORT lists)
  foreach(list_file IN LISTS lists)
    get_filename_component(dir ${list_file} DIRECTORY)
    file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR} ${dir})
    if(A_SKIP AND rel MATCHES "${A_SKIP}")
      continue()
    endif()
    add_subdirectory(${dir} ${PROJECT_BINARY_DIR}/${rel})
  endforeach()
endfunction()
