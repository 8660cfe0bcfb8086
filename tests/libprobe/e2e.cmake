# The library probe under Wine: its own Wine prefix below the build folder, its
# own virtual display, started and ended by run_under_wine.py.
find_package(Python3 3.9 REQUIRED COMPONENTS Interpreter)

trevo_add_wine_test(NAME libprobe_under_wine TIMEOUT 280
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/run_under_wine.py
          --exe @EXE_DIR@/libprobe.exe
          --prefix ${CMAKE_BINARY_DIR}/libprobe-wine@SUFFIX@)
