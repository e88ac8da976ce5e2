#pragma once

#include "support/WordTestDrive.h"
#include "ui/about/About.h"
#include "ui/editor/Editor.h"
#include "ui/main/Kassav.h"

#include <QApplication>

namespace vorbix::testing {

// Every window a user meets after the splash, opened the way a user gets
// there: on a drive with three pairs, the test in Normal mode.
inline const QStringList& windowNames()
{
    static const QStringList names{"Main", "Editor", "Test", "AkenVale", "Tulemus", "Kassav", "About"};
    return names;
}

inline Words threePairs() { return {{"maja", "house"}, {"koer", "dog"}, {"kass", "cat"}}; }

inline Form* openWindow(WordTestDrive& d, const QString& name)
{
    Form* w = nullptr;
    if (name == "Main") {
        w = d.main;
    } else if (name == "Editor") {
        d.main->Command1_Click();
        w = d.h.program.loaded<Editor>();
    } else if (name == "Test") {
        d.start(0);
        w = d.test();
    } else if (name == "AkenVale") {
        d.start(0);
        d.answer("not it", 1);
        w = d.wrong();
    } else if (name == "Tulemus") {
        // Two right, the last one wrong: the results come with the
        // wrong-answer window, which goes first.
        d.start(0);
        d.answer("house", 1);
        d.answer("dog", 2);
        d.answer("not it");
        d.continueAfterWrong();
        w = d.results();
    } else if (name == "Kassav") {
        d.state().WordsModified = 1;
        d.main->MFExit_Click();
        w = d.h.program.loaded<Kassav>();
    } else if (name == "About") {
        d.main->MAbout_Click();
        w = d.h.program.loaded<About>();
    }
    if (!w)
        qFatal("could not open %s", qPrintable(name));
    Harness::flush();
    QApplication::setActiveWindow(w);
    if (!QTest::qWaitForWindowActive(w))
        qFatal("%s did not become active", qPrintable(name));
    return w;
}

} // namespace vorbix::testing
