#include "ui/toolkit/Design.h"

#include <QApplication>
#include <QVariant>
#include <QWidget>

namespace vorbix {

QFont designFont(const QString& fontText, const QFont& base)
{
    const QStringList parts = fontText.split(QLatin1Char('|'));
    QFont font = base;
    if (!parts.value(0).isEmpty())
        font.setFamilies({parts[0], QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
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

} // namespace vorbix
