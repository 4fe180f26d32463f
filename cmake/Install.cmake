# What `cmake --install` puts where (GNUInstallDirs): the four programs in bin; the sample database,
# the docs, the manual pages, the bash completion, and for the two windows their menu entries, icons
# and AppStream data. The package (cmake/Packaging.cmake) is made from the same rules.
include(GNUInstallDirs)

set(CORVANE_DATA_DIR ${PROJECT_SOURCE_DIR}/data)
set(CORVANE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/corvane)
set(CORVANE_GENERATED_DIR ${PROJECT_BINARY_DIR}/data)

# One release date for the metainfo and the changelog; a reproducible build can set it.
if(NOT CORVANE_RELEASE_DATE)
    set(CORVANE_RELEASE_DATE 2026-12-10)
endif()
string(REPLACE "-" ";" release_parts ${CORVANE_RELEASE_DATE})
list(GET release_parts 0 release_year)
list(GET release_parts 1 release_month)
list(GET release_parts 2 release_day)
set(month_names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
math(EXPR month_index "${release_month} - 1")
list(GET month_names ${month_index} release_month_name)
set(CORVANE_CHANGELOG_DATE "${release_day} ${release_month_name} ${release_year} 12:00:00 +0000")

install(TARGETS corvane-cli boot.exe RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/samples/sample.db DESTINATION ${CMAKE_INSTALL_DATADIR}/corvane/samples)
install(FILES ${PROJECT_SOURCE_DIR}/README.md
              ${PROJECT_SOURCE_DIR}/docs/code-layout.md
              ${PROJECT_SOURCE_DIR}/docs/boottool-protocol.md
              ${PROJECT_SOURCE_DIR}/docs/flash-images.md
              ${PROJECT_SOURCE_DIR}/docs/corvane.png
              ${CORVANE_DATA_DIR}/debian/copyright
        DESTINATION ${CORVANE_DOC_DIR})
install(FILES ${CORVANE_DATA_DIR}/completion/corvane-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# Manual pages and the changelog carry the version and are installed compressed, as Debian wants.
find_program(GZIP_EXE gzip REQUIRED)
function(corvane_compressed_file source output destination)
    configure_file(${source} ${CORVANE_GENERATED_DIR}/${output} @ONLY)
    add_custom_command(OUTPUT ${CORVANE_GENERATED_DIR}/${output}.gz
        COMMAND ${GZIP_EXE} -9nf -k ${CORVANE_GENERATED_DIR}/${output}
        DEPENDS ${CORVANE_GENERATED_DIR}/${output}
        COMMENT "Compressing ${output}")
    set_property(GLOBAL APPEND PROPERTY CORVANE_COMPRESSED_FILES ${CORVANE_GENERATED_DIR}/${output}.gz)
    install(FILES ${CORVANE_GENERATED_DIR}/${output}.gz DESTINATION ${destination})
endfunction()

set(manual_pages corvane-cli.1 boot.exe.1)
if(BUILD_GUI)
    list(APPEND manual_pages corvane.1 Kestrun_boot.1)
endif()
foreach(page ${manual_pages})
    corvane_compressed_file(${CORVANE_DATA_DIR}/man/${page} man/${page} ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
corvane_compressed_file(${CORVANE_DATA_DIR}/debian/changelog.in changelog ${CORVANE_DOC_DIR})
get_property(compressed GLOBAL PROPERTY CORVANE_COMPRESSED_FILES)
add_custom_target(corvane_install_data ALL DEPENDS ${compressed})

if(BUILD_GUI)
    install(TARGETS corvane Kestrun_boot RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    foreach(app org.corvane.Corvane org.corvane.KestrunBoot)
        install(FILES ${CORVANE_DATA_DIR}/${app}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
        configure_file(${CORVANE_DATA_DIR}/${app}.metainfo.xml.in ${CORVANE_GENERATED_DIR}/${app}.metainfo.xml @ONLY)
        install(FILES ${CORVANE_GENERATED_DIR}/${app}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
        install(FILES ${CORVANE_DATA_DIR}/icons/${app}.svg
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
        foreach(size 16 32 48 256)
            install(FILES ${CORVANE_DATA_DIR}/icons/${app}-${size}.png
                    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                    RENAME ${app}.png)
        endforeach()
    endforeach()
endif()

