# The simulated profile functions against the real ones under Wine, once with the
# Western code page and once with the Japanese one. Each run has a Wine prefix of
# its own below the build folder.
find_package(Python3 3.9 REQUIRED COMPONENTS Interpreter)

foreach(code_page 1252 932)
  trevo_add_wine_test(NAME profile_matches_windows_${code_page} TIMEOUT 600
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/profile/compare_profiles.py
      --native $<TARGET_FILE:profile_probe>
      --windows @EXE_DIR@/profile_probe.exe
      --work ${CMAKE_BINARY_DIR}/profile-check@SUFFIX@/${code_page}
      --code-page ${code_page})
endforeach()
