# Run by `cmake --install` (and so by CPack): makes a manual page that names
# installed files, whose place only the install knows (its prefix), and installs
# it compressed. Set before: TESS_PAGE (source .in), TESS_PAGE_VARS (name=value
# pairs it uses besides TESS_PREFIX), TESS_MANDIR, TESS_GZIP, TESS_WORK.
set(TESS_PREFIX "${CMAKE_INSTALL_PREFIX}")
foreach(pair IN LISTS TESS_PAGE_VARS)
    string(REGEX MATCH "^([^=]*)=(.*)$" _ "${pair}")
    set(${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
endforeach()
get_filename_component(page "${TESS_PAGE}" NAME_WLE)
configure_file("${TESS_PAGE}" "${TESS_WORK}/${page}" @ONLY)
# -n: no name or time stamp, so the bytes repeat.
execute_process(COMMAND "${TESS_GZIP}" -9nf "${TESS_WORK}/${page}" RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "gzip failed on ${TESS_WORK}/${page}")
endif()
string(REGEX MATCH "[0-9]$" section "${page}")
file(INSTALL "${TESS_WORK}/${page}.gz" DESTINATION "${CMAKE_INSTALL_PREFIX}/${TESS_MANDIR}/man${section}")
