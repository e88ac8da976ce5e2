#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace vorbix {

enum class MessageIcon { None, Critical };

struct FileDialogRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString filter; // "Description|pattern|..." as the dialog object holds it
    QString defaultExt; // ".dic": added to a name typed without extension
    QString fileName; // preset name or path
};

struct FileDialogResult {
    bool accepted = false;
    QString fileName; // full path
    QString fileTitle; // bare name without the directory
    int filterIndex = 0; // the filter entry chosen, counted from 0
};

// Drives one timer; the Timer class gives it the toolkit's semantics.
class TimerEngine {
public:
    virtual ~TimerEngine() = default;
    virtual void start(int intervalMs) = 0; // periodic, restarts a full interval
    virtual void stop() = 0;
};

// A window that shows how far a long task has come, with a Cancel button.
// Application-modal, so nothing else changes under the task; up until the
// handle goes.
class ProgressWindow {
public:
    virtual ~ProgressWindow() = default;
    virtual void setValue(int permille) = 0;
    virtual bool cancelled() = 0;
};

// Registry access, shaped after the Win32 calls: 0 is success.
namespace reg {
inline constexpr std::uint32_t HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr std::uint32_t KEY_ALL_ACCESS = 0x2003Fu;
inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_DWORD = 4;
inline constexpr long ERROR_SUCCESS = 0;
inline constexpr long ERROR_FILE_NOT_FOUND = 2;
inline constexpr long ERROR_MORE_DATA = 234;
using Handle = std::uintptr_t;

// Where the system-information program is named: the value holds its path.
inline constexpr char SysInfoKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr char SysInfoPathValue[] = "PATH";

// Hands a value back as RegQueryValueEx does: into the room *size offers,
// or ERROR_MORE_DATA with the size it would need.
inline long giveValue(std::uint32_t valueType, const QByteArray& value, std::uint32_t* type, QByteArray* data,
                      std::uint32_t* size)
{
    const auto needed = static_cast<std::uint32_t>(value.size());
    if (needed > *size) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    *type = valueType;
    *size = needed;
    data->replace(0, value.size(), value);
    return ERROR_SUCCESS;
}
} // namespace reg

// Everything a window needs from the outside world. The real program uses the
// Qt implementation; tests script one so that nothing blocks or waits.
class Platform {
public:
    virtual ~Platform() = default;

    virtual FileDialogResult fileDialog(const FileDialogRequest& request) = 0;
    // Modal message with a single OK button, titled with the program's name.
    virtual void messageBox(const QString& text, MessageIcon icon) = 0;
    virtual void beep() = 0;
    // Modal question with Yes and No, No the default; true for Yes.
    virtual bool askYesNo(const QString& text) = 0;

    virtual void clipboardClear() = 0;
    virtual void clipboardSetText(const QString& text) = 0;

    // Starts a program without waiting for it; false when it could not start.
    virtual bool startProgram(const QString& path) = 0;
    virtual bool fileExists(const QString& path) = 0;

    virtual long regOpenKeyEx(std::uint32_t root, const QString& subKey, std::uint32_t options, std::uint32_t access,
                              reg::Handle* key) = 0;
    // data holds the buffer on entry (its size is the room offered) and the
    // returned bytes on exit; size is in/out as in the Win32 call.
    virtual long regQueryValueEx(reg::Handle key, const QString& valueName, std::uint32_t* type, QByteArray* data,
                                 std::uint32_t* size) = 0;
    virtual long regCloseKey(reg::Handle key) = 0;

    // Uniform numbers in [0, 1); randomize() reseeds.
    virtual void randomize(double seed) = 0;
    virtual double rnd() = 0;
    // Seconds since midnight, with fractions.
    virtual double timeOfDay() = 0;
    // A clock that only moves forward, in milliseconds from any start: how
    // long an answer took.
    virtual std::int64_t monotonicMs() = 0;
    virtual QString currentDirectory() = 0;

    virtual std::unique_ptr<TimerEngine> createTimer(std::function<void()> onTimeout) = 0;
    virtual std::unique_ptr<ProgressWindow> showProgress(const QString& text) = 0;

    // The process is to stop; no window handler runs after this.
    virtual void endProgram() = 0;
};

} // namespace vorbix
