# Settings every target of ours links to: language level, warnings and the Qt
# switches that keep string conversions and iterators explicit.
add_library(kestrun_common_cfg INTERFACE)
target_compile_features(kestrun_common_cfg INTERFACE cxx_std_20)
target_compile_options(kestrun_common_cfg INTERFACE
    -Wall -Wextra -Wnon-virtual-dtor -Woverloaded-virtual)
# Every developer build treats warnings as errors, so none creeps in unseen; a
# packager with another compiler may switch it off.
option(KESTRUN_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" ON)
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
