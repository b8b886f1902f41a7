# The Debian package of the installed tree (tools/package.sh runs cpack).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME darazoz)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Darazoz developers <darazoz@users.noreply.github.com>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt finds its Chinese dialog texts in this package at run time.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
# CPack indents the lines after the first and marks the empty one.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "photo-album manager for JPEG photographs / JPEG照片相册管理
Darazoz相册管理系统 catalogues JPEG photographs where they lie on disk, reads
their EXIF data and embedded thumbnails into a catalogue, recognises
duplicates, and groups, shows, edits and searches them. The companion map
program zidevu names the regions of photos with a GPS position offline;
darazoz-cli works on the same catalogue from a shell.

Darazoz相册管理系统在照片所在的位置为JPEG照片编目，把EXIF信息和内嵌缩略图读入
目录，识别重复的照片，并对照片分组、显示、编辑和搜索。配套的地图程序zidevu
离线查找带GPS位置的照片所在的地区；命令行工具darazoz-cli使用同一个目录。")
include(CPack)
