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

# vostrel_import_qml_plugin(TARGET)
# Imports the QML module's generated static plugin into whatever links TARGET,
# so the engine registers the module's types itself when QML imports it: no
# registration call by hand. Call after qt_add_qml_module(TARGET ...).
function(vostrel_import_qml_plugin target)
    get_target_property(uri ${target} QT_QML_MODULE_URI)
    string(REPLACE "." "_" class "${uri}Plugin")
    set(file ${CMAKE_CURRENT_BINARY_DIR}/${target}_qmlimport.cpp)
    file(CONFIGURE OUTPUT ${file}
         CONTENT "#include <QtQml/qqmlextensionplugin.h>\nQ_IMPORT_QML_PLUGIN(${class})\n")
    target_sources(${target} INTERFACE ${file})
    target_link_libraries(${target} INTERFACE ${target}plugin)
endfunction()
