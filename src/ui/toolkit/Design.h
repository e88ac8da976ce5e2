#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

class QLabel;
class QWidget;

namespace vorbix {

// Designs name their fonts in a "designFont" property, "Family|points|bold
// italic", since a .ui file only holds whole point sizes.
QFont designFont(const QString& fontText, const QFont& base);
void applyDesignFonts(QWidget* root);

// 15 twips to the pixel at 96 dpi.
constexpr int twips(int t) { return (t + 7) / 15; }

// The platform's stand-ins for the classic numbered system colours.
enum class SystemColour { MenuBar = 4, MenuText = 7, Highlight = 13, HighlightText = 14, ButtonFace = 15 };
QColor systemColour(SystemColour which);

// Paints a widget's background and text in the given colours.
void setColours(QWidget* widget, const QColor& background, const QColor& text);
// The menu-bar colours, as the windows' labels have them. A window keeps its
// own palette (its window colours are these already), so that disabled
// buttons still look disabled.
void setMenuColours(QWidget* widget);

// A word in a label of fixed size: cut with an ellipsis when it is wider,
// the whole of it in the tooltip and, always, the accessible name.
void showWord(QLabel* label, const QString& word);

} // namespace vorbix
