# The help pages ship beside the programs, in html/, where the dialogs' help buttons look for
# them (src/ui/help.h). Their sources are resources/html; the build copies them as they are.
file(GLOB VQ_HELP_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/html/*.html
     ${PROJECT_SOURCE_DIR}/resources/html/*.css)
set(VQ_HELP_OUTPUT_DIR ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/html)

set(help_outputs)
foreach(source IN LISTS VQ_HELP_FILES)
  get_filename_component(file_name ${source} NAME)
  set(output ${VQ_HELP_OUTPUT_DIR}/${file_name})
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VQ_HELP_OUTPUT_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} ${output}
    DEPENDS ${source}
    COMMENT "Help page ${file_name}"
    VERBATIM)
  list(APPEND help_outputs ${output})
endforeach()
add_custom_target(vq_help_pages ALL DEPENDS ${help_outputs})
if(TARGET vaultquill)
  add_dependencies(vaultquill vq_help_pages)
endif()
