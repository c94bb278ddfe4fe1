# Debian's hardening for the Linux build, as its packages get it: the flags
# dpkg-buildflags gives with every hardening feature on (bind-now as well), asked at
# configure time rather than written down here, so they follow the system's tools.
# The optimisation level and -g stay the build type's; a Debug build asks as a noopt
# package build does, which leaves out _FORTIFY_SOURCE (it needs optimisation).
# Off by default for Windows and for the sanitizer and fuzz builds, which
# instrument the same calls in their own way.
find_program(TESS_DPKG_BUILDFLAGS dpkg-buildflags)
set(TESS_HARDEN_DEFAULT OFF)
if(TESS_DPKG_BUILDFLAGS AND NOT WIN32 AND NOT EMSCRIPTEN AND NOT TESS_SANITIZE AND NOT TESS_BUILD_FUZZ)
    set(TESS_HARDEN_DEFAULT ON)
endif()
option(TESS_HARDEN "Build with Debian's hardening flags (dpkg-buildflags)" ${TESS_HARDEN_DEFAULT})
if(NOT TESS_HARDEN)
    return()
endif()
if(NOT TESS_DPKG_BUILDFLAGS)
    message(FATAL_ERROR "TESS_HARDEN needs dpkg-buildflags (Debian's dpkg-dev)")
endif()

set(TESS_BUILDFLAGS_ENV DEB_BUILD_MAINT_OPTIONS=hardening=+all
    "DEB_CXXFLAGS_MAINT_STRIP=-g -O0 -O2")
if(CMAKE_BUILD_TYPE STREQUAL "Debug")
    list(APPEND TESS_BUILDFLAGS_ENV DEB_BUILD_OPTIONS=noopt)
endif()
set(TESS_HARDEN_FLAGS "")
foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    # From the source folder: its -ffile-prefix-map maps that folder to ".".
    execute_process(COMMAND ${CMAKE_COMMAND} -E env ${TESS_BUILDFLAGS_ENV}
                            ${TESS_DPKG_BUILDFLAGS} --get ${kind}
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    if(kind STREQUAL "LDFLAGS")
        add_link_options(${flags})
    else()
        add_compile_options(${flags})
    endif()
    list(APPEND TESS_HARDEN_FLAGS ${flags})
endforeach()
list(JOIN TESS_HARDEN_FLAGS " " TESS_HARDEN_FLAGS)
message(STATUS "dpkg-buildflags: ${TESS_HARDEN_FLAGS}")
