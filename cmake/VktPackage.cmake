# The Debian package of the program (tools/package): what `install` puts under the prefix, less the
# stand-in server and the test tools, which have no install rules.
set(VKT_PACKAGE_MAINTAINER "Korwind update center developers <updatecenter@korwind.example>")
set(doc_dir "share/doc/${VKT_PACKAGE_NAME}")
set(package_dir "${CMAKE_BINARY_DIR}/package")

# Debian wants a changelog and a manual page, compressed without time stamps.
string(TIMESTAMP VKT_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file("${PROJECT_SOURCE_DIR}/packaging/changelog.in" "${package_dir}/changelog" @ONLY)
add_custom_command(OUTPUT "${package_dir}/changelog.gz"
    COMMAND gzip -9nc "${package_dir}/changelog" > "${package_dir}/changelog.gz"
    DEPENDS "${package_dir}/changelog")
set(manual_pages "")
foreach(page IN ITEMS KorwindNavigatorUpdater.1 korwind-update.1)
    add_custom_command(OUTPUT "${package_dir}/${page}.gz"
        COMMAND gzip -9nc "${PROJECT_SOURCE_DIR}/packaging/${page}" > "${package_dir}/${page}.gz"
        DEPENDS "${PROJECT_SOURCE_DIR}/packaging/${page}")
    list(APPEND manual_pages "${package_dir}/${page}.gz")
endforeach()
add_custom_target(package_documents ALL DEPENDS "${package_dir}/changelog.gz" ${manual_pages})
install(FILES "${PROJECT_SOURCE_DIR}/packaging/copyright" "${package_dir}/changelog.gz" DESTINATION "${doc_dir}")
install(FILES ${manual_pages} DESTINATION share/man/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME "${VKT_PACKAGE_NAME}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Korwind")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "update center for Korwind Navigator devices")
# CPack puts the summary in front of this as the synopsis line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A wizard that brings the Korwind Navigator program and its maps on a
connected navigation device up to date: it finds the device and the program
on it, asks the update server for program and map updates, downloads the
chosen ones, backs up what they replace and copies them onto the device.
It also restores earlier backups.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VKT_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The libraries' own dependencies miss the toolkit's platform plugins, without which no window opens.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# A newer update center's setup that may not be started as the user is started through the policy agent.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pkexec")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
