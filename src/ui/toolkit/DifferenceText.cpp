#include "ui/toolkit/DifferenceText.h"

#include "ui/toolkit/Contrast.h"

namespace vorbix {

QString differenceHtml(const std::vector<DiffPart>& parts, const QColor& background)
{
    const QString wrong = withContrast(QColor(0xc0, 0x1c, 0x28), background).name();
    const QString right = withContrast(QColor(0x1a, 0x7f, 0x37), background).name();
    const auto struck = [&](const QString& t) {
        return QStringLiteral("<s><font color=\"%1\">%2</font></s>").arg(wrong, t.toHtmlEscaped());
    };
    const auto underlined = [&](const QString& t) {
        return QStringLiteral("<u><font color=\"%1\">%2</font></u>").arg(right, t.toHtmlEscaped());
    };
    QString html = QStringLiteral("<span style=\"white-space:pre\">");
    for (const DiffPart& p : parts) {
        switch (p.mark) {
        case Mark::Same:
            html += p.typed.toHtmlEscaped();
            break;
        case Mark::Wrong:
        case Mark::Swapped:
            html += struck(p.typed) + underlined(p.expected);
            break;
        case Mark::Missing:
            html += underlined(p.expected);
            break;
        case Mark::Extra:
            html += struck(p.typed);
            break;
        }
    }
    return html + QStringLiteral("</span>");
}

QString differenceLegend() { return QStringLiteral("Struck through: typed wrong. Underlined: the right letters."); }

} // namespace vorbix
