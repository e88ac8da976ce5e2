#pragma once

#include "support/Harness.h"
#include "ui/main/Main.h"
#include "ui/test/AkenVale.h"
#include "ui/test/Test.h"
#include "ui/test/Tulemus.h"
#include "ui/toolkit/ClickLabel.h"
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace vorbix::testing {

using Words = std::vector<std::pair<QString, QString>>;

// Plays a word test as a user does; the random draws are scripted by index.
struct WordTestDrive {
    Harness h;
    Main* main = &h.program.show<Main>();

    explicit WordTestDrive(const Words& words) { h.setWords(words); }
    template <class W = QLabel> static W* child(QWidget* window, const char* name)
    {
        auto* w = window ? window->findChild<W*>(QString::fromLatin1(name)) : nullptr;
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    Test* test() { return h.program.loaded<Test>(); }
    AkenVale* wrong() { return h.program.loaded<AkenVale>(); }
    Tulemus* results() { return h.program.loaded<Tulemus>(); }
    MOODUL1& state() { return h.program.state(); }

    void choices() { child<QRadioButton>(main, "Option4")->setChecked(true); }
    void start() { child<QPushButton>(h.program.loaded<Main>(), "nupptest")->click(); }
    void start(int first) { draw(first), start(); }
    // Queues the uniform number that the draw turns into index i of 0..LastWordIndex.
    void draw(int i, int last = -1)
    {
        last = last < 0 ? state().LastWordIndex : last;
        h.platform.queueRandom(i <= 0 ? 0.0 : i >= last ? (last - 0.25) / last : double(i) / last);
    }
    // The question i, then in Choices mode the place p and four fillers.
    void drawChoices(int i, int p, std::array<int, 4> fillers)
    {
        draw(i);
        draw(p, 4);
        for (int j : fillers)
            draw(j);
    }
    // Every draw came from the script, and the script was used up.
    bool scripted() const { return h.platform.unscriptedRandoms == 0 && h.platform.queuedRandoms() == 0; }

    QString text(const char* label) { return child(test(), label)->text(); }
    QString question() { return text("Label1"); }
    QLineEdit* answerBox() { return child<QLineEdit>(test(), "Text1"); }
    ClickLabel* choice(int n) { return child<ClickLabel>(test(), ("Kyssa" + QByteArray::number(n)).constData()); }
    void press(QWidget* window, const char* button) { child<QPushButton>(window, button)->click(), Harness::flush(); }
    void answer(const QString& typed) { answerBox()->setText(typed), press(test(), "Command1"); }
    void answer(const QString& typed, int next) { draw(next), answer(typed); }
    void continueAfterWrong() { press(wrong(), "Command1"); }
    // Presses and releases a key as a keyboard does, where the focus is at
    // each moment; held down, it repeats first.
    static void key(Qt::Key k, int repeats = 0)
    {
        const auto at = [] {
            QCoreApplication::processEvents(); // a window just shown becomes the active one
            QWidget* w = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
            return w ? w : QApplication::topLevelWidgets().value(0);
        };
        QTest::keyPress(at(), k);
        for (int i = 0; i < repeats; ++i) {
            QKeyEvent again(QEvent::KeyPress, k, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(at(), &again);
        }
        QTest::keyRelease(at(), k);
        Harness::flush();
    }
};

} // namespace vorbix::testing
