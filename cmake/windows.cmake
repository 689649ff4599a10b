# The Windows deliverables: vexeng.dll, vexrun.exe, setup.exe (vexedit.exe as it lands),
# and the Windows-side tests that run under Wine.
add_compile_definitions(VEX_WINDOWS_HOST=1 WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
add_compile_options(-Wall -Wextra -Wno-unused-parameter -Wno-cast-function-type)
# Static runtime: the binaries must run on a clean Windows with no extra DLLs.
set(VEX_STATIC_LINK -static -static-libgcc -static-libstdc++)

file(GLOB VEX_WINDOWS_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/engine/runtime_windows/*.cpp
  ${CMAKE_SOURCE_DIR}/engine/runtime_windows/*.rc
  ${CMAKE_SOURCE_DIR}/engine/builtins/*.cpp
  ${CMAKE_SOURCE_DIR}/engine/internet/*.cpp
  ${CMAKE_SOURCE_DIR}/engine/browser/*.cpp)

add_library(vexeng SHARED ${VEX_CORE_SOURCES} ${VEX_WINDOWS_SOURCES}
            ${CMAKE_SOURCE_DIR}/engine/vexeng.def)
set_target_properties(vexeng PROPERTIES PREFIX "" OUTPUT_NAME vexeng)
target_include_directories(vexeng PRIVATE ${CMAKE_SOURCE_DIR}/engine ${CMAKE_SOURCE_DIR}/engine/runtime_windows)
target_link_options(vexeng PRIVATE ${VEX_STATIC_LINK})
target_link_libraries(vexeng PRIVATE user32 gdi32 comctl32 comdlg32 shell32 ole32 oleaut32 uuid
                      advapi32 winmm ws2_32)
# Header-only libraries copied from Debian packages by ./x (here too, for a tree configured
# by hand), so the cross compiler never looks into the host's /usr/include.
set(VEX_VENDOR_INCLUDE ${CMAKE_BINARY_DIR}/../vendor/include)
if(NOT EXISTS ${VEX_VENDOR_INCLUDE}/nlohmann/json.hpp AND EXISTS /usr/include/nlohmann/json.hpp)
  file(COPY /usr/include/nlohmann DESTINATION ${VEX_VENDOR_INCLUDE})
endif()
target_include_directories(vexeng SYSTEM PRIVATE ${VEX_VENDOR_INCLUDE})

add_executable(setup WIN32 ${CMAKE_SOURCE_DIR}/setup/setup_main.cpp)
target_link_options(setup PRIVATE ${VEX_STATIC_LINK})

# The dialog catcher answers message boxes for the console runner and the tests.
file(GLOB VEX_TOOLS_COMMON CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/common/*.cpp)

file(GLOB VEX_VEXRUN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/vexrun/*.cpp)
if(VEX_VEXRUN_SOURCES)
  add_executable(vexrun ${VEX_VEXRUN_SOURCES} ${VEX_TOOLS_COMMON})
  target_include_directories(vexrun PRIVATE ${CMAKE_SOURCE_DIR}/engine ${CMAKE_SOURCE_DIR}/tools/common)
  target_link_options(vexrun PRIVATE ${VEX_STATIC_LINK})
  target_link_libraries(vexrun PRIVATE user32 gdi32 ole32)
endif()

# GoogleTest for the Windows-side tests, built from the Debian sources with this toolchain.
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Small programs the tests start (Vltrix.exe for the setup stub, ...): one .cpp each.
file(GLOB VEX_TEST_PROGRAMS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/windows/programs/*.cpp)
set(VEX_TEST_PROGRAM_TARGETS)
foreach(src ${VEX_TEST_PROGRAMS})
  get_filename_component(prog ${src} NAME_WE)
  add_executable(${prog} WIN32 ${src})
  set_target_properties(${prog} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/testprograms)
  target_link_options(${prog} PRIVATE ${VEX_STATIC_LINK})
  target_link_libraries(${prog} PRIVATE user32 gdi32)
  list(APPEND VEX_TEST_PROGRAM_TARGETS ${prog})
endforeach()

# The target program the window built-ins are tested against: one program, and the same
# windows as a DLL for a host that needs them in its own process (menus under Wine).
set(VEX_TARGET_DIR ${CMAKE_SOURCE_DIR}/tests/apps/target)
set(VEX_TARGET_COMMON ${VEX_TARGET_DIR}/target_app.cpp ${VEX_TARGET_DIR}/target.rc)
add_executable(vextarget WIN32 ${VEX_TARGET_DIR}/target_main.cpp ${VEX_TARGET_COMMON})
add_library(vextarget_dll SHARED ${VEX_TARGET_DIR}/target_dll.cpp ${VEX_TARGET_COMMON})
set_target_properties(vextarget_dll PROPERTIES PREFIX "" OUTPUT_NAME vextarget)
foreach(t vextarget vextarget_dll)
  set_target_properties(${t} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/testapps)
  target_link_options(${t} PRIVATE ${VEX_STATIC_LINK})
  target_link_libraries(${t} PRIVATE user32 gdi32)
endforeach()
list(APPEND VEX_TEST_PROGRAM_TARGETS vextarget vextarget_dll)

file(GLOB VEX_WINDOWS_TESTS CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/tests/windows/*.cpp ${CMAKE_SOURCE_DIR}/tests/windows/support/*.cpp)
add_executable(windows_tests ${VEX_WINDOWS_TESTS} ${VEX_TOOLS_COMMON})
target_include_directories(windows_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/windows
                           ${CMAKE_SOURCE_DIR}/engine ${CMAKE_SOURCE_DIR}/tools/common)
target_link_options(windows_tests PRIVATE ${VEX_STATIC_LINK})
target_link_libraries(windows_tests PRIVATE gtest gtest_main user32 gdi32 advapi32 shell32)
target_compile_definitions(windows_tests PRIVATE
  VEX_SOURCE_DIR="${CMAKE_SOURCE_DIR}" VEX_BINARY_DIR="${CMAKE_BINARY_DIR}")
add_dependencies(windows_tests vexeng setup ${VEX_TEST_PROGRAM_TARGETS})

# A vexeng.dll of another version, in a folder of its own, for the editor's version check.
add_library(wrong_version_engine SHARED
            ${CMAKE_SOURCE_DIR}/tests/windows/fake_engine/wrong_version_engine.cpp
            ${CMAKE_SOURCE_DIR}/tests/windows/fake_engine/wrong_version_engine.def)
set_target_properties(wrong_version_engine PROPERTIES PREFIX "" OUTPUT_NAME vexeng
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/testprograms/wrong_version
  ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/testprograms/wrong_version)
target_link_options(wrong_version_engine PRIVATE ${VEX_STATIC_LINK})
target_link_libraries(wrong_version_engine PRIVATE user32)
add_dependencies(windows_tests wrong_version_engine)
if(TARGET vexrun)
  add_dependencies(windows_tests vexrun)
endif()
add_test(NAME windows_tests COMMAND windows_tests)
set_tests_properties(windows_tests PROPERTIES TIMEOUT 900)

# The conformance corpus: every tests/scripts/*.vxs through vexrun /record under Wine.
if(TARGET vexrun)
  add_test(NAME script_corpus
           COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/run_corpus.py
                   --vexrun $<TARGET_FILE:vexrun> --scripts ${CMAKE_SOURCE_DIR}/tests/scripts)
  set_tests_properties(script_corpus PROPERTIES TIMEOUT 900)
endif()

include(${CMAKE_CURRENT_LIST_DIR}/editor_tools.cmake)

# vexedit.exe binds vexeng.dll by ordinal through an import library made without names.
file(GLOB VEX_EDITOR_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/editor/*.cpp
     ${CMAKE_SOURCE_DIR}/editor/launcher/*.cpp ${CMAKE_SOURCE_DIR}/editor/update/*.cpp)
find_program(VEX_DLLTOOL NAMES ${TOOLCHAIN_PREFIX}-dlltool x86_64-w64-mingw32-dlltool REQUIRED)
set(VEX_ORDINAL_IMPORTS ${CMAKE_BINARY_DIR}/libvexeng_ordinals.a)
add_custom_command(OUTPUT ${VEX_ORDINAL_IMPORTS}
  COMMAND ${VEX_DLLTOOL} -d ${CMAKE_SOURCE_DIR}/editor/vexeng_ordinals.def -l ${VEX_ORDINAL_IMPORTS}
  DEPENDS ${CMAKE_SOURCE_DIR}/editor/vexeng_ordinals.def)
add_custom_target(vexeng_ordinals DEPENDS ${VEX_ORDINAL_IMPORTS})
# The tools (launcher, finder, tips, shortcut, update check) come from their own library.
list(REMOVE_ITEM VEX_EDITOR_SOURCES ${VEX_EDITOR_TOOLS_SOURCES})
add_executable(vexedit WIN32 ${VEX_EDITOR_SOURCES} ${CMAKE_SOURCE_DIR}/editor/vexedit.rc
               ${VEX_EDITOR_TOOLS_RC})
add_dependencies(vexedit vexeng_ordinals vexeng)
target_include_directories(vexedit PRIVATE ${CMAKE_SOURCE_DIR}/editor ${CMAKE_SOURCE_DIR}/engine)
target_link_options(vexedit PRIVATE ${VEX_STATIC_LINK})
target_link_libraries(vexedit PRIVATE ${VEX_ORDINAL_IMPORTS} vexedit_tools user32 gdi32 comctl32
                      comdlg32 shell32 shlwapi ole32 advapi32 version)
add_dependencies(vexedit launcher)
# The help pages ship in docs\ beside the editor, where Help and F1 open them.
file(GLOB VEX_HELP_PAGES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/help/*.html)
add_custom_command(TARGET vexedit POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/docs
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${VEX_HELP_PAGES} ${CMAKE_BINARY_DIR}/docs)
add_dependencies(windows_tests vexedit)

# What ships carries no debug sections: Windows and Wine map every section of an image, and
# the engine's 21 MiB of DWARF were read into memory at every start of the runner or editor.
# The debug information moves to NAME.debug beside each binary, where gdb finds it by name.
foreach(deliverable vexeng vexrun vexedit setup launcher)
  add_custom_command(TARGET ${deliverable} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE_NAME:${deliverable}>
            $<TARGET_FILE_NAME:${deliverable}>.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-debug
            --add-gnu-debuglink=$<TARGET_FILE_NAME:${deliverable}>.debug
            $<TARGET_FILE_NAME:${deliverable}>
    WORKING_DIRECTORY $<TARGET_FILE_DIR:${deliverable}>)
endforeach()
include(${CMAKE_CURRENT_LIST_DIR}/builtin_table_test.cmake)

# The Internet tests: scripts and a GoogleTest program against an FTP and an HTTP server that
# tests/internet/run_internet.py starts on 127.0.0.1 (in a private network namespace as root).
file(GLOB VEX_INTERNET_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/internet/*.cpp)
set(VEX_INTERNET_GTEST)
if(VEX_INTERNET_TESTS)
  add_executable(internet_tests ${VEX_INTERNET_TESTS} ${CMAKE_SOURCE_DIR}/tests/windows/support/engine_library.cpp
                 ${CMAKE_SOURCE_DIR}/tests/windows/support/test_support.cpp ${VEX_TOOLS_COMMON})
  target_include_directories(internet_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/windows
                             ${CMAKE_SOURCE_DIR}/engine ${CMAKE_SOURCE_DIR}/tools/common)
  target_link_options(internet_tests PRIVATE ${VEX_STATIC_LINK})
  target_link_libraries(internet_tests PRIVATE gtest gtest_main user32 gdi32 advapi32 shell32 comctl32)
  target_compile_definitions(internet_tests PRIVATE
    VEX_SOURCE_DIR="${CMAKE_SOURCE_DIR}" VEX_BINARY_DIR="${CMAKE_BINARY_DIR}")
  add_dependencies(internet_tests vexeng)
  set(VEX_INTERNET_GTEST --gtest $<TARGET_FILE:internet_tests>)
endif()
if(TARGET vexrun)
  add_test(NAME internet
           COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/internet/run_internet.py
                   --vexrun $<TARGET_FILE:vexrun> --scripts ${CMAKE_SOURCE_DIR}/tests/internet/scripts
                   --programs ${CMAKE_BINARY_DIR}/testprograms
                   ${VEX_INTERNET_GTEST})
  set_tests_properties(internet PROPERTIES TIMEOUT 900)
endif()

# Browser automation: tests/browser/*.vxs against a local HTTP server and Debian's Chromium.
if(TARGET vexrun)
  add_test(NAME browser_scripts
           COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/browser/run_browser_tests.py
                   --vexrun $<TARGET_FILE:vexrun>)
  set_tests_properties(browser_scripts PROPERTIES TIMEOUT 900)
endif()
