# The help pages ship beside the programs, in html/, where the dialogs' help buttons look for
# them (src/ui/help.h). Their sources are resources/html; the build puts the list of pages into
# each (cmake/HelpPage.cmake) and copies the style sheet as it is.
set(VQ_HELP_SOURCE_DIR ${PROJECT_SOURCE_DIR}/resources/html)
file(GLOB VQ_HELP_SOURCES CONFIGURE_DEPENDS ${VQ_HELP_SOURCE_DIR}/*.html)
set(VQ_HELP_OUTPUT_DIR ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/html)

set(VQ_HELP_FILES ${VQ_HELP_OUTPUT_DIR}/style.css)
add_custom_command(
  OUTPUT ${VQ_HELP_OUTPUT_DIR}/style.css
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VQ_HELP_OUTPUT_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${VQ_HELP_SOURCE_DIR}/style.css
          ${VQ_HELP_OUTPUT_DIR}/style.css
  DEPENDS ${VQ_HELP_SOURCE_DIR}/style.css
  COMMENT "Help style sheet"
  VERBATIM)
foreach(source IN LISTS VQ_HELP_SOURCES)
  get_filename_component(file_name ${source} NAME)
  set(output ${VQ_HELP_OUTPUT_DIR}/${file_name})
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VQ_HELP_OUTPUT_DIR}
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${source} -DNAV=${VQ_HELP_SOURCE_DIR}/pages_nav.inc
            -DOUTPUT=${output} -P ${PROJECT_SOURCE_DIR}/cmake/HelpPage.cmake
    DEPENDS ${source} ${VQ_HELP_SOURCE_DIR}/pages_nav.inc ${PROJECT_SOURCE_DIR}/cmake/HelpPage.cmake
    COMMENT "Help page ${file_name}"
    VERBATIM)
  list(APPEND VQ_HELP_FILES ${output})
endforeach()
add_custom_target(vq_help_pages ALL DEPENDS ${VQ_HELP_FILES})
if(TARGET vaultquill)
  add_dependencies(vaultquill vq_help_pages)
endif()
