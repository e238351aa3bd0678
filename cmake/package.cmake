# `cpack` in the Windows build folder (scripts/package-windows.sh) zips the
# working folder that `cmake --install` lays out: korvel.exe, convertcp.exe,
# the empty txt_in and htm_out and README.txt, inside one folder named like
# the zip, korvel-<version>-win64. The programs go in stripped.
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME korvel)
set(CPACK_PACKAGE_VENDOR korvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME korvel-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
