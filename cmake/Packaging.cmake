# The bundle the host application installs: a folder com.korvex.powerpoint.gpPlugin holding the
# executable, the language files and the field check (glyphpad-fieldcheck), on both lanes.
#
#   cmake --install <build> --prefix <dir> [--strip] <dir>/com.korvex.powerpoint.gpPlugin/...
#   cmake --build <build> --target bundle           the same, stripped, into <build>/bundle
#   cmake --build <build> --target bundle-zip       Windows: <build>/com.korvex.powerpoint.gpPlugin.zip
#
# Included after the subdirectories, so the executable target exists.
install(TARGETS glyphpad-powerpoint glyphpad-fieldcheck RUNTIME DESTINATION ${GP_PLUGIN_FOLDER_NAME})
file(GLOB GP_BUNDLE_LANGUAGE_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/localization/*.json)
install(FILES ${GP_BUNDLE_LANGUAGE_FILES} DESTINATION ${GP_PLUGIN_FOLDER_NAME})

set(GP_BUNDLE_ROOT ${CMAKE_BINARY_DIR}/bundle)
add_custom_target(bundle
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${GP_BUNDLE_ROOT}
  COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${GP_BUNDLE_ROOT} --strip
  DEPENDS glyphpad-powerpoint glyphpad-fieldcheck
  COMMENT "Bundle ${GP_BUNDLE_ROOT}/${GP_PLUGIN_FOLDER_NAME}"
  VERBATIM)

if(WIN32)
  find_program(GP_ZIP zip)
  if(GP_ZIP)
    set(GP_BUNDLE_ZIP ${CMAKE_BINARY_DIR}/${GP_PLUGIN_FOLDER_NAME}.zip)
    # -X: no extra file attributes, so the archive depends only on the files.
    add_custom_target(bundle-zip
      COMMAND ${CMAKE_COMMAND} -E rm -f ${GP_BUNDLE_ZIP}
      COMMAND ${GP_ZIP} -q -r -X ${GP_BUNDLE_ZIP} ${GP_PLUGIN_FOLDER_NAME}
      WORKING_DIRECTORY ${GP_BUNDLE_ROOT}
      DEPENDS bundle
      COMMENT "Zip ${GP_BUNDLE_ZIP}"
      VERBATIM)
  endif()
endif()
