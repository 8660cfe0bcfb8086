# Native build: the simulated Windows, the unit tests and the end-to-end harness.
find_package(GTest REQUIRED)
find_package(Threads REQUIRED)

add_library(trevo_sim STATIC
  engine/sim/code_page.cpp
  engine/sim/best_fit.cpp
  engine/sim/file_system.cpp
  engine/sim/profile_document.cpp
  engine/sim/profile_engine.cpp
  engine/sim/dpi_view.cpp
  engine/sim/manifest_awareness.cpp
  engine/sim/monitors.cpp
  engine/sim/window_model.cpp
  engine/sim/window_scale.cpp
  engine/sim/window_frame.cpp
  engine/sim/sim_platform.cpp
  engine/sim/sim_kernel.cpp
  engine/sim/sim_notify_area.cpp
  engine/sim/startup_apps.cpp
  engine/sim/window_arrangement.cpp
  engine/sim/call_log.cpp
  engine/sim/sim_world.cpp
  engine/sim/process_death.cpp
  engine/sim/display_settings.cpp
  engine/sim/sim_input_calls.cpp
  engine/sim/sim_input.cpp
  engine/sim/sim_timers.cpp
  engine/sim/sim_monitor_calls.cpp
  engine/sim/sim_notice_panel.cpp
  engine/sim/sim_engine.cpp
  engine/sim/sim_peers.cpp
  engine/sim/sim_picture.cpp
  engine/sim/jpeg_guard.cpp
  engine/sim/string_tables.cpp
  engine/sim/png_chunks.cpp
)
target_link_libraries(trevo_sim PUBLIC trevo_program)
target_include_directories(trevo_sim SYSTEM PRIVATE /usr/include/stb)
# The simulated Windows carries the texts of the very script Trevo.exe is built from.
target_compile_definitions(trevo_sim PUBLIC TREVO_STRING_TABLES="${CMAKE_SOURCE_DIR}/res/texts.rc")

enable_testing()
file(GLOB TREVO_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(trevo_unit_tests ${TREVO_UNIT_TESTS})
target_link_libraries(trevo_unit_tests PRIVATE trevo_sim GTest::gtest_main Threads::Threads)
# Nearly every test file starts with GoogleTest and the simulated Trevo: parsed
# once, not once a file.
target_precompile_headers(trevo_unit_tests PRIVATE <gtest/gtest.h> <gmock/gmock.h>
  ${CMAKE_SOURCE_DIR}/tests/unit/sim_fixture.h)
# Some tests read the files Trevo ships.
target_compile_definitions(trevo_unit_tests PRIVATE TREVO_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
include(GoogleTest)
# The long days of switching take minutes in a Debug build on a busy machine.
gtest_discover_tests(trevo_unit_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS unit TIMEOUT 900)

# End-to-end tests drive the cross-built Trevo.exe under Wine: the 64-bit one
# through Wine's 64-bit loader always; the 32-bit one as well, in tests labelled
# e2e_x86, which only a machine that executes 32-bit code can run.
set(TREVO_WIN64_DIR "${CMAKE_SOURCE_DIR}/build/win64" CACHE PATH "Folder of the 64-bit Trevo.exe and its tools")
set(TREVO_WIN32_DIR "${CMAKE_SOURCE_DIR}/build/win32" CACHE PATH "Folder of the 32-bit Trevo.exe and its tools")

# trevo_add_wine_test(NAME name TIMEOUT seconds COMMAND args...): one test for
# each Windows build, NAME for the 64-bit one and NAME_x86 for the 32-bit one.
# In COMMAND, @EXE_DIR@ is that build's folder and @SUFFIX@ is empty or "-x86",
# for folders of its own. Tests under Wine never run at the same time.
function(trevo_add_wine_test)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "NAME;TIMEOUT" "COMMAND")
  foreach(arch win64 win32)
    if(arch STREQUAL "win64")
      set(name ${arg_NAME})
      set(exe_dir ${TREVO_WIN64_DIR})
      set(suffix "")
      set(labels e2e)
    else()
      set(name ${arg_NAME}_x86)
      set(exe_dir ${TREVO_WIN32_DIR})
      set(suffix "-x86")
      set(labels "e2e;e2e_x86")
    endif()
    string(REPLACE "@EXE_DIR@" "${exe_dir}" command "${arg_COMMAND}")
    string(REPLACE "@SUFFIX@" "${suffix}" command "${command}")
    add_test(NAME ${name} COMMAND ${command})
    set_tests_properties(${name} PROPERTIES
      LABELS "${labels}"
      RESOURCE_LOCK wine
      TIMEOUT ${arg_TIMEOUT}
      ENVIRONMENT "TREVO_EXE_DIR=${exe_dir};TREVO_WINEARCH=${arch};TREVO_E2E_WORK=${CMAKE_BINARY_DIR}/e2e${suffix};PYTHONDONTWRITEBYTECODE=1")
  endforeach()
endfunction()
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/e2e/CMakeLists.txt)
  add_subdirectory(tests/e2e)
endif()

if(EXISTS ${CMAKE_SOURCE_DIR}/tests/profile/CMakeLists.txt)
  add_subdirectory(tests/profile)
endif()

# The committed icons must be what the generator makes.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME icons_match_generator COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/make_icons.py --check)
set_tests_properties(icons_match_generator PROPERTIES LABELS unit)

# The machine set-up of tools/run and tools/test, on a stand-in apt.
add_test(NAME setup_script COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/tools/test_setup_script.py -v)
set_tests_properties(setup_script PROPERTIES LABELS unit TIMEOUT 300 ENVIRONMENT PYTHONDONTWRITEBYTECODE=1)

if(EXISTS ${CMAKE_SOURCE_DIR}/tests/libprobe/CMakeLists.txt)
  add_subdirectory(tests/libprobe)
endif()

add_subdirectory(bench)

# Fuzz targets: a separate clang build (tools/fuzz makes it).
option(TREVO_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
if(TREVO_FUZZ AND EXISTS ${CMAKE_SOURCE_DIR}/fuzz/CMakeLists.txt)
  add_subdirectory(fuzz)
endif()
