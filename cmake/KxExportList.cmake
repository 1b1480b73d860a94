# One export list per shared library, read by the Linux version script generated here and by the
# Windows .def of the cross build, so the two can never disagree on what is visible.
#
# List format, one export a line ('#' starts a comment):
#   <name> <argument bytes> [<ordinal>]
# The argument bytes give the 32-bit Windows stdcall decoration (<name>@<bytes>); the ordinal,
# when present, is the only way the Windows import binds that export.

# Reads the export names of <list_file> into <out_var>.
function(kx_read_export_names list_file out_var)
    file(STRINGS ${list_file} lines)
    set(names)
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "#.*" "" line "${line}")
        string(STRIP "${line}" line)
        if(line STREQUAL "")
            continue()
        endif()
        string(REGEX MATCH "^[A-Za-z_][A-Za-z0-9_]*" name "${line}")
        list(APPEND names ${name})
    endforeach()
    set(${out_var} ${names} PARENT_SCOPE)
endfunction()

# Makes exactly the names of <list_file> the dynamic symbols of the shared library <target>.
function(kx_export_list target list_file)
    if(WIN32)
        include(KxWindowsExports)
        kx_windows_exports(${target} ${list_file})
        return()
    endif()
    kx_read_export_names(${list_file} names)
    set(script "{\n  global:\n")
    foreach(name IN LISTS names)
        string(APPEND script "    ${name};\n")
    endforeach()
    string(APPEND script "  local:\n    *;\n};\n")
    set(map ${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
    file(CONFIGURE OUTPUT ${map} CONTENT "${script}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${list_file})
    target_link_options(${target} PRIVATE "LINKER:--version-script=${map}")
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${map})
endfunction()

# The test <name>: the dynamic symbols of <target> are exactly the names of <list_file> (POSIX).
function(kx_add_export_test name target list_file)
    add_test(NAME ${name}
        COMMAND ${CMAKE_COMMAND} -DLIBRARY=$<TARGET_FILE:${target}> -DEXPORT_LIST=${list_file}
                -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/KxCheckExports.cmake)
endfunction()
