# Where `cmake --install` puts things, and the helpers the folders call to put
# their own targets there. Two components:
#   runtime  the programs, their manual pages, desktop entry, icon and docs
#            (the tessaline .deb, the Windows .zip)
#   dev      the toolkit's headers, static libraries and CMake package
#            (the tessaline-dev .deb)
# Adding a program is one line in its folder, tess_install_program(<target>), and
# its manual page one line in dist/, tess_install_manual(<page>.6) beside <page>.6.in;
# any other file it needs installs with COMPONENT runtime (into the .deb and zip).

if(WIN32 OR EMSCRIPTEN)
    # A Windows program, or the browser page, keeps its files together in one folder
    # (the zip's): plain variables, which win over what a cache (an older build
    # directory) holds.
    set(CMAKE_INSTALL_BINDIR ".")
    set(CMAKE_INSTALL_DOCDIR ".")
else()
    # Named for the package, as the system's own docs folders are (not "Tessaline").
    set(CMAKE_INSTALL_DOCDIR "share/doc/tessaline" CACHE PATH "Documentation (DOCDIR)")
endif()
include(GNUInstallDirs)

set(TESS_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/Tessaline")

# A stripping install (cpack, `cmake --install --strip`) strips as Debian's dh_strip
# does: CMake's own strip leaves the .comment and .note sections in programs and
# never touches static libraries. Windows images are CMake's alone.
function(tess_strip_installed file component)
    if(WIN32 OR NOT CMAKE_STRIP)
        return()
    endif()
    list(JOIN ARGN " " options)
    install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" ${options} --remove-section=.comment --remove-section=.note
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${file}\" COMMAND_ERROR_IS_FATAL ANY)
endif()" COMPONENT ${component})
endfunction()

function(tess_install_program target)
    install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
    tess_strip_installed(${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:${target}> runtime)
endfunction()

# A library of the toolkit package: its archive (named tessaline_<target>, not a bare
# "libmath.a" in the system's folder), its public headers under
# include/tessaline/<folder>/ and its place in the exported targets.
function(tess_install_library target)
    cmake_parse_arguments(L "" "EXPORT_NAME" "HEADERS" ${ARGN})
    get_target_property(type ${target} TYPE)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
        set_target_properties(${target} PROPERTIES OUTPUT_NAME tessaline_${target})
    endif()
    if(L_EXPORT_NAME)
        set_target_properties(${target} PROPERTIES EXPORT_NAME ${L_EXPORT_NAME})
    endif()
    install(TARGETS ${target} EXPORT TessalineTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev
        # Both: <tessaline/draw/shapes.h> for the consumer, "math/vec2.h" inside.
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} ${CMAKE_INSTALL_INCLUDEDIR}/tessaline)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
        tess_strip_installed(${CMAKE_INSTALL_LIBDIR}/$<TARGET_FILE_NAME:${target}> dev
            --strip-debug --enable-deterministic-archives)
    endif()
    if(L_HEADERS)
        file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
        install(FILES ${L_HEADERS} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tessaline/${folder}
            COMPONENT dev)
    endif()
endfunction()
