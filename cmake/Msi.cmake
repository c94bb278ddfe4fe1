# Run by cpack after it has made a Windows zip (CPACK_POST_BUILD_SCRIPTS, set in
# cmake/Packaging.cmake): the same build's Windows Installer package beside it,
# <package file name>.msi (tessaline-0.1-win64.msi), built by wixl from
# dist/tessaline.wxs. Its files are the zip's own, taken out of it: a second
# stripping install would not do, as strip stamps a Windows program with the time
# it ran. The zip's install steps stay out (the MSI does them).

# One product for both widths: installing either replaces the other, or an older
# version. Never change it, or a new package installs beside the old one.
set(upgrade_code 2287BD5F-326B-429F-8F0C-A9111DD8CE4A)
# The other GUIDs are derived from names in this namespace: a component keeps its
# GUID from version to version (its file keeps its place), and each version and
# width is a product of its own, so that a newer one upgrades an older one.
set(namespace C99F23D1-8910-4DD5-8FCD-CE75144652DF)

set(version ${CPACK_PACKAGE_VERSION})
if(CPACK_TESS_WIN_BITS EQUAL 64)
    set(arch x64)
    set(defines -D Win64=yes -D ProgramFiles=ProgramFiles64Folder -D System=System64Folder)
else()
    set(arch x86)
    set(defines -D Win64=no -D ProgramFiles=ProgramFilesFolder -D System=SystemFolder)
endif()
string(UUID product_code NAMESPACE ${namespace} NAME "product ${arch} ${version}" TYPE SHA1 UPPER)
list(APPEND defines -D Version=${version} -D Arch=${arch} -D ProductCode=${product_code}
    -D UpgradeCode=${upgrade_code})
foreach(component Program Readme Licence Saver)
    string(UUID guid NAMESPACE ${namespace} NAME "component ${arch} ${component}" TYPE SHA1 UPPER)
    list(APPEND defines -D ${component}Guid=${guid})
endforeach()

set(zip ${CPACK_PACKAGE_FILES})
list(FILTER zip INCLUDE REGEX "\\.zip$")
list(LENGTH zip zips)
if(NOT zips EQUAL 1)
    message(FATAL_ERROR "MSI: expected one zip among the packages, got '${CPACK_PACKAGE_FILES}'")
endif()
set(unpacked ${CPACK_PACKAGE_DIRECTORY}/_CPack_Packages/${CPACK_SYSTEM_NAME}/MSI)
file(REMOVE_RECURSE ${unpacked})
file(ARCHIVE_EXTRACT INPUT ${zip} DESTINATION ${unpacked})
set(stage ${unpacked}/${CPACK_PACKAGE_FILE_NAME}) # the zip's top folder
if(NOT EXISTS ${stage}/tessaline.exe)
    message(FATAL_ERROR "MSI: no tessaline.exe in ${stage}, unpacked from ${zip}")
endif()
# The installed size for the programs list (kilobytes): Windows Installer works it
# out itself, wine's leaves it at 0 without this.
set(bytes 0)
foreach(file tessaline.exe tessaline.scr README.txt LICENSE.txt)
    file(SIZE ${stage}/${file} size)
    math(EXPR bytes "${bytes} + ${size}")
endforeach()
math(EXPR kilobytes "(${bytes} + 1023) / 1024")

set(msi ${CPACK_PACKAGE_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.msi)
# wixl finds a File's source in the folder it runs in, the icon beside the .wxs.
execute_process(COMMAND ${CPACK_TESS_WIXL} -a ${arch} ${defines} -D Size=${kilobytes}
                        -o ${msi} ${CPACK_TESS_SOURCE_DIR}/dist/tessaline.wxs
    WORKING_DIRECTORY ${stage} COMMAND_ERROR_IS_FATAL ANY)
# wixl leaves every file unversioned, and Windows Installer compares unversioned
# files by date: the programs get the version their version records carry (the
# same files in a package of another version keep it) and their language.
execute_process(COMMAND ${CPACK_TESS_MSIBUILD} ${msi} -q "UPDATE `File` \
SET `Version` = '${CPACK_TESS_FILE_VERSION}', `Language` = '1033' \
WHERE `File` = 'tessaline.exe' OR `File` = 'tessaline.scr'" COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "MSI: ${msi} generated")
