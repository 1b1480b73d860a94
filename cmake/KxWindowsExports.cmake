# The Windows side of the export lists read by cmake/KxExportList.cmake (one export a
# line: <name> <argument bytes> [<ordinal>]). The DLL exports exactly the listed names, plain and
# undecorated, or by ordinal only where the list gives one; its import library comes from dlltool,
# because the one ld writes under --kill-at does not link against __stdcall declarations.

# Writes the .def of <dll_name> from <list_file> to <def_file>. On 32-bit the names carry their
# stdcall decoration (KXOpenPrinter@24), which --kill-at strips from the export table.
function(kx_windows_def list_file dll_name def_file)
    # Every line that is not blank or a comment.
    file(STRINGS ${list_file} lines REGEX "^[ \t]*[^ \t#]")
    set(def "LIBRARY \"${dll_name}\"\nEXPORTS\n")
    foreach(line IN LISTS lines)
        if(NOT line MATCHES "^[ \t]*([A-Za-z_][A-Za-z0-9_]*)[ \t]+([0-9]+)([ \t]+([0-9]+))?[ \t]*(#.*)?$")
            message(FATAL_ERROR "${list_file}: not <name> <argument bytes> [<ordinal>]: ${line}")
        endif()
        set(entry ${CMAKE_MATCH_1})
        if(CMAKE_SIZEOF_VOID_P EQUAL 4)
            string(APPEND entry "@${CMAKE_MATCH_2}")
        endif()
        if(CMAKE_MATCH_4)
            string(APPEND entry " @${CMAKE_MATCH_4} NONAME")
        endif()
        string(APPEND def "    ${entry}\n")
    endforeach()
    file(CONFIGURE OUTPUT ${def_file} CONTENT "${def}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${list_file})
endfunction()

# Makes the shared library <target> "<OUTPUT_NAME>.dll" exporting exactly <list_file>, with an
# import library "<OUTPUT_NAME>.lib" (for MinGW and MSVC linkers) that replaces ld's own.
function(kx_windows_exports target list_file)
    get_target_property(name ${target} OUTPUT_NAME)
    if(NOT name)
        set(name ${target})
    endif()
    set(def ${CMAKE_CURRENT_BINARY_DIR}/${name}.def)
    kx_windows_def(${list_file} ${name}.dll ${def})
    # A DLL is a runtime output on Windows: it goes where the shared library goes elsewhere.
    get_target_property(folder ${target} LIBRARY_OUTPUT_DIRECTORY)
    if(folder)
        set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${folder})
    endif()
    set_target_properties(${target} PROPERTIES
        PREFIX "" IMPORT_PREFIX "" IMPORT_SUFFIX ".lib" LINK_DEPENDS ${def})
    target_link_options(${target} PRIVATE ${def})
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        target_link_options(${target} PRIVATE LINKER:--kill-at)
    endif()
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_DLLTOOL} -d ${def} -l $<TARGET_LINKER_FILE:${target}> -k
        COMMENT "Import library of ${name}.dll from its .def")
endfunction()
