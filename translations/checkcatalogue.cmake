# Fails when vostrel_en.ts is not what lupdate makes of the sources (a text
# added, changed or removed without refreshing the catalogue), or when lupdate
# warns about a text it cannot take. Run with -DLUPDATE=... -DCHECK_DIR=...
# -DOPTIONS=...; CHECK_DIR holds the project file translations/CMakeLists.txt
# wrote.
set(catalogue "${CMAKE_CURRENT_LIST_DIR}/vostrel_en.ts")
set(copy "${CHECK_DIR}/vostrel_en.ts")
file(COPY_FILE "${catalogue}" "${copy}")
execute_process(
    COMMAND "${LUPDATE}" -project "${CHECK_DIR}/project.json" ${OPTIONS}
    RESULT_VARIABLE status
    ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR errors)
    message(FATAL_ERROR "lupdate failed or warned:\n${errors}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${catalogue}" "${copy}"
                RESULT_VARIABLE differs)
if(differs)
    message(FATAL_ERROR "translations/vostrel_en.ts is out of date; refresh it with "
                        "'cmake --build build --target update_translations' and commit it")
endif()
