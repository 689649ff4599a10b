# Native build of the portable core: unit tests, an ASan+UBSan variant and the fuzzer.
option(VEX_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(VEX_FUZZ "Build the libFuzzer target (needs clang)" OFF)

add_compile_options(-Wall -Wextra -Wno-unused-parameter)
if(VEX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
if(VEX_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

add_library(vexcore STATIC ${VEX_CORE_SOURCES} ${VEX_PORTABLE_BUILTINS})
target_include_directories(vexcore PUBLIC ${CMAKE_SOURCE_DIR}/engine)

if(VEX_FUZZ)
  add_executable(fuzz_core ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_core.cpp
                           ${CMAKE_SOURCE_DIR}/tests/native/fake_platform.cpp)
  target_link_libraries(fuzz_core PRIVATE vexcore)
  target_include_directories(fuzz_core PRIVATE ${CMAKE_SOURCE_DIR}/tests/native)
  target_link_options(fuzz_core PRIVATE -fsanitize=fuzzer)
else()
  find_package(GTest REQUIRED)
  include(GoogleTest)
  file(GLOB VEX_NATIVE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
  if(VEX_NATIVE_TESTS)
    # The editor's text rules hold no Windows code, so they are tested here as well.
    add_library(vexedit_rules STATIC ${CMAKE_SOURCE_DIR}/editor/script_text_rules.cpp
                ${CMAKE_SOURCE_DIR}/editor/syntax_tokens.cpp)
    target_include_directories(vexedit_rules PUBLIC ${CMAKE_SOURCE_DIR}/editor ${CMAKE_SOURCE_DIR}/engine)
    add_executable(native_tests ${VEX_NATIVE_TESTS})
    target_link_libraries(native_tests PRIVATE vexcore vexedit_rules GTest::gtest_main)
    target_include_directories(native_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/native)
    # The corpus test reads tests/scripts from the source tree.
    target_compile_definitions(native_tests PRIVATE VEX_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    gtest_discover_tests(native_tests DISCOVERY_TIMEOUT 60)
    # The interpreter benchmarks' native runner (bench/run_bench.py).
    add_executable(vexbench ${CMAKE_SOURCE_DIR}/bench/vexbench_main.cpp
                            ${CMAKE_SOURCE_DIR}/tests/native/fake_platform.cpp)
    target_link_libraries(vexbench PRIVATE vexcore)
    target_include_directories(vexbench PRIVATE ${CMAKE_SOURCE_DIR}/tests/native)
    # The include arrows: families -> builtin_api.h -> values and the result record.
    add_test(NAME include_layers COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/check_layers.py
                                         ${CMAKE_SOURCE_DIR})
  endif()
  # The help pages are generated; they must match the built-in and constant lists.
  add_test(NAME help_pages COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/help/make_help.py --check)
endif()

# The editor's command-line rules are plain text work and are checked natively too.
if(TARGET native_tests)
  target_sources(native_tests PRIVATE ${CMAKE_SOURCE_DIR}/editor/command_line.cpp)
endif()
