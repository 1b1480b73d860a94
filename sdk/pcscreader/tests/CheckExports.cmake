# Fails unless LIBRARY defines exactly the dc_ functions of KXD103 as dynamic symbols.
set(expected dc_authentication dc_beep dc_card dc_decrement dc_exit dc_halt dc_increment dc_init
    dc_load_key dc_read dc_readval)
execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY}
    OUTPUT_VARIABLE listing RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${listing}")
set(exported)
foreach(line IN LISTS lines)
    string(REGEX REPLACE "^.* " "" name "${line}")
    list(APPEND exported ${name})
endforeach()
list(SORT exported)
if(NOT exported STREQUAL expected)
    message(FATAL_ERROR "KXD103 exports ${exported}\nexpected ${expected}")
endif()
message(STATUS "KXD103 exports exactly the dc_ functions")
