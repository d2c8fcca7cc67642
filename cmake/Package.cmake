# Installation layout and the Debian package.
#
# An installation folder holds the program, the engine library, `assets/`
# (samples, help, icons) and README.md side by side. The build folder is one
# (its assets and read-me link to the sources), so "vlmac -i" works there. The
# package puts the program in /usr/bin, the library in /usr/lib/velmora and
# the rest in /usr/share/velmora, which it records as the machine's
# installation folder.

target_compile_definitions(vlm_host PRIVATE VLM_VERSION="${PROJECT_VERSION}")

if(NOT CMAKE_BINARY_DIR STREQUAL CMAKE_SOURCE_DIR)
  foreach(item assets README.md)
    if(NOT EXISTS ${CMAKE_BINARY_DIR}/${item} AND NOT IS_SYMLINK ${CMAKE_BINARY_DIR}/${item})
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${item} ${CMAKE_BINARY_DIR}/${item} SYMBOLIC)
    endif()
  endforeach()
endif()

# The package's launcher and model file type, from the same code as "vlmac -i".
add_executable(vlm_desktop_files host/package/desktop_files_main.cpp host/desktop_entries.cpp)
target_include_directories(vlm_desktop_files PRIVATE ${CMAKE_SOURCE_DIR})
vlm_warnings(vlm_desktop_files)
set(VLM_DESKTOP_OUT ${CMAKE_BINARY_DIR}/package-desktop)
add_custom_command(
  OUTPUT ${VLM_DESKTOP_OUT}/applications/velmora-access.desktop ${VLM_DESKTOP_OUT}/mime/packages/velmora-access.xml
  COMMAND vlm_desktop_files ${VLM_DESKTOP_OUT}
  DEPENDS vlm_desktop_files
  COMMENT "Writing the package's launcher and model file type")
add_custom_target(vlm_package_desktop ALL
  DEPENDS ${VLM_DESKTOP_OUT}/applications/velmora-access.desktop ${VLM_DESKTOP_OUT}/mime/packages/velmora-access.xml)

set(VLM_SHARE share/velmora)
set_target_properties(vlmac PROPERTIES INSTALL_RPATH "$ORIGIN:$ORIGIN/../lib/velmora")
install(TARGETS vlmac RUNTIME DESTINATION bin)
install(TARGETS vlmapi LIBRARY DESTINATION lib/velmora)
# Whatever the assets folder holds (samples, databases, models, help, icons).
install(DIRECTORY assets/ DESTINATION ${VLM_SHARE}/assets)
install(FILES README.md DESTINATION ${VLM_SHARE})
install(FILES README.md cmake/debian/copyright DESTINATION share/doc/velmora)
install(FILES assets/icons/velmora-access.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES assets/icons/application-x-velmora-model.svg DESTINATION share/icons/hicolor/scalable/mimetypes)
install(FILES assets/icons/velmora-access-48.png DESTINATION share/icons/hicolor/48x48/apps RENAME velmora-access.png)
install(FILES assets/icons/application-x-velmora-model-48.png DESTINATION share/icons/hicolor/48x48/mimetypes
        RENAME application-x-velmora-model.png)
install(FILES ${VLM_DESKTOP_OUT}/applications/velmora-access.desktop DESTINATION share/applications)
install(FILES ${VLM_DESKTOP_OUT}/mime/packages/velmora-access.xml DESTINATION share/mime/packages)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Velmora")
set(CPACK_PACKAGE_CONTACT "Velmora developers <velmora@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "interactive 3D visual data mining")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Velmora loads a table (a database table or query, a spreadsheet selection, a\n"
       "tab-separated table from the clipboard or a file), shows every row as a 3D\n"
       "object and binds fields to position, colour, size, shape, labels, sound and\n"
       "speech. Models (.vlm files) save and re-apply all of it.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program and the engine link are found by dpkg-shlibdeps;
# what is loaded at run time (Qt's display plugins, Mesa's drivers) and the
# MIME database that registers the model files are named here. A library an
# engine part opens with dlopen belongs on this list too.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(VLM_PACKAGE_RUNTIME_DEPENDS "qt6-qpa-plugins, libgl1-mesa-dri, shared-mime-info")
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${VLM_PACKAGE_RUNTIME_DEPENDS}")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "desktop-file-utils, xdg-utils, hicolor-icon-theme")
set(VLM_MACHINE_FOLDER ${CPACK_PACKAGING_INSTALL_PREFIX}/${VLM_SHARE})
set(VLM_SCRIPT_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
configure_file(cmake/debian/postinst.in ${CMAKE_BINARY_DIR}/debian/postinst @ONLY FILE_PERMISSIONS ${VLM_SCRIPT_PERMISSIONS})
configure_file(cmake/debian/prerm.in ${CMAKE_BINARY_DIR}/debian/prerm @ONLY FILE_PERMISSIONS ${VLM_SCRIPT_PERMISSIONS})
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/debian/postinst ${CMAKE_BINARY_DIR}/debian/prerm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)
