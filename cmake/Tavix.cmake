# Helpers shared by the folders. Every folder globs its own sources so that
# adding a class never means editing a list in another folder.

# tavix_add_library(<name> [LINKS <targets>...])
# A static library of every .cpp/.h in the calling folder.
function(tavix_add_library name)
    cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
    file(GLOB _src CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    if(NOT _src)
        set(_src ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
    endif()
    add_library(${name} STATIC ${_src})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LINKS})
    tavix_refresh_automoc(${name} "${_src}")
endfunction()

# An incremental Ninja build reruns moc only for the headers it saw last time: a
# header that the glob picks up later would never be moc'ed. When the list of
# sources changed since the last configure, drop the moc stamp so the next build
# scans the whole target again.
function(tavix_refresh_automoc name sources)
    set(_list_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_sources.txt)
    string(JOIN "\n" _now ${sources})
    if(EXISTS ${_list_file})
        file(READ ${_list_file} _before)
        if(NOT _before STREQUAL _now)
            file(REMOVE ${CMAKE_CURRENT_BINARY_DIR}/${name}_autogen/timestamp)
        endif()
    endif()
    file(WRITE ${_list_file} "${_now}")
endfunction()

# tavix_add_tests(LINKS <targets>... [ENV <var=value>...] [ISOLATED])
# One test executable per tst_*.cpp in the calling folder, run by CTest on the
# offscreen platform with a HOME of its own under the build tree. ISOLATED runs
# each test in a private network namespace (scripts/netns-run.sh under
# unshare -rn), for code that broadcasts; where namespaces are not available such tests are
# reported as not run rather than let loose on the network.
function(tavix_add_tests)
    cmake_parse_arguments(ARG "ISOLATED" "" "LINKS;ENV" ${ARGN})
    file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
    file(RELATIVE_PATH _rel ${PROJECT_SOURCE_DIR}/tests ${CMAKE_CURRENT_SOURCE_DIR})
    string(REPLACE "/" "_" _prefix "${_rel}")
    if(ARG_ISOLATED)
        tavix_network_namespace_available(_netns)
    endif()
    foreach(_file ${_tests})
        get_filename_component(_base ${_file} NAME_WE)
        set(_target ${_prefix}_${_base})
        add_executable(${_target} ${_file})
        target_include_directories(${_target} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
        target_link_libraries(${_target} PRIVATE ${ARG_LINKS} Qt6::Test)
        if(ARG_ISOLATED)
            add_test(NAME ${_target}
                COMMAND unshare -rn ${PROJECT_SOURCE_DIR}/scripts/netns-run.sh $<TARGET_FILE:${_target}>)
            if(NOT _netns)
                set_tests_properties(${_target} PROPERTIES DISABLED TRUE)
            endif()
        else()
            add_test(NAME ${_target} COMMAND ${_target})
        endif()
        set(_home ${CMAKE_BINARY_DIR}/test-home/${_target})
        file(MAKE_DIRECTORY ${_home})
        set_tests_properties(${_target} PROPERTIES
            TIMEOUT 300
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;HOME=${_home};TAVIX_SOURCE_DIR=${PROJECT_SOURCE_DIR};TAVIX_BINARY_DIR=${CMAKE_BINARY_DIR};${ARG_ENV}")
    endforeach()
endfunction()

# Sets <out> to TRUE when this machine lets us make a private network namespace.
function(tavix_network_namespace_available out)
    execute_process(COMMAND unshare -rn ${PROJECT_SOURCE_DIR}/scripts/netns-run.sh true
        RESULT_VARIABLE _rc OUTPUT_QUIET ERROR_QUIET)
    if(_rc EQUAL 0)
        set(${out} TRUE PARENT_SCOPE)
    else()
        message(WARNING "No private network namespaces here: tests that broadcast will not run.")
        set(${out} FALSE PARENT_SCOPE)
    endif()
endfunction()

# tavix_add_benchmarks(LINKS <targets>...)
# One Google Benchmark executable per bench_*.cpp in the calling folder.
function(tavix_add_benchmarks)
    cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
    file(GLOB _benches CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/bench_*.cpp)
    foreach(_file ${_benches})
        get_filename_component(_base ${_file} NAME_WE)
        add_executable(${_base} ${_file})
        target_include_directories(${_base} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/bench)
        target_link_libraries(${_base} PRIVATE ${ARG_LINKS} benchmark::benchmark)
    endforeach()
endfunction()
