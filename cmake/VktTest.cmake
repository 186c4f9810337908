# vkt_add_test(NAME [UNPRIVILEGED] SOURCES ... LIBS ...): one QtTest executable tst_NAME, registered with
# ctest. UNPRIVILEGED labels a test that touches files, devices, backups or downloads: the README's test
# command runs those a second time as an ordinary user (tools/test).
function(vkt_add_test name)
    cmake_parse_arguments(ARG "UNPRIVILEGED" "" "SOURCES;LIBS" ${ARGN})
    add_executable(tst_${name} ${ARG_SOURCES})
    target_link_libraries(tst_${name} PRIVATE vkt_test_flags Qt6::Test ${ARG_LIBS})
    add_test(NAME ${name} COMMAND tst_${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/xdg-runtime"
        TIMEOUT 300)
    if(ARG_UNPRIVILEGED)
        set_tests_properties(${name} PROPERTIES LABELS unprivileged)
    endif()
endfunction()
