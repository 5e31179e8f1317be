# The Debian package that `cmake --build --preset release --target package` makes: what the
# install rules put in place (the program alone, never the demo or the tests), under /usr, with
# its runtime dependencies read from the program by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Quorvane developers <quorvane@example.org>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# CPack indents the lines after the first and turns an empty one into Debian's " .".
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "look up Bilibili videos by their AV number
Quorvane is one small window for the Bilibili video site: type a video's
AV number to see its title, uploader, cover picture and the addresses of
its parts, and log an account in with a captcha and out again.

It downloads, plays and saves nothing and keeps no settings.")
