# The editor's tools as a library the editor links (launcher menu file and dialogs, window
# finder, tips, desktop shortcut, update check), the tray launcher program, and their tests.
set(VEX_EDITOR_TOOLS_SOURCES
  ${CMAKE_SOURCE_DIR}/editor/tool_settings.cpp
  ${CMAKE_SOURCE_DIR}/editor/profile.cpp
  ${CMAKE_SOURCE_DIR}/editor/program_launch.cpp
  ${CMAKE_SOURCE_DIR}/editor/desktop_shortcut.cpp
  ${CMAKE_SOURCE_DIR}/editor/tips.cpp
  ${CMAKE_SOURCE_DIR}/editor/tip_of_the_day_dlg.cpp
  ${CMAKE_SOURCE_DIR}/editor/window_finder_dlg.cpp)
file(GLOB VEX_EDITOR_TOOL_FAMILIES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/editor/launcher/*.cpp
  ${CMAKE_SOURCE_DIR}/editor/update/*.cpp)
list(APPEND VEX_EDITOR_TOOLS_SOURCES ${VEX_EDITOR_TOOL_FAMILIES})
# Resources of the tools' dialogs; a static library drops them, so each program adds this file.
set(VEX_EDITOR_TOOLS_RC ${CMAKE_SOURCE_DIR}/editor/editor_tools.rc)
file(GLOB VEX_EDITOR_TOOLS_ART CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/editor/res/*)
set_source_files_properties(${VEX_EDITOR_TOOLS_RC} PROPERTIES OBJECT_DEPENDS "${VEX_EDITOR_TOOLS_ART}")

add_library(vexedit_tools STATIC ${VEX_EDITOR_TOOLS_SOURCES})
target_include_directories(vexedit_tools PUBLIC
  ${CMAKE_SOURCE_DIR}/editor ${CMAKE_SOURCE_DIR}/editor/launcher
  ${CMAKE_SOURCE_DIR}/editor/update ${CMAKE_SOURCE_DIR}/engine/runtime_windows)
target_link_libraries(vexedit_tools PUBLIC
  user32 gdi32 comctl32 comdlg32 shell32 ole32 uuid advapi32 wininet version ws2_32)

# The tray launcher reads the menu file with the editor's own reader.
add_executable(launcher WIN32 ${CMAKE_SOURCE_DIR}/launcher/launcher_main.cpp
               ${CMAKE_SOURCE_DIR}/launcher/launcher.rc
               ${CMAKE_SOURCE_DIR}/editor/launcher/launcher_menu_file.cpp)
target_include_directories(launcher PRIVATE ${CMAKE_SOURCE_DIR}/editor/launcher
                           ${CMAKE_SOURCE_DIR}/engine/runtime_windows)
target_link_options(launcher PRIVATE ${VEX_STATIC_LINK})
target_link_libraries(launcher PRIVATE user32 shell32)

file(GLOB VEX_EDITOR_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/editor/*.cpp)
add_executable(editor_tools_tests ${VEX_EDITOR_TESTS} ${VEX_EDITOR_TOOLS_RC}
               ${CMAKE_SOURCE_DIR}/tests/windows/support/test_support.cpp ${VEX_TOOLS_COMMON})
target_include_directories(editor_tools_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/windows
                           ${CMAKE_SOURCE_DIR}/tools/common)
target_link_options(editor_tools_tests PRIVATE ${VEX_STATIC_LINK})
target_link_libraries(editor_tools_tests PRIVATE vexedit_tools gtest gtest_main)
target_compile_definitions(editor_tools_tests PRIVATE
  VEX_SOURCE_DIR="${CMAKE_SOURCE_DIR}" VEX_BINARY_DIR="${CMAKE_BINARY_DIR}")
add_dependencies(editor_tools_tests launcher ${VEX_TEST_PROGRAM_TARGETS})
# The wiring test starts the real editor, which is defined after this file is read.
cmake_language(DEFER CALL add_dependencies editor_tools_tests vexedit vexeng)
add_test(NAME editor_tools_tests COMMAND editor_tools_tests)
set_tests_properties(editor_tools_tests PROPERTIES TIMEOUT 900)
