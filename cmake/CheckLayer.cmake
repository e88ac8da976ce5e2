# SPDX-License-Identifier: GPL-3.0-or-later
# Fails the build when a file of a layer includes what its layer may not.
# The compiler already refuses most of it (only the allowed modules' folders
# are on each layer's path); this catches the spellings it would let through:
# <QtWidgets/QWidget>, <QtGui/...>, the designs' ui_*.h and our own headers
# of other layers.
#   cmake -DLAYER=logic|history -DSOURCES="a.cpp;b.h" -DSTAMP=file -P CheckLayer.cmake
set(include "^[ \t]*#[ \t]*include[ \t]*[<\"]")
if(LAYER STREQUAL "logic")
  set(forbidden "${include}(Qt(Gui|Widgets|OpenGL|PrintSupport|Svg)[/>\"]|ui/|ui_)")
  set(advice "The logic layer (src/state, src/dictionary) links QtCore and ICU only; move widget code to src/ui/")
elseif(LAYER STREQUAL "history")
  set(forbidden "${include}(Qt(Gui|Widgets|OpenGL|PrintSupport|Svg|Charts)[/>\"]|ui/|ui_|state/|dictionary/)")
  set(advice "The history layer (src/history) links QtCore and QtSql only and includes none of the other layers; move that code up to src/ui/ or src/main.cpp")
else()
  message(FATAL_ERROR "CheckLayer.cmake: unknown layer '${LAYER}'")
endif()
set(found "")
foreach(source IN LISTS SOURCES)
  file(STRINGS "${source}" lines REGEX "${forbidden}")
  foreach(line IN LISTS lines)
    string(APPEND found "\n  ${source}: ${line}")
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "${advice}:${found}")
endif()
file(TOUCH "${STAMP}")
