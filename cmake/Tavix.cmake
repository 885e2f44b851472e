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
# unshare -rn), for code that broadcasts; where namespaces are not available such tests fail
# (see tavix_register_test) rather than being let loose on the network.
function(tavix_add_tests)
    cmake_parse_arguments(ARG "ISOLATED" "" "LINKS;ENV" ${ARGN})
    file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
    tavix_test_prefix(_prefix)
    foreach(_file ${_tests})
        get_filename_component(_base ${_file} NAME_WE)
        set(_target ${_prefix}_${_base})
        add_executable(${_target} ${_file})
        target_include_directories(${_target} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
        target_link_libraries(${_target} PRIVATE ${ARG_LINKS} Qt6::Test)
        if(ARG_ISOLATED)
            set(_isolated ISOLATED)
        endif()
        tavix_register_test(${_target} ${_isolated} ENV ${ARG_ENV} COMMAND $<TARGET_FILE:${_target}>)
    endforeach()
endfunction()

# tavix_add_quick_tests(LINKS <targets>... [ENV <var=value>...] [ISOLATED])
# The Qt Quick Test harness of the calling folder: one executable built from every .cpp/.h
# there (its main is QUICK_TEST_MAIN_WITH_SETUP), and one CTest test per tst_*.qml that runs
# the harness on that file alone, offscreen, so the files run in parallel and each gets a fresh
# QML engine and project. Files named tstx_*.qml need a real X display: they run on a virtual X
# server of their own (scripts/xvfb-run.sh) on the xcb platform, drawn by Qt Quick's software
# renderer (the GL one is slow to start under the sanitizers; libxkbcommon, which they load, trips the strict string checks). Under the
# sanitizers the Quick tests record full allocation stacks, which the suppressions of Qt Quick's
# own leaks need.
function(tavix_add_quick_tests)
    cmake_parse_arguments(ARG "ISOLATED" "" "LINKS;ENV" ${ARGN})
    file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    file(GLOB _qml CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.qml)
    file(GLOB _xqml CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tstx_*.qml)
    tavix_test_prefix(_prefix)
    set(_target ${_prefix}_quicktest)
    add_executable(${_target} ${_src})
    target_include_directories(${_target} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
    target_compile_definitions(${_target} PRIVATE QUICK_TEST_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
    target_link_libraries(${_target} PRIVATE ${ARG_LINKS} Qt6::QuickTest Qt6::Test)
    tavix_refresh_automoc(${_target} "${_src}")
    if(ARG_ISOLATED)
        set(_isolated ISOLATED)
    endif()
    # LeakSanitizer's exit scan walks the dynamic TLS of libraries that were loaded and unloaded
    # again (a plugin); with the QML compiled into the program, that walk reaches a stale block and
    # the sanitizer itself crashes. The leak check stays on; only the tracking of dynamic TLS
    # blocks is off.
    set(_asan "ASAN_OPTIONS=string_append::fast_unwind_on_malloc=0:intercept_tls_get_addr=0")
    foreach(_file ${_qml})
        get_filename_component(_base ${_file} NAME_WE)
        tavix_register_test(${_prefix}_${_base} ${_isolated} ENV ${ARG_ENV}
            ENV_MODIFICATION ${_asan}
            COMMAND $<TARGET_FILE:${_target}> -input ${_file})
    endforeach()
    foreach(_file ${_xqml})
        get_filename_component(_base ${_file} NAME_WE)
        tavix_register_test(${_prefix}_${_base} ${_isolated} NEEDS Xvfb
            ENV QT_QPA_PLATFORM=xcb QT_QUICK_BACKEND=software ${ARG_ENV}
            ENV_MODIFICATION ${_asan}:strict_string_checks=0
            COMMAND ${PROJECT_SOURCE_DIR}/scripts/xvfb-run.sh 1280x1024x24 $<TARGET_FILE:${_target}> -input ${_file})
    endforeach()
endfunction()

# The test-name prefix of the calling folder: its path under tests/ with "_" for "/".
function(tavix_test_prefix out)
    file(RELATIVE_PATH _rel ${PROJECT_SOURCE_DIR}/tests ${CMAKE_CURRENT_SOURCE_DIR})
    string(REPLACE "/" "_" _prefix "${_rel}")
    set(${out} ${_prefix} PARENT_SCOPE)
endfunction()

# tavix_register_test(<name> [ISOLATED [PRIVATE_MOUNTS]] [NEEDS <programs>...] [ENV <var=value>...]
#                     [ENV_MODIFICATION <op>...] COMMAND <command>...)
# Registers one CTest test with the environment every test gets: the offscreen platform (unless
# ENV sets another), a HOME of its own under the build tree, the source and build folders, and
# the leak sanitizer's suppressions. A test that cannot run here (a program of NEEDS missing, or no
# private network namespace for an ISOLATED one) is registered all the same and fails, saying
# what is missing: a suite that skipped it would pass without having checked anything.
# PRIVATE_MOUNTS gives an ISOLATED test a private mount namespace too (for scripts/tmpfs-run.sh).
function(tavix_register_test name)
    cmake_parse_arguments(ARG "ISOLATED;PRIVATE_MOUNTS" "" "NEEDS;ENV;ENV_MODIFICATION;COMMAND" ${ARGN})
    set(_missing "")
    foreach(_program ${ARG_NEEDS})
        find_program(TAVIX_PROGRAM_${_program} ${_program})
        if(NOT TAVIX_PROGRAM_${_program})
            list(APPEND _missing ${_program})
        endif()
    endforeach()
    if(ARG_ISOLATED)
        tavix_network_namespace_available(_netns)
        if(NOT _netns)
            list(APPEND _missing "private network namespaces (unshare -rn)")
        endif()
    endif()
    if(_missing)
        string(JOIN ", " _what ${_missing})
        message(WARNING "${name} cannot run here and will fail: no ${_what} (scripts/deps.sh installs them)")
        add_test(NAME ${name}
            COMMAND sh -c "echo 'FAIL: cannot run here: no ${_what} (scripts/deps.sh installs them)' >&2; exit 1")
    elseif(ARG_ISOLATED)
        set(_unshare -rn)
        if(ARG_PRIVATE_MOUNTS)
            set(_unshare -rmn)
        endif()
        add_test(NAME ${name} COMMAND unshare ${_unshare} ${PROJECT_SOURCE_DIR}/scripts/netns-run.sh ${ARG_COMMAND})
    else()
        add_test(NAME ${name} COMMAND ${ARG_COMMAND})
    endif()
    set(_home ${CMAKE_BINARY_DIR}/test-home/${name})
    file(MAKE_DIRECTORY ${_home})
    set(_env "HOME=${_home};TAVIX_SOURCE_DIR=${PROJECT_SOURCE_DIR};TAVIX_BINARY_DIR=${CMAKE_BINARY_DIR}")
    list(APPEND _env "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/scripts/lsan.supp:print_suppressions=0")
    if(NOT "${ARG_ENV}" MATCHES "QT_QPA_PLATFORM=")
        list(APPEND _env "QT_QPA_PLATFORM=offscreen")
    endif()
    # A guard against a hang, not a measure of speed: the longest tests take about 100 s alone
    # under the sanitizers and three times that with the machine's cores twice over busy.
    set_tests_properties(${name} PROPERTIES
        TIMEOUT 900
        ENVIRONMENT "${_env};${ARG_ENV}")
    if(ARG_ENV_MODIFICATION)
        set_tests_properties(${name} PROPERTIES ENVIRONMENT_MODIFICATION "${ARG_ENV_MODIFICATION}")
    endif()
endfunction()

# Sets <out> to TRUE when this machine lets us make a private network namespace. Asked once per
# configure run.
function(tavix_network_namespace_available out)
    get_property(_known GLOBAL PROPERTY TAVIX_NETNS_KNOWN)
    if(NOT _known)
        execute_process(COMMAND unshare -rn ${PROJECT_SOURCE_DIR}/scripts/netns-run.sh true
            RESULT_VARIABLE _rc OUTPUT_QUIET ERROR_QUIET)
        if(_rc EQUAL 0)
            set_property(GLOBAL PROPERTY TAVIX_NETNS TRUE)
        else()
            message(WARNING "No private network namespaces here: the tests that broadcast will fail.")
            set_property(GLOBAL PROPERTY TAVIX_NETNS FALSE)
        endif()
        set_property(GLOBAL PROPERTY TAVIX_NETNS_KNOWN TRUE)
    endif()
    get_property(_netns GLOBAL PROPERTY TAVIX_NETNS)
    set(${out} ${_netns} PARENT_SCOPE)
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

# tavix_compile_qml_ahead(<object library> QRC <qrc file> BASE <folder> FILES <files>...)
# Compiles the .qml and .js files of a resource ahead of time into the program: qmlcachegen turns
# each into the byte code that the QML engine would otherwise compile at run time and keep in its
# disk cache in the user's home, and a loader registers them under their resource paths
# ("/" + the path below BASE), where the engine finds them for every "qrc:" URL. Byte code only:
# the program behaves as with the run-time compiler, and nothing of its own QML is compiled or
# written at run time. The units go into <object library>, the one that carries the resource to
# every program that links it.
function(tavix_compile_qml_ahead target)
    cmake_parse_arguments(ARG "" "QRC;BASE" "FILES" ${ARGN})
    set(_dir ${CMAKE_CURRENT_BINARY_DIR}/.qmlcache)
    set(_units "")
    set(_paths "")
    foreach(_file ${ARG_FILES})
        if(NOT _file MATCHES "\\.(qml|js)$")
            continue()
        endif()
        file(RELATIVE_PATH _rel ${ARG_BASE} ${_file})
        string(MAKE_C_IDENTIFIER "${_rel}" _id)
        set(_unit ${_dir}/${_id}.cpp)
        add_custom_command(OUTPUT ${_unit}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${_dir}
            COMMAND Qt6::qmlcachegen --bare --only-bytecode --resource-path /${_rel} --resource ${ARG_QRC}
                -o ${_unit} ${_file}
            DEPENDS ${_file} ${ARG_QRC} Qt6::qmlcachegen
            VERBATIM)
        list(APPEND _units ${_unit})
        list(APPEND _paths /${_rel})
    endforeach()
    # qmlcachegen writes the loader when the output's name ends in "qmlcache_loader.cpp".
    set(_loader ${_dir}/${target}_qmlcache_loader.cpp)
    add_custom_command(OUTPUT ${_loader}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${_dir}
        COMMAND Qt6::qmlcachegen --resource-name qmlcache_${target} -o ${_loader} ${_paths}
        DEPENDS Qt6::qmlcachegen
        VERBATIM)
    target_sources(${target} PRIVATE ${_units} ${_loader})
    set_source_files_properties(${_units} ${_loader} PROPERTIES SKIP_AUTOGEN ON)
    target_link_libraries(${target} PRIVATE Qt6::Qml)
endfunction()
