# jsoncpp has no Windows build in Debian: compile its source package (fetched by scripts/setup.sh).
set(JSONCPP_DIR "${PELLAR_CACHE_DIR}/jsoncpp/src")
if(NOT EXISTS "${JSONCPP_DIR}/include/json/json.h")
    message(FATAL_ERROR "jsoncpp sources missing in ${JSONCPP_DIR}; run scripts/setup.sh")
endif()
add_library(jsoncpp STATIC
    ${JSONCPP_DIR}/src/lib_json/json_reader.cpp
    ${JSONCPP_DIR}/src/lib_json/json_value.cpp
    ${JSONCPP_DIR}/src/lib_json/json_writer.cpp)
target_include_directories(jsoncpp SYSTEM PUBLIC ${JSONCPP_DIR}/include)
target_include_directories(jsoncpp PRIVATE ${JSONCPP_DIR}/src/lib_json)
target_compile_options(jsoncpp PRIVATE -w)
