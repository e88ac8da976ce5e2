#include "ui/progress/ProgressPlot.h"

#include "state/NumberForm.h"
#include "ui/toolkit/Contrast.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace vorbix {

namespace {

int percent(const ProgressPlot::Point& p) { return p.answered ? percentRight(p.right, p.answered) : 0; }

QAccessibleInterface* plotAccessible(const QString& className, QObject* object)
{
    if (className != QLatin1String("vorbix::ProgressPlot") || !object || !object->isWidgetType())
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Chart);
}

} // namespace

ProgressPlot::ProgressPlot(QWidget* parent) : QWidget(parent)
{
    static const bool installed = (QAccessible::installFactory(plotAccessible), true);
    Q_UNUSED(installed);
    // Reached by Tab, so that a screen reader reads the plot in words.
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Share of right answers per test"));
    setPoints({});
}

void ProgressPlot::setPoints(std::vector<Point> points)
{
    points_ = std::move(points);
    setAccessibleDescription(summary(points_));
    setToolTip(summary(points_));
    update();
}

QString ProgressPlot::summary(const std::vector<Point>& points)
{
    if (points.empty())
        return QStringLiteral("No test of this list is recorded yet.");
    const QLocale locale;
    const auto date = [&](const QDateTime& t) { return locale.toString(t.date(), QLocale::ShortFormat); };
    const auto [worst, best] = std::minmax_element(
        points.begin(), points.end(), [](const Point& a, const Point& b) { return percent(a) < percent(b); });
    if (points.size() == 1)
        return QStringLiteral("1 test, on %1: %2% right.").arg(date(points.front().when)).arg(percent(points.front()));
    return QStringLiteral("%1 tests, from %2 to %3. First %4% right, last %5%, best %6%, worst %7%.")
        .arg(points.size())
        .arg(date(points.front().when), date(points.back().when))
        .arg(percent(points.front()))
        .arg(percent(points.back()))
        .arg(percent(*best))
        .arg(percent(*worst));
}

void ProgressPlot::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.color(QPalette::Base));
    const QFontMetrics fm(font());
    const int left = fm.horizontalAdvance(QStringLiteral("100%")) + 8;
    const QRect area = rect().adjusted(left, fm.height() / 2 + 2, -10, -fm.height() / 2 - 4);

    // Grid and scale at 0, 50 and 100 %.
    p.setPen(QPen(pal.color(QPalette::Mid), 1, Qt::DotLine));
    for (int share : {0, 50, 100}) {
        const int y = area.bottom() - area.height() * share / 100;
        p.drawLine(area.left(), y, area.right(), y);
        p.setPen(pal.color(QPalette::Text));
        p.drawText(QRect(0, y - fm.height() / 2, left - 4, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("%1%").arg(share));
        p.setPen(QPen(pal.color(QPalette::Mid), 1, Qt::DotLine));
    }
    if (hasFocus()) {
        p.setPen(QPen(pal.color(QPalette::Highlight), 1, Qt::DashLine));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (points_.empty()) {
        p.setPen(pal.color(QPalette::Text));
        p.drawText(area, Qt::AlignCenter, summary(points_));
        return;
    }

    const auto n = static_cast<double>(points_.size());
    const auto at = [&](size_t i) {
        const double x = n == 1 ? area.center().x() : area.left() + area.width() * double(i) / (n - 1);
        return QPointF(x, area.bottom() - area.height() * percent(points_[i]) / 100.0);
    };
    QPainterPath line(at(0));
    for (size_t i = 1; i < points_.size(); ++i)
        line.lineTo(at(i));
    // Lines and dots need 3:1 against the ground to be seen.
    const QColor ink = withContrast(pal.color(QPalette::Highlight), pal.color(QPalette::Base), 3.0);
    p.setPen(QPen(ink, 2));
    p.drawPath(line);
    // Dots while there is room for them: they tell the tests apart.
    if (points_.size() <= size_t(area.width() / 6)) {
        p.setBrush(ink);
        for (size_t i = 0; i < points_.size(); ++i)
            p.drawEllipse(at(i), 3, 3);
    }
}

} // namespace vorbix
