# The panel's layers, lowest first. Each is a folder and a static library that
# links only the layers below it, and that sees the headers of exactly those
# layers and its own: its include folder holds links to them and to nothing
# else, so an include that reaches up a layer does not compile.
#   platform <- settings <- driver <- layout, channels <- sequences <- app <- frontends
#                            dialog <- layout, channels
# The dialog's vocabulary (control ids, the controls interface) needs nothing
# below it, and only the layers that work the dialog see it.
set(KORVANE16_LAYER_BELOW_platform "")
set(KORVANE16_LAYER_BELOW_dialog "")
set(KORVANE16_LAYER_BELOW_settings platform)
set(KORVANE16_LAYER_BELOW_driver settings)
set(KORVANE16_LAYER_BELOW_layout driver dialog)
set(KORVANE16_LAYER_BELOW_channels driver dialog)
set(KORVANE16_LAYER_BELOW_sequences layout channels)
set(KORVANE16_LAYER_BELOW_app sequences)

# The folders a layer sees: itself and every layer below it.
function(korvane16_layer_view layer out)
  set(view ${layer})
  foreach(below ${KORVANE16_LAYER_BELOW_${layer}})
    korvane16_layer_view(${below} below_view)
    list(APPEND view ${below_view})
  endforeach()
  list(REMOVE_DUPLICATES view)
  set(${out} ${view} PARENT_SCOPE)
endfunction()

# Makes the library korvane16_LAYER of the folder LAYER from SOURCES.
function(korvane16_layer layer)
  add_library(korvane16_${layer} STATIC ${ARGN})
  korvane16_layer_view(${layer} view)
  set(include_folder ${PROJECT_BINARY_DIR}/layers/${layer})
  file(MAKE_DIRECTORY ${include_folder})
  foreach(folder ${view})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${include_folder}/${folder} SYMBOLIC)
  endforeach()
  target_include_directories(korvane16_${layer} PUBLIC ${include_folder})
  foreach(below ${KORVANE16_LAYER_BELOW_${layer}})
    target_link_libraries(korvane16_${layer} PUBLIC korvane16_${below})
  endforeach()
endfunction()
