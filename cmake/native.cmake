# Native build: the simulated Windows, the unit tests and the end-to-end harness.
find_package(GTest REQUIRED)
find_package(Threads REQUIRED)

add_library(trevo_sim STATIC
  engine/sim/code_page.cpp
  engine/sim/best_fit.cpp
  engine/sim/file_system.cpp
  engine/sim/profile_document.cpp
  engine/sim/profile_engine.cpp
  engine/sim/window_model.cpp
  engine/sim/window_frame.cpp
  engine/sim/sim_platform.cpp
  engine/sim/sim_kernel.cpp
  engine/sim/window_arrangement.cpp
  engine/sim/call_log.cpp
  engine/sim/sim_world.cpp
  engine/sim/sim_input_calls.cpp
  engine/sim/sim_input.cpp
  engine/sim/sim_engine.cpp
  engine/sim/sim_peers.cpp
  engine/sim/sim_picture.cpp
  engine/sim/jpeg_guard.cpp
  engine/sim/png_chunks.cpp
)
target_link_libraries(trevo_sim PUBLIC trevo_program)
target_include_directories(trevo_sim SYSTEM PRIVATE /usr/include/stb)

enable_testing()
file(GLOB TREVO_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(trevo_unit_tests ${TREVO_UNIT_TESTS})
target_link_libraries(trevo_unit_tests PRIVATE trevo_sim GTest::gtest_main Threads::Threads)
# Some tests read the files Trevo ships.
target_compile_definitions(trevo_unit_tests PRIVATE TREVO_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
include(GoogleTest)
gtest_discover_tests(trevo_unit_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS unit)

# End-to-end tests drive the cross-built Trevo.exe under Wine.
set(TREVO_WIN32_DIR "${CMAKE_SOURCE_DIR}/build/win32" CACHE PATH "Folder of the cross-built Trevo.exe")
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

if(EXISTS ${CMAKE_SOURCE_DIR}/tests/libprobe/CMakeLists.txt)
  add_subdirectory(tests/libprobe)
endif()

add_subdirectory(bench)

# Fuzz targets: a separate clang build (tools/fuzz makes it).
option(TREVO_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
if(TREVO_FUZZ AND EXISTS ${CMAKE_SOURCE_DIR}/fuzz/CMakeLists.txt)
  add_subdirectory(fuzz)
endif()
