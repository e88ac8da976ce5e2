# SPDX-License-Identifier: GPL-3.0-or-later
# Fails the build when a file of the logic layer includes a window, a widget
# or a picture. The compiler already refuses <QWidget> and <QColor> there (only
# QtCore's folder is on the path); this catches the spellings it would let
# through: <QtWidgets/QWidget>, <QtGui/...>, the designs' ui_*.h and our own
# windows under ui/.
#   cmake -DSOURCES="a.cpp;b.h" -DSTAMP=file -P CheckLogicLayer.cmake
set(forbidden "^[ \t]*#[ \t]*include[ \t]*[<\"](Qt(Gui|Widgets|OpenGL|PrintSupport|Svg)[/>\"]|ui/|ui_)")
set(found "")
foreach(source IN LISTS SOURCES)
  file(STRINGS "${source}" lines REGEX "${forbidden}")
  foreach(line IN LISTS lines)
    string(APPEND found "\n  ${source}: ${line}")
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "The logic layer (src/state, src/dictionary) links QtCore and ICU only; "
                      "move widget code to src/ui/:${found}")
endif()
file(TOUCH "${STAMP}")
