# `cmake --install build --prefix DIR` lays out DIR as a complete working
# folder: the program, convertcp.exe, the indexer, wget.exe, the empty
# folders a first run expects (txt_in for the documents, htm_out, which a run
# empties but never makes) and the folder's README. The test-only programs
# are never installed.
install(TARGETS korvel convertcp RUNTIME DESTINATION .)
if(TARGET velmor)
  install(TARGETS velmor RUNTIME DESTINATION .)
endif()
install(DIRECTORY DESTINATION txt_in)
install(DIRECTORY DESTINATION htm_out)
if(WIN32)
  # Notepad and every Windows editor read CRLF; the source keeps LF for git.
  configure_file(${CMAKE_CURRENT_LIST_DIR}/../packaging/README-windows.txt
                 ${CMAKE_BINARY_DIR}/packaging/README.txt @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/README.txt DESTINATION .)
else()
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/../packaging/README-working-folder.txt
          DESTINATION . RENAME README.txt)
endif()
if(NOT WIN32)
  # korvel copies wget.exe to the indexer; on Linux that is the system's wget,
  # looked up when the folder is laid out, not when the project is built.
  install(CODE [[
    find_program(KORVEL_SYSTEM_WGET wget NO_CACHE)
    set(wget_link "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/wget.exe")
    if(KORVEL_SYSTEM_WGET)
      message(STATUS "Linking: ${wget_link} -> ${KORVEL_SYSTEM_WGET}")
      file(REMOVE "${wget_link}")
      file(CREATE_LINK "${KORVEL_SYSTEM_WGET}" "${wget_link}" SYMBOLIC)
    elseif(NOT EXISTS "${wget_link}")
      message(WARNING "wget is not installed: install it (apt-get install wget) and run "
                      "cmake --install again, or put a wget.exe into ${CMAKE_INSTALL_PREFIX}")
    endif()
  ]])
endif()

if(BUILD_TESTING AND NOT CMAKE_CROSSCOMPILING)
  add_test(NAME install_layout
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/../packaging/install_test.sh ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})
endif()
