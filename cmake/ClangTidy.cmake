# KESTRUN_CLANG_TIDY runs clang-tidy (checks in the root .clang-tidy, findings are
# errors) on every source of kestrun_core, kestrun_ui and the application while
# they compile. Sources generated into the build tree (moc, uic, the D-Bus proxy)
# are passed over by cmake/clang-tidy-own-sources; generated headers are kept out
# by the HeaderFilterRegex in .clang-tidy.
#
#   cmake -S . -B build/tidy -G Ninja -DKESTRUN_CLANG_TIDY=ON \
#         -DKESTRUN_BUILD_TESTS=OFF -DKESTRUN_BUILD_BENCHMARKS=OFF
#   cmake --build build/tidy
#
# Without a rebuild, the exported compile_commands.json serves as well; scripts/test
# does so after its build:
#   scripts/tidy build/sanitize
option(KESTRUN_CLANG_TIDY "Run clang-tidy on our sources under src/ while building" OFF)
if(KESTRUN_CLANG_TIDY)
    find_program(KESTRUN_CLANG_TIDY_EXE NAMES clang-tidy clang-tidy-14 REQUIRED)
    set(KESTRUN_CLANG_TIDY_COMMAND
        ${CMAKE_CURRENT_LIST_DIR}/clang-tidy-own-sources ${CMAKE_BINARY_DIR} ${KESTRUN_CLANG_TIDY_EXE})
endif()

# kestrun_enable_clang_tidy(<target>...) lints the targets' sources when
# KESTRUN_CLANG_TIDY is on.
function(kestrun_enable_clang_tidy)
    if(KESTRUN_CLANG_TIDY)
        set_target_properties(${ARGN} PROPERTIES CXX_CLANG_TIDY "${KESTRUN_CLANG_TIDY_COMMAND}")
    endif()
endfunction()
