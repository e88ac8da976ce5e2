#include "ui/toolkit/Contrast.h"
#include "support/EditorDriver.h"
#include "support/Windows.h"
#include "ui/main/Algus.h"
#include "ui_Algus.h"
#include "ui_Editor.h"

#include <QHash>
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
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor("#808080"));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor("#808080"));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor("#808080"));
    return p;
}

struct Rendered {
    QColor background; // the commonest colour
    QColor text;       // the colour furthest from it that is more than a speck
    double contrast = 1;
};

// What the user sees of a control's text: the contrast between its
// background and its text as painted, antialiasing aside.
Rendered render(QWidget* w, int inset = 0)
{
    const QRect area = QRect(QPoint(0, 0), w->size()).adjusted(inset, inset, -inset, -inset);
    const QImage image = w->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    Rendered r;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most)
            most = it.value(), r.background = QColor(it.key());
    r.text = r.background;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        const double c = contrastRatio(QColor(it.key()), r.background);
        if (it.value() >= 3 && c > r.contrast)
            r.contrast = c, r.text = QColor(it.key());
    }
    return r;
}

QString show(const Rendered& r)
{
    return QStringLiteral("%1 on %2: %3").arg(r.text.name(), r.background.name()).arg(r.contrast, 0, 'f', 2);
}

} // namespace

class ContrastTest : public QObject {
    Q_OBJECT

    QPalette light_;

private slots:
    void initTestCase() { light_ = QApplication::palette(); }
    void cleanup()
    {
        Harness::flush();
        QApplication::setPalette(light_);
    }

    void ratio_data()
    {
        QTest::addColumn<QColor>("a");
        QTest::addColumn<QColor>("b");
        QTest::addColumn<double>("ratio");
        QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
        QTest::newRow("same colour") << QColor("#308cc6") << QColor("#308cc6") << 1.0;
        QTest::newRow("#767676 on white, just enough") << QColor("#767676") << QColor(Qt::white) << 4.54;
        QTest::newRow("#777777 on white, just short") << QColor("#777777") << QColor(Qt::white) << 4.48;
        QTest::newRow("white on light grey") << QColor(Qt::white) << QColor("#efefef") << 1.15;
        QTest::newRow("yellow on red") << QColor(Qt::yellow) << QColor(Qt::red) << 3.72;
        QTest::newRow("either order") << QColor(Qt::white) << QColor("#767676") << 4.54;
    }
    void ratio()
    {
        QFETCH(QColor, a);
        QFETCH(QColor, b);
        QFETCH(double, ratio);
        QCOMPARE(std::round(contrastRatio(a, b) * 100) / 100, ratio);
    }

    void withContrastChangesOnlyWhatIsNeeded_data()
    {
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<QColor>("against");
        QTest::addColumn<int>("direction"); // 0 kept, -1 darker, +1 lighter
        QTest::newRow("readable already") << QColor("#12608a") << QColor("#f9f9f9") << 0;
        QTest::newRow("light highlight under white") << QColor("#308cc6") << QColor(Qt::white) << -1;
        QTest::newRow("white on almost white") << QColor(Qt::white) << QColor("#f9f9f9") << -1;
        QTest::newRow("dark grey on black") << QColor("#303030") << QColor(Qt::black) << +1;
        QTest::newRow("mid grey on mid grey") << QColor("#808080") << QColor("#7a7a7a") << -1;
    }
    void withContrastChangesOnlyWhatIsNeeded()
    {
        QFETCH(QColor, colour);
        QFETCH(QColor, against);
        QFETCH(int, direction);
        const QColor made = withContrast(colour, against);
        QVERIFY2(contrastRatio(made, against) >= ReadableContrast, qPrintable(made.name()));
        const double before = relativeLuminance(colour), after = relativeLuminance(made);
        if (direction == 0)
            QCOMPARE(made, colour);
        else
            QVERIFY(direction < 0 ? after < before : after > before);
        // Just as far as needed, not all the way to black or white.
        if (direction != 0)
            QVERIFY2(contrastRatio(made, against) < ReadableContrast + 0.3, qPrintable(made.name()));
    }

    void fixedColourTexts_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::addColumn<QString>("text");
        for (bool dark : {false, true})
            for (const char* text : {"editor's left list", "sort button", "active sort button", "Wrong:", "banner",
                                     "splash credit"})
                QTest::newRow(qPrintable(QString("%1, %2").arg(dark ? "dark" : "light", text))) << dark << QString(text);
    }
    // The texts whose colours the designs fix, painted in the light and in a
    // dark colour scheme: readable, and "Wrong:" marked out.
    void fixedColourTexts()
    {
        QFETCH(bool, dark);
        QFETCH(QString, text);
        if (dark)
            QApplication::setPalette(darkPalette());
        WordTestDrive d(threePairs());
        Rendered r;
        if (text.contains("sort button") || text == "editor's left list") {
            auto* e = static_cast<Editor*>(openWindow(d, "Editor"));
            if (text == "active sort button")
                e->ui->Command7->click();
            // Inside the button's border.
            r = text == "editor's left list" ? render(e->ui->List2->viewport()) : render(e->ui->Command7, 3);
        } else if (text == "Wrong:") {
            Form* results = openWindow(d, "Tulemus");
            QLabel* wrong = WordTestDrive::child(results, "Label3");
            r = render(wrong);
            const Rendered answers = render(WordTestDrive::child(results, "Label1"));
            QVERIFY2(r.background != answers.background || contrastRatio(r.text, answers.text) >= 3,
                     qPrintable(show(r) + " beside " + show(answers)));
        } else {
            Algus& splash = d.h.program.show<Algus>();
            r = render(text == "banner" ? static_cast<QWidget*>(splash.ui->Label1) : splash.ui->Label2);
        }
        QVERIFY2(r.contrast >= ReadableContrast, qPrintable(show(r)));
    }

    void everyText_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::addColumn<QString>("window");
        for (bool dark : {false, true})
            for (const QString& w : windowNames())
                QTest::newRow(qPrintable(QString("%1, %2").arg(dark ? "dark" : "light", w))) << dark << w;
    }
    // Every label and button text of every window, as painted.
    void everyText()
    {
        QFETCH(bool, dark);
        QFETCH(QString, window);
        if (dark)
            QApplication::setPalette(darkPalette());
        WordTestDrive d(threePairs());
        Form* w = openWindow(d, window);
        QStringList unreadable;
        int texts = 0;
        for (QWidget* c : w->findChildren<QWidget*>()) {
            QString text;
            if (auto* label = qobject_cast<QLabel*>(c))
                text = label->text();
            else if (auto* b = qobject_cast<QAbstractButton*>(c))
                text = b->text();
            // The toolbar shows pictures, not its buttons' texts.
            if (auto* tool = qobject_cast<QToolButton*>(c); tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly)
                continue;
            if (text.trimmed().isEmpty() || !c->isVisible() || !c->isEnabled())
                continue;
            ++texts;
            // Buttons: inside their bevel.
            const Rendered r = render(c, qobject_cast<QPushButton*>(c) ? 4 : 0);
            if (r.contrast < ReadableContrast)
                unreadable << c->objectName() + " " + show(r);
        }
        QVERIFY(texts > 0);
        QVERIFY2(unreadable.isEmpty(), qPrintable(unreadable.join("; ")));
    }
};

QTEST_MAIN(ContrastTest)
#include "test_contrast.moc"
