# Settings every target of ours links to: language level, warnings and the Qt
# switches that keep string conversions and iterators explicit.
add_library(kestrun_common_cfg INTERFACE)
target_compile_features(kestrun_common_cfg INTERFACE cxx_std_20)
target_compile_options(kestrun_common_cfg INTERFACE
    -Wall -Wextra -Wnon-virtual-dtor -Woverloaded-virtual)
# The developers' builds treat warnings as errors, so none creeps in unseen:
# scripts/test (and so CI) switches it on, and so does the Debug build type by
# default. A user's or a packager's optimised build, perhaps with another
# compiler, must not stop at a warning that only its optimiser invents.
if(CMAKE_BUILD_TYPE STREQUAL "Debug")
    set(warnings_as_errors_default ON)
else()
    set(warnings_as_errors_default OFF)
endif()
option(KESTRUN_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" ${warnings_as_errors_default})
if(KESTRUN_WARNINGS_AS_ERRORS)
    target_compile_options(kestrun_common_cfg INTERFACE -Werror)
endif()
target_compile_definitions(kestrun_common_cfg INTERFACE
    QT_NO_CAST_TO_ASCII
    QT_STRICT_ITERATORS
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_USE_QSTRINGBUILDER
    KESTRUN_VERSION_LABEL="${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.${PROJECT_VERSION_TWEAK}"
    KESTRUN_VERSION="${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
