#pragma once

#include "support/WordTestDrive.h"
#include "ui/about/About.h"
#include "ui/editor/Editor.h"
#include "support/Files.h"
#include "ui/main/Kassav.h"

#include <QApplication>
#include <QTemporaryDir>

namespace vorbix::testing {

// Every window a user meets after the splash, opened the way a user gets
// there: on a drive with three pairs, the test in Normal mode.
inline const QStringList& windowNames()
{
    static const QStringList names{"Main",   "Editor", "Test",     "AkenVale", "Tulemus",
                                   "Kassav", "About",  "Progress", "Import"};
    return names;
}

inline Words threePairs() { return {{"maja", "house"}, {"koer", "dog"}, {"kass", "cat"}}; }

inline Form* openWindow(WordTestDrive& d, const QString& name)
{
    if (name == "Editor") {
        d.main->Command1_Click();
    } else if (name == "Kassav") {
        d.state().WordsModified = 1;
        d.main->MFExit_Click();
    } else if (name == "About") {
        d.main->MAbout_Click();
    } else if (name == "Progress") {
        d.main->MPShow_Click();
    } else if (name == "Import") {
        static QTemporaryDir folder;
        writeBytes(folder.filePath("words.csv"), "koer;dog\r\nkass;cat\r\n");
        d.h.platform.answerDialog(folder.filePath("words.csv"));
        d.main->MFOpen_Click();
    } else if (name != "Main") {
        d.start(0);
        if (name == "AkenVale")
            d.answer("not it", 1);
        if (name == "Tulemus") {
            // Two right, the last one wrong: the results come with the
            // wrong-answer window, which goes first.
            d.answer("house", 1);
            d.answer("dog", 2);
            d.answer("not it");
            d.continueAfterWrong();
        }
    }
    Form* w = nullptr;
    for (Form* f : d.h.program.loadedForms())
        if (f->metaObject()->className() == "vorbix::" + name)
            w = f;
    if (!w)
        qFatal("could not open %s", qPrintable(name));
    Harness::flush();
    QApplication::setActiveWindow(w);
    if (!QTest::qWaitForWindowActive(w))
        qFatal("%s did not become active", qPrintable(name));
    return w;
}

} // namespace vorbix::testing
