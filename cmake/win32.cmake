# Windows build: Trevo.exe on the real Windows calls, and the small programs the
# end-to-end tests run beside it under Wine.
enable_language(RC)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_link_options(-static -static-libgcc -static-libstdc++)

add_library(trevo_win32 STATIC
  engine/win32/win32_platform.cpp
  engine/win32/win32_engine.cpp
  engine/win32/window_peer.cpp
  engine/win32/window_procedures.cpp
  engine/win32/focus.cpp
  engine/win32/win32_form.cpp
  engine/win32/win32_control.cpp
  engine/win32/text_controls.cpp
  engine/win32/button_controls.cpp
  engine/win32/scroll_bar.cpp
  engine/win32/hotkey_control.cpp
  engine/win32/picture_box.cpp
  engine/win32/notice_window.cpp
  engine/win32/win32_picture.cpp
  engine/win32/late_libraries.cpp
  engine/win32/dpi.cpp
  engine/win32/native_records.cpp
  engine/win32/win_constants_check.cpp
)
target_link_libraries(trevo_win32 PUBLIC trevo_program user32 gdi32 shell32 comctl32 uuid version advapi32)
target_compile_definitions(trevo_win32 PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX UNICODE _UNICODE _WIN32_WINNT=0x0601)

# The manifests name the processor the program is built for; the resource
# scripts find the made ones on their include path.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(TREVO_MANIFEST_ARCHITECTURE amd64)
  set(TREVO_RELEASE_ARCHITECTURE x64)
else()
  set(TREVO_MANIFEST_ARCHITECTURE x86)
  set(TREVO_RELEASE_ARCHITECTURE x86)
endif()
set(TREVO_MANIFEST_DIR ${CMAKE_BINARY_DIR}/manifests)
configure_file(res/trevo.manifest.in ${TREVO_MANIFEST_DIR}/trevo.manifest @ONLY)
configure_file(tests/wine/wintool.manifest.in ${TREVO_MANIFEST_DIR}/wintool.manifest @ONLY)
include_directories(${TREVO_MANIFEST_DIR})

add_executable(Trevo WIN32 app/main_win32.cpp res/trevo.rc)
# The resource compiler's own dependencies miss the pictures it embeds and the texts it includes.
file(GLOB TREVO_ICONS ${CMAKE_SOURCE_DIR}/res/*.ico)
set_source_files_properties(res/trevo.rc PROPERTIES OBJECT_DEPENDS
  "${TREVO_ICONS};${TREVO_MANIFEST_DIR}/trevo.manifest;${CMAKE_SOURCE_DIR}/res/texts.rc;${CMAKE_SOURCE_DIR}/res/text_ids.h")
target_link_libraries(Trevo PRIVATE trevo_win32)
target_compile_definitions(Trevo PRIVATE UNICODE _UNICODE)
target_link_options(Trevo PRIVATE -municode -s)

if(EXISTS ${CMAKE_SOURCE_DIR}/tests/wine/CMakeLists.txt)
  add_subdirectory(tests/wine)
endif()

if(EXISTS ${CMAKE_SOURCE_DIR}/tests/profile/CMakeLists.txt)
  add_subdirectory(tests/profile)
endif()

if(EXISTS ${CMAKE_SOURCE_DIR}/tests/libprobe/CMakeLists.txt)
  add_subdirectory(tests/libprobe)
endif()

# The shipped settings file stands next to the program, in the build and in the package.
add_custom_command(TARGET Trevo POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/res/Trevo.ini $<TARGET_FILE_DIR:Trevo>/Trevo.ini)

set(TREVO_DIST_DIR ${CMAKE_SOURCE_DIR}/dist)
# One package a build: Trevo-<version>-x64.zip for 64-bit Windows, -x86.zip for 32-bit.
set(TREVO_DIST_ZIP ${TREVO_DIST_DIR}/Trevo-${PROJECT_VERSION}-${TREVO_RELEASE_ARCHITECTURE}.zip)
add_custom_target(dist
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/dist-stage
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/dist-stage/Trevo ${TREVO_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Trevo> ${CMAKE_SOURCE_DIR}/res/Trevo.ini ${CMAKE_SOURCE_DIR}/res/README.txt
          ${CMAKE_BINARY_DIR}/dist-stage/Trevo
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/dist-stage ${CMAKE_COMMAND} -E tar cf ${TREVO_DIST_ZIP} --format=zip Trevo
  DEPENDS Trevo
  COMMENT "Packing ${TREVO_DIST_ZIP}"
  VERBATIM)

add_subdirectory(tests/probe)

# Benchmarks that run under Wine beside Trevo.exe.
foreach(bench_dir bench/wine bench/wallpaper)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${bench_dir}/CMakeLists.txt)
    add_subdirectory(${bench_dir})
  endif()
endforeach()
