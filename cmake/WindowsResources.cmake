# Links qimlar.exe's icon and version record (resources/qimlar.rc) into a Windows program.

include_guard(GLOBAL)

function(qimlar_add_windows_resources target)
    # The script names its icon image by a bare file name, which rc.exe looks for in the current
    # folder and the include path, not beside the script.
    set(resources ${PROJECT_SOURCE_DIR}/resources)
    target_sources(${target} PRIVATE ${resources}/qimlar.rc)
    set_source_files_properties(${resources}/qimlar.rc
        DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
        PROPERTIES INCLUDE_DIRECTORIES ${resources}
                   OBJECT_DEPENDS ${resources}/qimlar-icon-image.bin)
endfunction()
