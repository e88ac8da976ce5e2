#pragma once

#include <QHash>
#include <QObject>

#include <cstdint>

class QKeyEvent;
class QWidget;

namespace vorbix {

class Platform;

// A key press belongs to the window it was pressed in. A window just shown,
// or one that has just put up a new question, ignores Enter, Space and Esc
// until a fresh press of that key: not an auto-repeat, not a key held over
// from before, not the second half of a quick double press. Every window
// of the program is watched, message boxes and dialogs included.
class KeyGuard : public QObject {
    Q_OBJECT
public:
    // Shorter than a second look at a new window, longer than a double press.
    static constexpr int WaitMs = 500;

    explicit KeyGuard(Platform& platform);
    ~KeyGuard() override;

    // The window shows something new: the wait starts again.
    void rearm(const QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool swallows(QWidget* receiver, const QKeyEvent* key);

    struct Watch {
        std::int64_t since = 0;
        unsigned fresh = 0; // keys pressed afresh since
    };
    Platform& platform_;
    QHash<const QWidget*, Watch> windows_;
};

} // namespace vorbix
