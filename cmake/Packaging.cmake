# CPack: on Linux two .deb packages, tessaline (programs, manual pages, desktop
# entry, icon, docs) and tessaline-dev (the toolkit's headers, libraries and CMake
# package); on Windows one .zip per width with the program and its texts and,
# where wixl is found, an MSI of the same files (cmake/Msi.cmake); from the web
# build one .zip with the page.
#   cpack --config build/CPackConfig.cmake -B packages

set(CPACK_PACKAGE_NAME tessaline)
set(CPACK_PACKAGE_VENDOR "the Tessaline authors")
set(CPACK_PACKAGE_CONTACT "${TESS_PACKAGE_CONTACT}")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_STRIP_FILES ON)

if(EMSCRIPTEN)
    # The browser page: tessaline-web-0.1.zip with tessaline.html, the served
    # variant in site/, the README and the licence.
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME tessaline-web-${PROJECT_VERSION})
    set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
    set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
    set(CPACK_COMPONENTS_ALL runtime licence)
    set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
elseif(WIN32)
    set(CPACK_GENERATOR ZIP)
    # One archive of the runtime component alone (a plain archive would take every
    # component), under a folder named with the width: tessaline-0.1-win64/.
    set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
    set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
    set(CPACK_COMPONENTS_ALL runtime)
    set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
    # The MSI: made after the zip by a script of ours, CPack having no generator
    # for wixl; it holds the zip's files.
    # msibuild (msitools) gives the programs their versions in the File table.
    find_program(TESS_WIXL wixl)
    find_program(TESS_MSIBUILD msibuild)
    if(TESS_WIXL AND TESS_MSIBUILD)
        set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/Msi.cmake)
        set(CPACK_TESS_WIXL ${TESS_WIXL})
        set(CPACK_TESS_MSIBUILD ${TESS_MSIBUILD})
        set(CPACK_TESS_SOURCE_DIR ${PROJECT_SOURCE_DIR})
        math(EXPR CPACK_TESS_WIN_BITS "${CMAKE_SIZEOF_VOID_P} * 8")
        # The programs' own version (app/CMakeLists.txt), whatever the package's.
        set(CPACK_TESS_FILE_VERSION ${TESS_VERSION_QUAD})
    else()
        message(STATUS "No wixl or msibuild (Debian's wixl, msitools): cpack makes no MSI")
    endif()
else()
    set(CPACK_GENERATOR DEB)
    set(CPACK_DEB_COMPONENT_INSTALL ON)
    set(CPACK_COMPONENTS_GROUPING ONE_PER_GROUP)
    set(CPACK_COMPONENTS_ALL runtime deb_runtime dev deb_dev)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SOURCE tessaline)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    # Dependencies from the binaries themselves (dpkg-shlibdeps), never by hand.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

    set(CPACK_DEBIAN_MAIN_PACKAGE_NAME tessaline)
    set(CPACK_DEBIAN_MAIN_PACKAGE_SECTION x11)
    set(CPACK_DEBIAN_MAIN_DESCRIPTION
"full-screen animation and screensaver: a chain painting fading traces
A chain of 100 points wanders over a black picture that is never cleared, and
every frame the pixel under each point is faded a little toward the chain's
colour, so the chain paints slowly thickening coloured traces. Esc quits;
holding Enter changes the colour.
.
The display mode is never changed: the chosen resolution (320x240 to
1280x1024) is shown in a window over the whole desktop, scaled to fit.
.
tessaline-saver is the same animation as a screensaver for XScreenSaver,
drawing into the window the daemon gives it. tessaline-render makes the
same pictures without a screen.")

    set(CPACK_DEBIAN_DEV_PACKAGE_NAME tessaline-dev)
    set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
    set(CPACK_DEBIAN_DEV_DESCRIPTION
"drawing toolkit of Tessaline (static libraries and headers)
The vec2 type with its vector functions, and a small drawing toolkit over
Win32 GDI names: a persistent pen and brush, circles, lines and polygons,
with the software device context they draw through, so a program can draw
into a memory bitmap and read its pixels back.
.
For CMake: find_package(Tessaline) and link Tessaline::toolkit.")
endif()

include(CPack)

cpack_add_component_group(main)
cpack_add_component_group(dev)
cpack_add_component(runtime DISPLAY_NAME "Tessaline" GROUP main)
cpack_add_component(deb_runtime GROUP main HIDDEN)
cpack_add_component(dev DISPLAY_NAME "Drawing toolkit" GROUP dev)
cpack_add_component(deb_dev GROUP dev HIDDEN)
