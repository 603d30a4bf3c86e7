# `cmake --build <dir> --target format` formats every C++ file of ours in place
# (scripts/format; scripts/test checks it with --check).
add_custom_target(format
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/format
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    COMMENT "Formatting sources")
