# vostrel_add_library(NAME SOURCES files... [PUBLIC libs...] [PRIVATE libs...])
# A static library of the listed files. Headers are included by their folder
# under src/ ("overlay/pinmanager.h"), generated ones by their folder under the
# build's src/; the folder itself stays on the private path for the code that
# Qt's tools generate beside it.
function(vostrel_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name}
        PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_BINARY_DIR}/src
        PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
endfunction()
