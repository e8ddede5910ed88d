# SPDX-License-Identifier: GPL-3.0-or-later
# Common compile settings and the layer rule: platform, device and core never see Qt Widgets.

add_compile_options(-Wall -Wextra)
# GCC 12 reports impossible -Wrestrict overlaps in inlined std::string concatenation at -O2
# (GCC bug 105329); the warning is noise there.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  add_compile_options(-Wno-restrict)
endif()

if(ORVANE_BUILD_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "ORVANE_BUILD_FUZZ needs clang (-DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14)")
  endif()
  if(ORVANE_SANITIZE)
    message(FATAL_ERROR "ORVANE_BUILD_FUZZ brings its own sanitizers; leave ORVANE_SANITIZE empty")
  endif()
  # Coverage for libFuzzer everywhere; the fuzz executables add the fuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(ORVANE_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(ORVANE_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(ORVANE_SANITIZE)
  message(FATAL_ERROR "ORVANE_SANITIZE must be address, thread or empty")
endif()

# Hardening of the optimised builds (Release, RelWithDebInfo: what is packaged): fortified libc
# calls, stack protector, position-independent executables, read-only relocations bound at
# start. Sanitizer, fuzz and Debug builds go without (fortify needs optimisation, and the
# sanitizers bring their own checks).
option(ORVANE_HARDEN "Harden the Release and RelWithDebInfo builds" ON)
if(ORVANE_HARDEN AND NOT ORVANE_SANITIZE AND NOT ORVANE_BUILD_FUZZ)
  set(optimised "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
  add_compile_options("$<${optimised}:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2;-fstack-protector-strong>")
  add_link_options("$<${optimised}:LINKER:-z,relro,-z,now>")
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  include(CheckPIESupported)
  check_pie_supported()
  if(CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$")
    set(ORVANE_HARDENED_BUILD ON)  # the package test checks the executables for it
  endif()
endif()

# Unity builds: each target compiles its sources in batches of eight, one compiler run per
# batch, so the standard, Qt and test-framework headers are parsed once per batch instead of
# once per file (about two thirds of a fresh build's time went to them). File-local names must
# therefore be unique within a target. ORVANE_UNITY_BUILD=OFF compiles file by file, which
# rebuilds less after an edit to one source.
option(ORVANE_UNITY_BUILD "Compile each target's sources in batches" ON)
if(ORVANE_UNITY_BUILD)
  set(CMAKE_UNITY_BUILD ON)
  set(CMAKE_UNITY_BUILD_BATCH_SIZE 8)
endif()

find_program(ORVANE_CCACHE ccache)
if(ORVANE_CCACHE)
  set(CMAKE_CXX_COMPILER_LAUNCHER ${ORVANE_CCACHE})
endif()

# A faster linker where one is installed: the test executables are large and carry debug
# information.
option(ORVANE_FAST_LINKER "Link with mold or lld when installed" ON)
if(ORVANE_FAST_LINKER)
  find_program(ORVANE_MOLD mold)
  find_program(ORVANE_LLD ld.lld)
  if(ORVANE_MOLD)
    add_link_options(-fuse-ld=mold)
  elseif(ORVANE_LLD)
    add_link_options(-fuse-ld=lld)
  endif()
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

# The include rule of the source folders (scripts/check_layers.py): configuring fails on an
# include of a folder beside or above the including file's own.
function(orvane_check_include_rule)
  find_package(Python3 COMPONENTS Interpreter)
  if(NOT Python3_FOUND)
    message(WARNING "python3 not found: the include rule is checked by the tests only")
    return()
  endif()
  execute_process(COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/check_layers.py ${PROJECT_SOURCE_DIR}
                  RESULT_VARIABLE result OUTPUT_VARIABLE breaches)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "Includes against the layer order:\n${breaches}")
  endif()
endfunction()
