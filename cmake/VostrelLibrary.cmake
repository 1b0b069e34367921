# vostrel_add_library(NAME [PUBLIC libs...] [PRIVATE libs...])
# A static library of every .cpp/.h in the calling folder, whose headers are
# found by file name. A folder with no sources yet gives an interface library,
# so that targets can name it before its first class is written.
function(vostrel_add_library name)
    cmake_parse_arguments(ARG "" "" "PUBLIC;PRIVATE" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
                                        ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    list(FILTER sources INCLUDE REGEX "\\.cpp$")
    if(sources)
        file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
        add_library(${name} STATIC ${sources} ${headers})
        target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
        target_link_libraries(${name} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${CMAKE_CURRENT_SOURCE_DIR})
        target_link_libraries(${name} INTERFACE ${ARG_PUBLIC})
    endif()
endfunction()
