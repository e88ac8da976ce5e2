#pragma once

#include "ui/toolkit/Form.h"

#include <QString>

#include <memory>

namespace Ui {
class About;
}

namespace vorbix {

// The About box: title, version, credits and the contact address; hides the
// main window while it is open and brings it back when it goes.
class About : public Form {
    Q_OBJECT
public:
    explicit About(Program& program);
    ~About() override;

    void Form_Load() override;
    void Form_Unload() override;
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void Label1_DblClick();

    // Starts the system-information program named in the registry, or says
    // that there is none.
    void StartSysInfo();
    // Reads one registry value as text; false (and KeyVal empty) when the key
    // or the value cannot be read.
    bool GetKeyValue(quint32& KeyRoot, QString& KeyName, QString& SubKeyRef, QString& KeyVal);

    // Shown after " E-Mail: " and put on the clipboard by the double click.
    static QString contactAddress();

    std::unique_ptr<Ui::About> ui;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showMainAgain();

    bool mainShown_ = false;
};

} // namespace vorbix
