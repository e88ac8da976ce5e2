#pragma once

#include "dictionary/DictionaryFile.h"
#include "support/ScriptedPlatform.h"
#include "ui/toolkit/KeyGuard.h"
#include "ui/toolkit/Program.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTemporaryDir>

namespace vorbix::testing {

// A fresh program on a scripted platform; thrown away with the test case.
struct Harness {
    ScriptedPlatform platform;
    Program program{platform};

    // As long as a window waits before it takes Enter, Space or Esc.
    void waitForKeys() { platform.advance(KeyGuard::WaitMs); }

    // Lets windows that were unloaded actually go away.
    static void flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // Puts the pairs at 0..n-1 as an opened file would, LastWordIndex = n-1.
    void setWords(const std::vector<std::pair<QString, QString>>& knownUnknown)
    {
        dictionary::WordPairs pairs;
        for (const auto& [known, unknown] : knownUnknown)
            pairs.push_back({known, unknown});
        dictionary::storePairs(program.state(), pairs);
    }
};

// A harness whose working folder is a scratch folder of its own.
struct FolderHarness : Harness {
    QTemporaryDir folder;

    FolderHarness() { platform.setCurrentDirectory(folder.path()); }
    QString file(const QString& name) const { return folder.filePath(name); }
};

} // namespace vorbix::testing
