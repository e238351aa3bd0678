# The version is set once, in project(); convertcp.exe --version shows it
# through a generated header, and the Windows package carries it in its name.
configure_file(${CMAKE_CURRENT_LIST_DIR}/korvel_version.h.in ${CMAKE_BINARY_DIR}/generated/korvel_version.h @ONLY)
target_include_directories(convertcp PRIVATE ${CMAKE_BINARY_DIR}/generated)

if(BUILD_TESTING AND NOT CMAKE_CROSSCOMPILING)
  string(REPLACE "." "\\." version_pattern "${PROJECT_VERSION}")
  add_test(NAME convertcp_version COMMAND convertcp --version)
  set_tests_properties(convertcp_version PROPERTIES
                       PASS_REGULAR_EXPRESSION "^convertcp\\.exe ${version_pattern} \\(")
endif()
