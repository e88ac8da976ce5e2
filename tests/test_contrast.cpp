#include "support/Windows.h"
#include "ui/main/Algus.h"
#include "ui/toolkit/Contrast.h"

#include <QHash>
#include <QListWidget>
#include <QToolButton>

using namespace vorbix;
using namespace vorbix::testing;

namespace {

// The colour scheme "darker" of qt6ct, as users of a dark desktop have it.
QPalette darkPalette()
{
    QPalette p;
    const std::pair<QPalette::ColorRole, const char*> roles[] = {
        {QPalette::WindowText, "#ffffff"}, {QPalette::Button, "#424245"},   {QPalette::Light, "#979797"},
        {QPalette::Midlight, "#5e5c5b"},   {QPalette::Dark, "#302f2e"},     {QPalette::Mid, "#4a4947"},
        {QPalette::Text, "#ffffff"},       {QPalette::BrightText, "#ffffff"}, {QPalette::ButtonText, "#ffffff"},
        {QPalette::Base, "#3d3d3d"},       {QPalette::Window, "#222020"},   {QPalette::Shadow, "#e7e4e0"},
        {QPalette::Highlight, "#12608a"},  {QPalette::HighlightedText, "#f9f9f9"}, {QPalette::Link, "#0986d3"},
        {QPalette::LinkVisited, "#a70b06"}, {QPalette::AlternateBase, "#5c5b5a"},
        {QPalette::ToolTipBase, "#3f3f36"}, {QPalette::ToolTipText, "#ffffff"}};
    for (const auto& [role, colour] : roles)
        p.setColor(role, QColor(colour));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, QColor("#808080"));
    return p;
}

struct Painted {
    QColor background; // the commonest colour
    QColor text;       // the colour furthest from it that is more than a speck
    double contrast = 1;
    QString show() const { return QString("%1 on %2: %3").arg(text.name(), background.name()).arg(contrast); }
};

// A control's text as the user sees it, inside a border of inset pixels.
Painted paint(QWidget* w, int inset = 0)
{
    const QImage image = w->grab(w->rect().adjusted(inset, inset, -inset, -inset)).toImage();
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    Painted p;
    p.background = QColor(std::max_element(counts.keyValueBegin(), counts.keyValueEnd(),
                                           [](auto a, auto b) { return a.second < b.second; })->first);
    p.text = p.background;
    for (auto [rgb, n] : counts.asKeyValueRange()) {
        if (n >= 3 && contrastRatio(QColor(rgb), p.background) > p.contrast) {
            p.contrast = contrastRatio(QColor(rgb), p.background);
            p.text = QColor(rgb);
        }
    }
    return p;
}

} // namespace

class ContrastTest : public QObject {
    Q_OBJECT
    QPalette light_ = QApplication::palette();

private slots:
    void cleanup()
    {
        Harness::flush();
        QApplication::setPalette(light_);
    }

    // The ratio either way round; a colour short of 4.5:1 changed just as
    // far as needed, darker or lighter, one that reaches it kept.
    void ratioAndLeastChange_data()
    {
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<QColor>("against");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<int>("change"); // -1 darker, 0 kept, +1 lighter
        QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0 << 0;
        QTest::newRow("#767676 on white, just enough") << QColor("#767676") << QColor(Qt::white) << 4.54 << 0;
        QTest::newRow("#777777 on white, just short") << QColor("#777777") << QColor(Qt::white) << 4.48 << -1;
        QTest::newRow("light highlight under white") << QColor("#308cc6") << QColor(Qt::white) << 3.69 << -1;
        QTest::newRow("dark grey on black") << QColor("#303030") << QColor(Qt::black) << 1.59 << +1;
        QTest::newRow("mid grey on mid grey") << QColor("#808080") << QColor("#7a7a7a") << 1.09 << -1;
    }
    void ratioAndLeastChange()
    {
        QFETCH(QColor, colour);
        QFETCH(QColor, against);
        QFETCH(double, ratio);
        QFETCH(int, change);
        QCOMPARE(std::round(contrastRatio(colour, against) * 100) / 100, ratio);
        const QColor made = withContrast(colour, against);
        const double reached = contrastRatio(made, against);
        const double lighter = relativeLuminance(made) - relativeLuminance(colour);
        QVERIFY2(reached >= ReadableContrast, qPrintable(made.name()));
        QVERIFY2(change == 0 ? made == colour : lighter * change > 0 && reached < ReadableContrast + 0.3,
                 qPrintable(made.name()));
    }

    void everyText_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::addColumn<QString>("window");
        for (bool dark : {false, true}) {
            for (const QString& w : windowNames() + QStringList{"Algus"})
                QTest::newRow(qPrintable(QString("%1, %2").arg(dark ? "dark" : "light", w))) << dark << w;
        }
    }
    // Every label and button text of every window as painted, in the light
    // and in a dark scheme; the editor with a sort active and its left list.
    void everyText()
    {
        QFETCH(bool, dark);
        QFETCH(QString, window);
        if (dark)
            QApplication::setPalette(darkPalette());
        WordTestDrive d(threePairs());
        QWidget* w = window == "Algus" ? &d.h.program.show<Algus>() : openWindow(d, window);
        QStringList unreadable;
        QList<QWidget*> texts;
        if (window == "Editor") {
            w->findChild<QPushButton*>("Command7")->click(); // a sort active
            QCoreApplication::processEvents(); // the lists laid out again
            texts << w->findChild<QListWidget*>("List2")->viewport(); // the white left list
        }
        for (QWidget* c : w->findChildren<QWidget*>()) {
            auto* label = qobject_cast<QLabel*>(c);
            auto* button = qobject_cast<QAbstractButton*>(c);
            auto* tool = qobject_cast<QToolButton*>(c); // the toolbar shows pictures, not texts
            const QString text = label ? label->text() : button ? button->text() : QString();
            if (!text.trimmed().isEmpty() && c->isVisible() && c->isEnabled()
                && !(tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly))
                texts << c;
        }
        for (QWidget* c : texts) {
            const Painted p = paint(c, qobject_cast<QPushButton*>(c) ? 4 : 0); // inside a button's bevel
            if (p.contrast < ReadableContrast)
                unreadable << c->objectName() + " " + p.show();
        }
        QVERIFY(texts.size() > 1);
        QVERIFY2(unreadable.isEmpty(), qPrintable(unreadable.join("; ")));
        // "Wrong:" stands out from the answers beside it.
        if (window == "Tulemus") {
            const Painted wrong = paint(w->findChild<QLabel*>("Label3"));
            const Painted right = paint(w->findChild<QLabel*>("Label1"));
            QVERIFY2(wrong.background != right.background || contrastRatio(wrong.text, right.text) >= 3,
                     qPrintable(wrong.show() + " beside " + right.show()));
        }
    }
};

QTEST_MAIN(ContrastTest)
#include "test_contrast.moc"
