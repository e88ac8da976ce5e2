#include "ui/toolkit/Design.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QVariant>
#include <QWidget>

namespace vorbix {

namespace {

// The designs' own faces (MS Sans Serif) are rarely installed, and asking for
// a missing family sends the font lookup through fontconfig's substitutions
// at every new font: the splash's first paint paid for that. Leaving them
// out gives the same face, the first of the list that is installed.
QStringList installedFamilies(const QStringList& wanted)
{
    static const QStringList installed = QFontDatabase::families();
    QStringList found;
    for (const QString& family : wanted) {
        if (installed.contains(family, Qt::CaseInsensitive))
            found << family;
    }
    return found.isEmpty() ? wanted : found;
}

} // namespace

QFont designFont(const QString& fontText, const QFont& base)
{
    const QStringList parts = fontText.split(QLatin1Char('|'));
    QFont font = base;
    if (!parts.value(0).isEmpty())
        font.setFamilies(
            installedFamilies({parts[0], QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")}));
    bool ok = false;
    const double points = parts.value(1).toDouble(&ok);
    if (ok && points > 0)
        font.setPointSizeF(points);
    const QString style = parts.value(2);
    font.setBold(style.contains(QLatin1String("bold")));
    font.setItalic(style.contains(QLatin1String("italic")));
    return font;
}

void applyDesignFonts(QWidget* root)
{
    // Parents first, so children without a font of their own inherit it.
    QList<QWidget*> widgets{root};
    widgets += root->findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        const QVariant fontText = w->property("designFont");
        if (fontText.isValid())
            w->setFont(designFont(fontText.toString(), w->font()));
    }
}

QColor systemColour(SystemColour which)
{
    const QPalette p = QApplication::palette();
    switch (which) {
    case SystemColour::MenuBar:
        return p.color(QPalette::Window);
    case SystemColour::MenuText:
        return p.color(QPalette::WindowText);
    case SystemColour::Highlight:
        return p.color(QPalette::Highlight);
    case SystemColour::HighlightText:
        return p.color(QPalette::HighlightedText);
    case SystemColour::ButtonFace:
        return p.color(QPalette::Button);
    }
    return {};
}

void setColours(QWidget* widget, const QColor& background, const QColor& text)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::Button, background);
    p.setColor(QPalette::Base, background);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Text, text);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

void setMenuColours(QWidget* widget)
{
    setColours(widget, systemColour(SystemColour::MenuBar), systemColour(SystemColour::MenuText));
}

void showWord(QLabel* label, const QString& word)
{
    const QString fitted = label->fontMetrics().elidedText(word, Qt::ElideRight, label->contentsRect().width());
    label->setText(fitted);
    label->setToolTip(fitted == word ? QString() : word);
    label->setAccessibleName(word);
}

} // namespace vorbix
