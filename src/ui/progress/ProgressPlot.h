#pragma once

#include <QDateTime>
#include <QWidget>

#include <vector>

namespace vorbix {

// The share of right answers of each test, oldest on the left, drawn with
// QPainter: Qt Charts would load a library of its own at start-up. Screen
// readers get the same in words as the description.
class ProgressPlot : public QWidget {
    Q_OBJECT
public:
    struct Point {
        QDateTime when;
        int answered = 0;
        int right = 0;
    };

    explicit ProgressPlot(QWidget* parent = nullptr);

    void setPoints(std::vector<Point> points);
    const std::vector<Point>& points() const { return points_; }
    // The plot in words: how many tests, from when to when, first, last,
    // best and worst share.
    static QString summary(const std::vector<Point>& points);

    QSize sizeHint() const override { return {400, 140}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<Point> points_;
};

} // namespace vorbix
