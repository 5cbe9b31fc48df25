# The fuzz tree: the portable logic and its libFuzzer targets, built with clang, AddressSanitizer
# and UBSan. ctest replays each target's corpora and then fuzzes it for QUORVANE_FUZZ_SECONDS;
# scripts/fuzz runs the same targets for longer.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "libFuzzer comes with clang: configure the fuzz tree with -DCMAKE_CXX_COMPILER=clang++")
endif()
set(QUORVANE_FUZZ_SECONDS 5 CACHE STRING "Seconds of new inputs per target after its corpora, in ctest")

set(fuzz_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
foreach(logic stock_logic glimmora_logic skin_format)
  target_compile_options(${logic} PRIVATE ${fuzz_sanitizers} -fsanitize=fuzzer-no-link)
  target_link_options(${logic} PUBLIC ${fuzz_sanitizers})
endforeach()

add_library(fuzz_support STATIC tests/support/Cp936.cpp)
target_include_directories(fuzz_support PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(fuzz_support PRIVATE ${fuzz_sanitizers})
target_link_libraries(fuzz_support PUBLIC stock_logic glimmora_logic skin_format)

enable_testing()
set(fuzz_run ${CMAKE_SOURCE_DIR}/tests/fuzz/run)

function(fuzz_target name)
  add_executable(${name}_fuzz ${ARGN})
  target_compile_options(${name}_fuzz PRIVATE ${fuzz_sanitizers} -fsanitize=fuzzer)
  target_link_options(${name}_fuzz PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name}_fuzz PRIVATE fuzz_support)
  add_test(NAME fuzz_${name} COMMAND ${fuzz_run} ${CMAKE_BINARY_DIR} ${name} ${QUORVANE_FUZZ_SECONDS})
  set_tests_properties(fuzz_${name} PROPERTIES TIMEOUT 300)
endfunction()

fuzz_target(quote_answer tests/fuzz/QuoteAnswerFuzz.cpp)
fuzz_target(listing tests/fuzz/ListingFuzz.cpp)
fuzz_target(skin_format tests/fuzz/SkinFormatFuzz.cpp)
