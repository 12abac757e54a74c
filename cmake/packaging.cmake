# `make install` and `make deb`: the program goes to bin/, its solver module to lib/tessaly/, the
# cluster recipe and the example to the documentation folder; CPack's DEB generator makes the
# Debian package of the same files, so that a cluster's nodes get `tessaly` on their PATH as any
# other package.
include(GNUInstallDirs)
install(TARGETS tessaly RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Refine's solver module: the program looks for it in ../lib/tessaly from its own folder.
install(TARGETS tessaly_solver LIBRARY DESTINATION lib/tessaly)
install(PROGRAMS examples/slurm_batch.sh examples/merge_shards.sh examples/example_table.sh
        DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
install(FILES examples/example.script examples/two_peaks.bgd
        DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessaly)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Peak fitting of measured spectra")
set(CPACK_PACKAGE_CONTACT "Tessaly developers <tessaly@localhost>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The shared libraries are found by dpkg-shlibdeps; the fonts the forms name, Qt's Japanese
# texts and its platform plugins are read at run time and found by no linker.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-ipafont-gothic, fonts-dejavu-core, qt6-translations-l10n, qt6-qpa-plugins")
include(CPack)
