# Common compile settings and the layer rule: platform, device and core never see Qt Widgets.

add_compile_options(-Wall -Wextra)
# GCC 12 reports impossible -Wrestrict overlaps in inlined std::string concatenation at -O2
# (GCC bug 105329); the warning is noise there.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  add_compile_options(-Wno-restrict)
endif()

if(ORVANE_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(ORVANE_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(ORVANE_SANITIZE)
  message(FATAL_ERROR "ORVANE_SANITIZE must be address, thread or empty")
endif()

find_program(ORVANE_CCACHE ccache)
if(ORVANE_CCACHE)
  set(CMAKE_CXX_COMPILER_LAUNCHER ${ORVANE_CCACHE})
endif()

# A core-layer library: building it fails if Qt Widgets (or Gui) reaches it, directly or
# through a dependency.
function(orvane_core_library name)
  add_library(${name} STATIC ${ARGN})
  target_compile_definitions(${name} PUBLIC ORVANE_CORE_LAYER)
  set_property(GLOBAL APPEND PROPERTY ORVANE_CORE_TARGETS ${name})
endfunction()

function(orvane_check_layers)
  get_property(targets GLOBAL PROPERTY ORVANE_CORE_TARGETS)
  foreach(t IN LISTS targets)
    get_target_property(dir ${t} SOURCE_DIR)
    get_target_property(sources ${t} SOURCES)
    # Headers of the folders the library's sources are in (orvane_core's sources sit in
    # several folders of src/, next to the Widgets code of src/app and src/ui).
    set(headers "")
    foreach(src IN LISTS sources)
      if(NOT IS_ABSOLUTE "${src}")
        set(src "${dir}/${src}")
      endif()
      get_filename_component(src_dir "${src}" DIRECTORY)
      file(GLOB_RECURSE dir_headers "${src_dir}/*.h")
      list(APPEND headers ${dir_headers})
    endforeach()
    list(REMOVE_DUPLICATES headers)
    foreach(src IN LISTS sources headers)
      if(NOT IS_ABSOLUTE "${src}")
        set(src "${dir}/${src}")
      endif()
      file(STRINGS "${src}" hits REGEX "#[ \t]*include[ \t]*<(QtWidgets|QtGui|QWidget|QApplication|QPainter|QImage|QPixmap)")
      if(hits)
        message(FATAL_ERROR "${src} belongs to the core layer (${t}) and includes a Qt GUI header: ${hits}")
      endif()
    endforeach()
    get_target_property(libs ${t} LINK_LIBRARIES)
    if(libs)
      foreach(lib IN LISTS libs)
        if(lib MATCHES "Widgets|Qt6::Gui|orvane_ui")
          message(FATAL_ERROR "${t} is a core-layer library and must not link ${lib}")
        endif()
      endforeach()
    endif()
  endforeach()
endfunction()

# A folder whose files must not include the named folders (a lower layer never includes a
# higher one): fails the configure when one does.
function(orvane_check_includes dir)
  file(GLOB_RECURSE files "${dir}/*.h" "${dir}/*.cpp")
  foreach(f IN LISTS files)
    foreach(higher IN LISTS ARGN)
      file(STRINGS "${f}" hits REGEX "#[ \t]*include[ \t]*\"${higher}/")
      if(hits)
        message(FATAL_ERROR "${f} includes from ${higher}/, which sits above it: ${hits}")
      endif()
    endforeach()
  endforeach()
endfunction()

