# The bundled demo skin: the configuration file and the "default" skin folder, with its images drawn
# by make_demo_images.py, assembled in ${PELLAR_DEMO_SKIN_DIR} (the "skin" folder a program expects
# beside it). pellar_demo_skin_beside(<target>) copies it next to a program after each build.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(PELLAR_DEMO_SKIN_SOURCE ${CMAKE_CURRENT_LIST_DIR})
set(PELLAR_DEMO_SKIN_DIR ${CMAKE_BINARY_DIR}/demo-skin/skin CACHE INTERNAL "")
set(_demo_stamp ${CMAKE_BINARY_DIR}/demo-skin/images.stamp)

add_custom_command(
    OUTPUT ${_demo_stamp}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${PELLAR_DEMO_SKIN_DIR}
    COMMAND ${Python3_EXECUTABLE} ${PELLAR_DEMO_SKIN_SOURCE}/make_demo_images.py ${PELLAR_DEMO_SKIN_DIR}/default/img
    COMMAND ${CMAKE_COMMAND} -E copy ${PELLAR_DEMO_SKIN_SOURCE}/client.xml ${PELLAR_DEMO_SKIN_DIR}/client.xml
    COMMAND ${CMAKE_COMMAND} -E copy ${PELLAR_DEMO_SKIN_SOURCE}/default/skin.xml ${PELLAR_DEMO_SKIN_DIR}/default/skin.xml
    COMMAND ${CMAKE_COMMAND} -E touch ${_demo_stamp}
    DEPENDS ${PELLAR_DEMO_SKIN_SOURCE}/make_demo_images.py ${PELLAR_DEMO_SKIN_SOURCE}/client.xml
            ${PELLAR_DEMO_SKIN_SOURCE}/default/skin.xml
    COMMENT "Drawing the demo skin"
    VERBATIM)
add_custom_target(demo_skin ALL DEPENDS ${_demo_stamp})

function(pellar_demo_skin_beside target)
    add_dependencies(${target} demo_skin)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_directory ${PELLAR_DEMO_SKIN_DIR} $<TARGET_FILE_DIR:${target}>/skin
        VERBATIM)
endfunction()
