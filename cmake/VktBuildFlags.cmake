# Shared compile settings: every project target links vkt_build_flags.
add_library(vkt_build_flags INTERFACE)
target_compile_options(vkt_build_flags INTERFACE
    $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wno-unused-parameter>)
target_compile_definitions(vkt_build_flags INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_FROM_BYTEARRAY
    QT_USE_QSTRINGBUILDER
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)

if(VKT_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "VKT_FUZZ needs clang (configure with -DCMAKE_CXX_COMPILER=clang++)")
    endif()
    # Instrument every library for coverage so libFuzzer can steer into the parsers.
    target_compile_options(vkt_build_flags INTERFACE -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    target_link_options(vkt_build_flags INTERFACE -fsanitize=address,undefined)
endif()

# vkt_add_library(NAME SOURCES ... LIBS ...): one static library of a subsystem.
function(vkt_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC "${CMAKE_CURRENT_SOURCE_DIR}")
    target_link_libraries(${name} PRIVATE vkt_build_flags)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# Tests and tools keep the warnings and the sanitizers but may write text literals plainly.
add_library(vkt_test_flags INTERFACE)
target_compile_options(vkt_test_flags INTERFACE $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wno-unused-parameter>)
if(VKT_FUZZ)
    target_compile_options(vkt_test_flags INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer)
    target_link_options(vkt_test_flags INTERFACE -fsanitize=address,undefined)
endif()

# vkt_add_all_subdirectories(): adds every sub-folder of the current folder that holds a CMakeLists.txt.
function(vkt_add_all_subdirectories)
    file(GLOB children CONFIGURE_DEPENDS LIST_DIRECTORIES true RELATIVE "${CMAKE_CURRENT_SOURCE_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}/*")
    foreach(child IN LISTS children)
        if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt")
            add_subdirectory(${child})
        endif()
    endforeach()
endfunction()
