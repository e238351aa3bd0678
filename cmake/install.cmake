# `cmake --install build --prefix DIR` lays out DIR as a working folder: the
# program, an empty txt_in for the documents, and a README saying which tools
# go beside the program. The test-only programs are never installed.
install(TARGETS korvel RUNTIME DESTINATION .)
install(DIRECTORY DESTINATION txt_in)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/../packaging/README-working-folder.txt
        DESTINATION . RENAME README.txt)
