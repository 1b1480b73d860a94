# Places a program in dist/, where it finds LibaryDir/ and DataBase/ beside itself.
function(kx_dist_program target)
    set_target_properties(${target} PROPERTIES
        RUNTIME_OUTPUT_DIRECTORY ${KX_DIST_DIR}
        BUILD_RPATH "$ORIGIN")
endfunction()
