# Helpers shared by the folders' CMakeLists.

# pellar_test(<name> SOURCES ... LIBS ...): one gtest executable, run as one ctest test under Wine.
# Each run writes gtest's XML report to ${PELLAR_REPORT_DIR}/<name>.xml (a Windows path to the same
# folder on the command line): gtest writes it only after the last test, so scripts/test-verdict.py can
# tell a program that finished from one that died part-way, whatever its exit status.
set(PELLAR_REPORT_DIR "${CMAKE_BINARY_DIR}/test-reports")
function(pellar_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} gmock gtest_main)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/common)
    add_test(NAME ${name} COMMAND ${name} --gtest_output=xml:Z:${PELLAR_REPORT_DIR}/${name}.xml)
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()

# pellar_needs_operator_service(<test>): runs the test while the stand-in for the operator's service
# listens. The service is started once per ctest run (fixture "operator_service") and writes its port
# and its request log into ${PELLAR_SERVICE_DIR}; the test programs read them from the compile-time
# constant PELLAR_SERVICE_DIR (a Windows path to the same folder).
set(PELLAR_SERVICE_DIR "${CMAKE_BINARY_DIR}/operator-service")
find_program(PELLAR_PYTHON3 NAMES python3 REQUIRED)
function(pellar_needs_operator_service test)
    get_property(defined GLOBAL PROPERTY PELLAR_SERVICE_FIXTURE)
    if(NOT defined)
        set_property(GLOBAL PROPERTY PELLAR_SERVICE_FIXTURE ON)
        file(MAKE_DIRECTORY "${PELLAR_SERVICE_DIR}")
        add_test(NAME operator_service_start
            COMMAND ${PELLAR_PYTHON3} ${CMAKE_SOURCE_DIR}/tools/operator_service.py --detach
                --port-file ${PELLAR_SERVICE_DIR}/port --log ${PELLAR_SERVICE_DIR}/requests.jsonl
                --pid-file ${PELLAR_SERVICE_DIR}/pid --installer $<TARGET_FILE:pellar_probe>)
        add_test(NAME operator_service_stop
            COMMAND ${PELLAR_PYTHON3} ${CMAKE_SOURCE_DIR}/tools/operator_service.py --stop
                --pid-file ${PELLAR_SERVICE_DIR}/pid)
        set_tests_properties(operator_service_start PROPERTIES FIXTURES_SETUP operator_service TIMEOUT 30)
        set_tests_properties(operator_service_stop PROPERTIES FIXTURES_CLEANUP operator_service TIMEOUT 30)
    endif()
    set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED operator_service)
    target_compile_definitions(${test} PRIVATE PELLAR_SERVICE_DIR="Z:${PELLAR_SERVICE_DIR}")
    add_dependencies(${test} pellar_probe)
endfunction()

# pellar_resources(<target>): compiles the program's resources (icon, menus, strings, about box,
# version, manifest) into the target. The icon is drawn at build time by res/make_icon.py.
set(PELLAR_RES_OUT ${CMAKE_BINARY_DIR}/res)
add_custom_command(
    OUTPUT ${PELLAR_RES_OUT}/app.ico
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PELLAR_RES_OUT}
    COMMAND ${PELLAR_PYTHON3} ${CMAKE_SOURCE_DIR}/res/make_icon.py ${PELLAR_RES_OUT}/app.ico
    DEPENDS ${CMAKE_SOURCE_DIR}/res/make_icon.py
    COMMENT "Drawing the program icon"
    VERBATIM)
add_custom_target(pellar_icon DEPENDS ${PELLAR_RES_OUT}/app.ico)
function(pellar_resources target)
    set(rc ${CMAKE_SOURCE_DIR}/res/Pellar.rc)
    target_sources(${target} PRIVATE ${rc})
    set_source_files_properties(${rc} PROPERTIES
        OBJECT_DEPENDS "${PELLAR_RES_OUT}/app.ico;${CMAKE_SOURCE_DIR}/res/Pellar.manifest;${CMAKE_SOURCE_DIR}/res/resource.h")
    target_include_directories(${target} PRIVATE ${PELLAR_RES_OUT} ${CMAKE_SOURCE_DIR}/res)
    add_dependencies(${target} pellar_icon)
endfunction()

# Delay-loaded DLLs: the client needs WinINet, URL monikers and sockets only once its login window is
# on the screen (the web cache, the download thread, HTTP), and loading them with the program costs its
# start-up tens of milliseconds. A target with the property PELLAR_DELAY_LOAD set links delay-load
# import libraries for them (made here from the ordinary ones), whose first call loads the DLL; every
# other target links them as usual (see framework/CMakeLists.txt).
set(PELLAR_DELAYED_DLLS wininet urlmon ws2_32)
find_program(PELLAR_NM NAMES ${TOOLCHAIN_PREFIX}-nm REQUIRED)
find_program(PELLAR_DLLTOOL NAMES ${TOOLCHAIN_PREFIX}-dlltool REQUIRED)
set(PELLAR_DELAY_LIBS)
foreach(dll ${PELLAR_DELAYED_DLLS})
    # The compiler knows where its own import libraries are, wherever its mingw is installed; one it
    # does not know it names back bare.
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=lib${dll}.a OUTPUT_VARIABLE implib
                    OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE found)
    if(NOT found EQUAL 0 OR NOT IS_ABSOLUTE "${implib}" OR NOT EXISTS "${implib}")
        message(FATAL_ERROR "${CMAKE_CXX_COMPILER} has no import library lib${dll}.a for ${dll}.dll "
                            "(-print-file-name gave '${implib}'): the delay-loaded DLLs need it")
    endif()
    file(REAL_PATH "${implib}" implib)
    set(out ${CMAKE_BINARY_DIR}/delayload/lib${dll}_delay.a)
    add_custom_command(
        OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delayload
        COMMAND ${PELLAR_PYTHON3} ${CMAKE_SOURCE_DIR}/cmake/make_delay_import.py ${PELLAR_NM} ${PELLAR_DLLTOOL}
            ${implib} ${dll}.dll ${out}
        DEPENDS ${CMAKE_SOURCE_DIR}/cmake/make_delay_import.py ${implib}
        COMMENT "Delay-load import library for ${dll}.dll"
        VERBATIM)
    list(APPEND PELLAR_DELAY_LIBS ${out})
endforeach()
add_custom_target(pellar_delay_libs DEPENDS ${PELLAR_DELAY_LIBS})
