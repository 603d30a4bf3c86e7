# `cmake --build <dir> --target format` formats every C++ file of ours in place.
find_program(KESTRUN_CLANG_FORMAT NAMES clang-format clang-format-14)
if(KESTRUN_CLANG_FORMAT)
    file(GLOB_RECURSE KESTRUN_FORMAT_FILES CONFIGURE_DEPENDS
        ${CMAKE_SOURCE_DIR}/src/*.h ${CMAKE_SOURCE_DIR}/src/*.cpp
        ${CMAKE_SOURCE_DIR}/tests/*.h ${CMAKE_SOURCE_DIR}/tests/*.cpp
        ${CMAKE_SOURCE_DIR}/bench/*.h ${CMAKE_SOURCE_DIR}/bench/*.cpp
        ${CMAKE_SOURCE_DIR}/tools/*.h ${CMAKE_SOURCE_DIR}/tools/*.cpp)
    add_custom_target(format
        COMMAND ${KESTRUN_CLANG_FORMAT} -i ${KESTRUN_FORMAT_FILES}
        WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
        COMMENT "Formatting sources")
endif()
