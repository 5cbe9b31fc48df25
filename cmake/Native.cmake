# Native build: the portable logic and its unit tests, with AddressSanitizer and UBSan.
set(sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
foreach(logic stock_logic skin_format)
  target_compile_options(${logic} PRIVATE ${sanitizers})
  target_link_options(${logic} PUBLIC ${sanitizers})
endforeach()

if(QUORVANE_TESTS)
  add_executable(native_tests
    tests/native/ConversionsTest.cpp
    tests/native/PositionCalculationTest.cpp
    tests/native/StockForm1Test.cpp
    tests/native/StockDesignTest.cpp
    tests/native/SkinFormatTest.cpp
    tests/native/SkinRulesTest.cpp)
  target_compile_options(native_tests PRIVATE ${sanitizers})
  # The sample skins are read from the source tree.
  target_compile_definitions(native_tests PRIVATE QUORVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  target_link_libraries(native_tests PRIVATE stock_logic skin_format GTest::gtest_main)
  add_test(NAME native_tests COMMAND native_tests)
  set_tests_properties(native_tests PROPERTIES TIMEOUT 300)

  # The skin file parser under libFuzzer, which only clang provides; run for a short time from the
  # checked-in seeds and the sample skins. New finds go to a corpus in the build tree.
  find_program(QUORVANE_CLANGXX NAMES clang++ clang++-14 REQUIRED)
  set(fuzz_sources ${CMAKE_SOURCE_DIR}/skinengine/library/SkinFormat.cpp ${CMAKE_SOURCE_DIR}/tests/fuzz/SkinFormatFuzz.cpp)
  set(fuzz_binary ${CMAKE_BINARY_DIR}/skin_format_fuzz)
  add_custom_command(OUTPUT ${fuzz_binary}
    COMMAND ${QUORVANE_CLANGXX} -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
            -I${CMAKE_SOURCE_DIR} ${fuzz_sources} -o ${fuzz_binary}
    DEPENDS ${fuzz_sources} ${CMAKE_SOURCE_DIR}/skinengine/library/SkinFormat.h
    COMMENT "Building the skin file fuzz target with clang")
  add_custom_target(skin_format_fuzz_target ALL DEPENDS ${fuzz_binary})
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz-corpus)
  add_test(NAME skin_format_fuzz
    COMMAND ${fuzz_binary} -max_total_time=20 -timeout=10 -rss_limit_mb=1024 -max_len=4096
            -dict=${CMAKE_SOURCE_DIR}/tests/fuzz/skin.dict
            ${CMAKE_BINARY_DIR}/fuzz-corpus ${CMAKE_SOURCE_DIR}/tests/fuzz/seeds ${CMAKE_SOURCE_DIR}/skins)
  set_tests_properties(skin_format_fuzz PROPERTIES TIMEOUT 120)
endif()
