# The library probe under Wine: its own Wine prefix below the build folder, its
# own virtual display, started and ended by run_under_wine.py.
find_package(Python3 3.9 REQUIRED COMPONENTS Interpreter)

add_test(NAME libprobe_under_wine
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/run_under_wine.py
          --exe ${TREVO_WIN32_DIR}/libprobe.exe
          --prefix ${CMAKE_BINARY_DIR}/libprobe-wine)
set_tests_properties(libprobe_under_wine PROPERTIES
  LABELS e2e
  RESOURCE_LOCK wine
  TIMEOUT 280
  ENVIRONMENT PYTHONDONTWRITEBYTECODE=1)
