#pragma once

#include <QWidget>

namespace vorbix {

class Program;
class Platform;
struct MOODUL1;

// Base of every window. The program object creates it, runs Form_Load once
// and destroys it on unload; a window is never reused after its unload.
class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(Program& program);
    ~Form() override;

    virtual void Form_Load() {}
    virtual void Form_Unload() {}

    // Shows without blocking and brings the window forward. Does nothing on
    // a window that has been unloaded meanwhile.
    void Show();
    void Hide();
    void Unload();

    bool isUnloaded() const { return unloaded_; }

protected:
    Program& program() { return program_; }
    Platform& platform();
    MOODUL1& state();

    // A title bar without a maximise button, as every window here has.
    void setTitleBar(bool minimiseButton, bool closeButton = true);

    // Whether the user's close command (title-bar button, Alt+F4) may close
    // this window; a window without a close box says no.
    virtual bool userMayClose() const { return true; }
    void closeEvent(QCloseEvent* event) override;

private:
    friend class Program;
    void runLoad() { Form_Load(); }

    Program& program_;
    bool unloading_ = false;
    bool unloaded_ = false;
};

} // namespace vorbix
