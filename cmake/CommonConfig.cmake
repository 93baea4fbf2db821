# One INTERFACE target carries the language level, warnings and Qt string
# discipline for every library and executable of the project.
add_library(quaerio_common INTERFACE)
target_compile_features(quaerio_common INTERFACE cxx_std_20)
target_compile_options(quaerio_common INTERFACE -Wall -Wextra)
target_compile_definitions(quaerio_common INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_USE_QSTRINGBUILDER)
# Headers are included by path from the source root ("catalogue/CatalogFile.h").
target_include_directories(quaerio_common INTERFACE ${PROJECT_SOURCE_DIR})

if(QUAERIO_SANITIZE STREQUAL "address")
    target_compile_options(quaerio_common INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(quaerio_common INTERFACE -fsanitize=address,undefined)
elseif(QUAERIO_SANITIZE STREQUAL "thread")
    target_compile_options(quaerio_common INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(quaerio_common INTERFACE -fsanitize=thread)
elseif(NOT QUAERIO_SANITIZE STREQUAL "")
    message(FATAL_ERROR "QUAERIO_SANITIZE must be empty, \"address\" or \"thread\"")
endif()

# quaerio_folder_library(<target> [DEPS <targets>...])
# One static library per source folder, built from the folder's own sources.
function(quaerio_folder_library target)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    add_library(${target} STATIC ${sources})
    target_link_libraries(${target} PUBLIC quaerio_common ${ARG_DEPS})
endfunction()
