#pragma once

#include "state/Moodul1.h"

#include <QObject>
#include <QString>

#include <map>
#include <memory>

#include <typeindex>
#include <utility>
#include <vector>

namespace vorbix {

class Form;
class KeyGuard;
class Platform;

namespace history {
class Recorder;
}

// One run of the program: the shared state, the platform and the single
// instance of every window class. Tests make a fresh one per case.
class Program {
public:
    explicit Program(Platform& platform);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    Platform& platform() { return platform_; }
    MOODUL1& state() { return state_; }
    KeyGuard& keyGuard() { return *keyGuard_; }
    // The learning record. It keeps nothing until given a path (main() gives
    // the user's); its one message goes through the platform after the
    // handler that ran into the problem has finished.
    history::Recorder& history() { return *history_; }
    // Opens the record once the event loop is free again: after the main
    // window has been painted, not before.
    void openHistorySoon();

    // The window of class F, created and loaded on first reference.
    template <class F> F& form();
    // The window of class F if it is loaded, else null; never creates it.
    template <class F> F* loaded() const;
    // Loads if needed, then shows and brings it forward.
    template <class F> F& show();
    template <class F> void unload();

    // Runs the window's unload handler, then destroys it. When no window is
    // left loaded, the program ends.
    void unload(Form& form);

    // Stops the program at once: windows go without their unload handlers.
    void end();
    bool ended() const { return ended_; }

    // The file named on the command line, for the main window to open when
    // the splash hands over; taken once. Empty when none was given.
    void setStartupFile(const QString& path) { startupFile_ = path; }
    QString takeStartupFile() { return std::exchange(startupFile_, QString()); }

    int loadedCount() const { return static_cast<int>(forms_.size()); }
    std::vector<Form*> loadedForms() const;

private:
    void adopt(std::type_index type, Form* form);
    void discard(Form& form);

    Platform& platform_;
    MOODUL1 state_;
    std::unique_ptr<KeyGuard> keyGuard_;
    std::map<std::type_index, Form*> forms_;
    bool ended_ = false;
    QString startupFile_;
    // Context of the posted calls: they go with the program.
    std::unique_ptr<QObject> posts_;
    std::unique_ptr<history::Recorder> history_;
};

} // namespace vorbix

#include "ui/toolkit/Form.h"

namespace vorbix {

template <class F> F& Program::form()
{
    if (auto* existing = loaded<F>())
        return *existing;
    auto* created = new F(*this);
    adopt(typeid(F), created);
    created->runLoad();
    return *created;
}

template <class F> F* Program::loaded() const
{
    const auto it = forms_.find(typeid(F));
    return it == forms_.end() ? nullptr : static_cast<F*>(it->second);
}

template <class F> F& Program::show()
{
    F& f = form<F>();
    f.Show();
    return f;
}

template <class F> void Program::unload()
{
    if (auto* f = loaded<F>())
        unload(*f);
}

} // namespace vorbix
