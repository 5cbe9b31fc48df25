# The public release: what `cmake --install` puts into a folder and scripts/package zips with
# CPack as quorvane-<version>-<flavour>.zip, the files at the top of the archive.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)  # scripts/package builds what the release holds
install(TARGETS stock glimmora RUNTIME DESTINATION .)
install(FILES $<TARGET_FILE:SkinH_VB6> release/readme.txt DESTINATION .)
install(DIRECTORY skins/ DESTINATION skins FILES_MATCHING PATTERN "*.she")

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR Quorvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME quorvane-${PROJECT_VERSION}-${flavour})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
