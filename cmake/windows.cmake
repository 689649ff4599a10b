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
                      advapi32 winmm ws2_32 wininet)
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

# Browser automation: tests/browser/*.vxs against a local HTTP server and Debian's Chromium.
if(TARGET vexrun)
  add_test(NAME browser_scripts
           COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/browser/run_browser_tests.py
                   --vexrun $<TARGET_FILE:vexrun>)
  set_tests_properties(browser_scripts PROPERTIES TIMEOUT 900)
endif()
