#pragma once

#include <QPoint>
#include <QWidget>

#include <optional>

class QAbstractButton;
class QKeyEvent;

namespace vorbix {

class Program;
class Platform;
struct MOODUL1;

// Base of every window. The program object creates it, runs Form_Load once
// and destroys it on unload; a window is never reused after its unload.
class Form : public QWidget {
    Q_OBJECT
public:
    // What assistive technology is told the window is: a frame of its own
    // or a dialog that asks or tells something on the way.
    enum class Kind { Frame, Dialog };

    explicit Form(Program& program, Kind kind = Kind::Frame);
    ~Form() override;

    // The character codes KeyPress handlers see for Enter and Esc.
    static constexpr int KeyAsciiEnter = 13;
    static constexpr int KeyAsciiEscape = 27;
    // The KeyAscii a key gives its KeyPress handler: Enter and Esc by their
    // codes, another key by the first character it types; 0 for a key that
    // types none.
    static int keyAscii(const QKeyEvent* key);

    virtual void Form_Load() {}
    virtual void Form_Unload() {}

    // Shows without blocking and brings the window forward. Does nothing on
    // a window that has been unloaded meanwhile.
    void Show();
    void Hide();
    void Unload();

    bool isUnloaded() const { return unloaded_; }
    Kind kind() const { return kind_; }
    // The window's own place, for those that have one (see below).
    std::optional<QPoint> designPosition() const { return designPosition_; }

protected:
    Program& program() { return program_; }
    Platform& platform();
    MOODUL1& state();

    // A title bar without a maximise button, as every window here has.
    void setTitleBar(bool minimiseButton, bool closeButton = true);

    // The window's own place on the screen: where the top-left corner of its
    // inside goes. Applied when it is first shown, moved onto the screen's
    // available area when it would not fit there.
    void setDesignPosition(QPoint topLeft);

    // Enter presses the focused push button; elsewhere in the window Enter
    // presses the default button and Esc the cancel button, when set.
    void setDefaultButton(QAbstractButton* button) { defaultButton_ = button; }
    void setCancelButton(QAbstractButton* button) { cancelButton_ = button; }

    // Whether the user's close command (title-bar button, Alt+F4) may close
    // this window; a window without a close box says no.
    virtual bool userMayClose() const { return true; }
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    friend class Program;
    void runLoad() { Form_Load(); }
    void placeOnScreen();
    QMargins frameEstimate() const;

    Program& program_;
    const Kind kind_;
    std::optional<QPoint> designPosition_;
    bool shownBefore_ = false;
    QAbstractButton* defaultButton_ = nullptr;
    QAbstractButton* cancelButton_ = nullptr;
    bool unloading_ = false;
    bool unloaded_ = false;
};

} // namespace vorbix
