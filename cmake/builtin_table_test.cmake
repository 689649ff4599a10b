# A test program built from the engine's own sources, so it can walk the built-in table. It
# follows vexeng's include directories and libraries (generator expressions, read at the end),
# and its flags match vexeng's, so ccache serves the engine objects the DLL already compiled.
add_executable(builtin_table_test ${CMAKE_SOURCE_DIR}/tests/windows/builtin_table/builtin_table_test.cpp
               ${VEX_CORE_SOURCES} ${VEX_WINDOWS_SOURCES})
target_compile_definitions(builtin_table_test PRIVATE vexeng_EXPORTS)
target_include_directories(builtin_table_test PRIVATE $<TARGET_PROPERTY:vexeng,INCLUDE_DIRECTORIES>)
target_link_options(builtin_table_test PRIVATE ${VEX_STATIC_LINK})
target_link_libraries(builtin_table_test PRIVATE gtest gtest_main
                      $<TARGET_PROPERTY:vexeng,LINK_LIBRARIES>)
add_test(NAME builtin_table_test COMMAND builtin_table_test)
