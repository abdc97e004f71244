# Copies the loose lists (flags, countries) into the run folder; a list not made yet is skipped.
foreach(dir Flags Countries)
    file(MAKE_DIRECTORY ${RUN_DIR}/${dir})
    if(EXISTS ${SOURCE_DIR}/data/${dir})
        file(COPY ${SOURCE_DIR}/data/${dir}/ DESTINATION ${RUN_DIR}/${dir})
    endif()
endforeach()
