# Use ccache for every compiler launch when it is installed; rebuilds of a clean
# clone (CI, scripts/test after scripts/demo) then cost little.
find_program(KESTRUN_CCACHE ccache)
if(KESTRUN_CCACHE)
    set(CMAKE_CXX_COMPILER_LAUNCHER ${KESTRUN_CCACHE})
endif()
