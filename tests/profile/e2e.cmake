# The simulated profile functions against the real ones under Wine, once with the
# Western code page and once with the Japanese one. Each run has a Wine prefix of
# its own below the build folder.
find_package(Python3 3.9 REQUIRED COMPONENTS Interpreter)

foreach(code_page 1252 932)
  add_test(NAME profile_matches_windows_${code_page}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/profile/compare_profiles.py
      --native $<TARGET_FILE:profile_probe>
      --windows ${TREVO_WIN32_DIR}/profile_probe.exe
      --work ${CMAKE_BINARY_DIR}/profile-check/${code_page}
      --code-page ${code_page})
  set_tests_properties(profile_matches_windows_${code_page} PROPERTIES
    LABELS e2e
    RESOURCE_LOCK wine
    TIMEOUT 600
    ENVIRONMENT PYTHONDONTWRITEBYTECODE=1)
endforeach()
