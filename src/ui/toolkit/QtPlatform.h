#pragma once

#include "ui/toolkit/Platform.h"

#include <QElapsedTimer>

#include <random>

namespace vorbix {

// The platform of the real program: Qt dialogs, clipboard and timers.
class QtPlatform : public Platform {
public:
    QtPlatform();

    FileDialogResult fileDialog(const FileDialogRequest& request) override;
    void messageBox(const QString& text, MessageIcon icon) override;
    void beep() override;
    bool askYesNo(const QString& text) override;
    void clipboardClear() override;
    void clipboardSetText(const QString& text) override;
    bool startProgram(const QString& path) override;
    bool fileExists(const QString& path) override;
    long regOpenKeyEx(std::uint32_t root, const QString& subKey, std::uint32_t options, std::uint32_t access,
                      reg::Handle* key) override;
    long regQueryValueEx(reg::Handle key, const QString& valueName, std::uint32_t* type, QByteArray* data,
                         std::uint32_t* size) override;
    long regCloseKey(reg::Handle key) override;
    void randomize(double seed) override;
    double rnd() override;
    double timeOfDay() override;
    std::int64_t monotonicMs() override;
    QString currentDirectory() override;
    std::unique_ptr<TimerEngine> createTimer(std::function<void()> onTimeout) override;
    std::unique_ptr<ProgressWindow> showProgress(const QString& text) override;
    void endProgram() override;

private:
    std::mt19937 random_;
    QElapsedTimer sinceStart_;
};

// Turns "Desc (*.dic)|*.dic|" into the name filters of a Qt file dialog.
QStringList qtNameFilters(const QString& filter);

} // namespace vorbix
