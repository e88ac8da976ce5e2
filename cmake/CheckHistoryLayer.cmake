# SPDX-License-Identifier: GPL-3.0-or-later
# Fails the build when a file of the history layer reaches past QtCore and
# QtSql: a window, a picture, or the other layers' headers. Only those two
# modules' folders are on its path; this catches the spellings the compiler
# would let through.
#   cmake -DSOURCES="a.cpp;b.h" -DSTAMP=file -P CheckHistoryLayer.cmake
set(forbidden "^[ \t]*#[ \t]*include[ \t]*[<\"](Qt(Gui|Widgets|OpenGL|PrintSupport|Svg|Charts)[/>\"]|ui/|ui_|state/|dictionary/)")
set(found "")
foreach(source IN LISTS SOURCES)
  file(STRINGS "${source}" lines REGEX "${forbidden}")
  foreach(line IN LISTS lines)
    string(APPEND found "\n  ${source}: ${line}")
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "The history layer (src/history) links QtCore and QtSql only and includes "
                      "none of the other layers; move that code up to src/ui/ or src/main.cpp:${found}")
endif()
file(TOUCH "${STAMP}")
