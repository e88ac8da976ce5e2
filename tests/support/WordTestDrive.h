#pragma once

#include "state/NumberForm.h"
#include "support/Harness.h"
#include "ui/main/Main.h"
#include "ui/test/AkenVale.h"
#include "ui/test/Test.h"
#include "ui/test/Tulemus.h"
#include "ui/toolkit/ClickLabel.h"
#include "ui/toolkit/Timer.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest>

namespace vorbix::testing {

using Words = std::vector<std::pair<QString, QString>>;

// Plays a word test the way a user does: options on the main window, the
// "Test" button, typing, buttons. The random draws are scripted by index.
struct WordTestDrive {
    Harness h;
    Main* main = nullptr;

    explicit WordTestDrive(const Words& words)
    {
        main = &h.program.show<Main>();
        h.setWords(words);
    }

    template <class W> static W* child(QWidget* window, const char* name)
    {
        auto* w = window ? window->findChild<W*>(QString::fromLatin1(name)) : nullptr;
        if (!w)
            qFatal("no control %s", name);
        return w;
    }

    Main* mainWindow() { return h.program.loaded<Main>(); }
    Test* test() { return h.program.loaded<Test>(); }
    AkenVale* wrong() { return h.program.loaded<AkenVale>(); }
    Tulemus* results() { return h.program.loaded<Tulemus>(); }

    // --- main window options -------------------------------------------
    void askKnownWords() { child<QRadioButton>(main, "Option2")->setChecked(true); }
    void choices() { child<QRadioButton>(main, "Option4")->setChecked(true); }
    void normal() { child<QRadioButton>(main, "Option3")->setChecked(true); }
    void timeLimit(int seconds)
    {
        child<QCheckBox>(main, "Check1")->setChecked(true);
        child<QScrollBar>(main, "VScroll1")->setValue(seconds);
    }
    void start() { child<QPushButton>(mainWindow(), "nupptest")->click(); }

    // --- scripted draws -----------------------------------------------------
    // A uniform number that the draw turns into index i of 0..last.
    static double rFor(int i, int last)
    {
        if (last <= 0 || i <= 0)
            return 0.0;
        return i >= last ? (last - 0.25) / last : double(i) / last;
    }
    void draw(int i) { h.platform.queueRandom(rFor(i, h.program.state().LastWordIndex)); }
    // The question i, then in Choices mode the place p and four fillers.
    void drawChoices(int i, int p, std::array<int, 4> fillers)
    {
        draw(i);
        h.platform.queueRandom(rFor(p, 4));
        for (int j : fillers)
            draw(j);
    }

    // --- the test window --------------------------------------------------
    QString text(const char* label) { return child<QLabel>(test(), label)->text(); }
    QString question() { return text("Label1"); }
    QLineEdit* answerBox() { return child<QLineEdit>(test(), "Text1"); }
    ClickLabel* choice(int n)
    {
        const QByteArray name = "Kyssa" + QByteArray::number(n);
        return child<ClickLabel>(test(), name.constData());
    }
    void answer(const QString& typed)
    {
        answerBox()->setText(typed);
        child<QPushButton>(test(), "Command1")->click();
        Harness::flush();
    }
    void continueAfterWrong()
    {
        child<QPushButton>(wrong(), "Command1")->click();
        Harness::flush();
    }
    void press(QWidget* window, const char* button)
    {
        child<QPushButton>(window, button)->click();
        Harness::flush();
    }
    QStringList statistics()
    {
        return {text("Label2"), text("Label3"), text("Label4"), text("Label6"), text("Label5"), text("Label7")};
    }

    MOODUL1& state() { return h.program.state(); }
    // Every draw came from the script, and the script was used up.
    bool scripted() const { return h.platform.unscriptedRandoms == 0 && h.platform.queuedRandoms() == 0; }
};

} // namespace vorbix::testing
