# KESTRUN_FUZZ builds the libFuzzer targets in fuzz/ with clang; the library is
# instrumented for coverage, AddressSanitizer and UndefinedBehaviorSanitizer.
# Off by default: the default compiler (g++) has no libFuzzer.
option(KESTRUN_FUZZ "Build the libFuzzer targets (clang only)" OFF)
if(KESTRUN_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "KESTRUN_FUZZ needs clang: configure with CXX=clang++")
    endif()
    target_compile_options(kestrun_common_cfg INTERFACE
        -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(kestrun_common_cfg INTERFACE -fsanitize=address,undefined)
endif()
