#include "ui/about/About.h"

#include "ui_About.h"

#include "state/Version.h"
#include "ui/main/Algus.h"
#include "ui/main/Main.h"
#include "ui/toolkit/Design.h"
#include "ui/toolkit/Platform.h"
#include "ui/toolkit/Program.h"

#include <QApplication>
#include <QKeyEvent>

#include <algorithm>

namespace vorbix {

namespace {

const char* const SysInfoLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr int ValueBufferSize = 1024;

} // namespace

About::About(Program& program) : Form(program, Kind::Dialog), ui(std::make_unique<Ui::About>())
{
    ui->setupUi(this);
    applyDesignFonts(this);
    // A fixed dialog frame: a close box, nothing to minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setDesignPosition(QPoint(twips(2340), twips(1935)));
    setFixedSize(twips(5760), twips(4425));
    setMenuColours(this);
    // The credit line keeps the plain label colours.
    setColours(ui->Label2, systemColour(SystemColour::ButtonFace), QApplication::palette().color(QPalette::ButtonText));

    ui->Label1->setText(QStringLiteral(" E-Mail: ") + contactAddress());
    ui->Label2->setText(QStringLiteral("Written by ") + Algus::authorName());
    ui->cmdOK->setFocus();
    setDefaultButton(ui->cmdOK);
    setCancelButton(ui->cmdOK);
    ui->Label1->setFocusPolicy(Qt::StrongFocus);
    ui->Label1->setAccessibleName(QStringLiteral("E-Mail: ") + contactAddress());
    ui->Label1->installEventFilter(this);
    // A label draws no focus of its own; a dotted frame shows it, and the
    // clear frame otherwise keeps the text from shifting.
    ui->Label1->setStyleSheet(QStringLiteral("QLabel { border: 1px dotted transparent; }"
                                             " QLabel:focus { border-color: palette(window-text); }"));

    connect(ui->cmdOK, &QPushButton::clicked, this, &About::cmdOK_Click);
    connect(ui->cmdSysInfo, &QPushButton::clicked, this, &About::cmdSysInfo_Click);
    connect(ui->Label1, &ClickLabel::doubleClicked, this, &About::Label1_DblClick);
}

About::~About() = default;

QString About::contactAddress() { return QStringLiteral("vorbix@example.org"); }

void About::Form_Load()
{
    if (auto* m = program().loaded<Main>())
        m->Hide();
    setWindowTitle(QStringLiteral("About ") + applicationTitle());
    ui->lblVersion->setText(QStringLiteral("Version ") + versionText());
    ui->lblTitle->setText(applicationTitle());
}

void About::showMainAgain()
{
    if (mainShown_)
        return;
    mainShown_ = true;
    program().show<Main>();
}

void About::cmdOK_Click()
{
    showMainAgain();
    Unload();
}

// The close box, and OK's own unload, both end here.
void About::Form_Unload() { showMainAgain(); }

void About::cmdSysInfo_Click() { StartSysInfo(); }

void About::Label1_DblClick()
{
    platform().clipboardClear();
    platform().clipboardSetText(contactAddress());
}

bool About::eventFilter(QObject* watched, QEvent* event)
{
    // The contact line copies from the keyboard too: Space or Ctrl+C while
    // it has the focus, as the double click does.
    if (watched == ui->Label1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space || key->matches(QKeySequence::Copy)) {
            Label1_DblClick();
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}

void About::StartSysInfo()
{
    quint32 root = reg::HKEY_LOCAL_MACHINE;
    QString key = QString::fromLatin1(reg::SysInfoKey);
    QString name = QString::fromLatin1(reg::SysInfoPathValue);
    QString path;
    auto start = [this](const QString& program) { return !program.isEmpty() && platform().startProgram(program); };

    if (GetKeyValue(root, key, name, path)) {
        // A named program that will not start is final: the other key is
        // only a fallback for a missing entry.
        if (start(path))
            return;
    } else {
        key = QString::fromLatin1(SysInfoLocationKey);
        name = QStringLiteral("MSINFO");
        if (GetKeyValue(root, key, name, path)) {
            path += QStringLiteral("\\MSINFO32.EXE");
            if (platform().fileExists(path) && start(path))
                return;
        }
    }
    platform().messageBox(QStringLiteral("System Information Is Unavailable At This Time"), MessageIcon::None);
}

bool About::GetKeyValue(quint32& KeyRoot, QString& KeyName, QString& SubKeyRef, QString& KeyVal)
{
    Platform& p = platform();
    reg::Handle key = 0;
    bool opened = false;

    if (p.regOpenKeyEx(KeyRoot, KeyName, 0, reg::KEY_ALL_ACCESS, &key) == reg::ERROR_SUCCESS) {
        opened = true;
        QByteArray buffer(ValueBufferSize, '\0');
        std::uint32_t size = ValueBufferSize;
        std::uint32_t type = 0;
        // Anything that does not fit the buffer comes back as an error and
        // counts as not read.
        if (p.regQueryValueEx(key, SubKeyRef, &type, &buffer, &size) == reg::ERROR_SUCCESS) {
            buffer.truncate(static_cast<qsizetype>(std::min<std::uint32_t>(size, ValueBufferSize)));
            const QByteArray returned = buffer;
            if (buffer.endsWith('\0'))
                buffer.chop(1);
            if (type == reg::REG_SZ) {
                KeyVal = QString::fromLocal8Bit(buffer);
            } else if (type == reg::REG_DWORD) {
                // The number as a hex literal, from all the bytes the value
                // has: its high byte is often the NUL cut off above.
                QString digits;
                for (qsizetype i = returned.size() - 1; i >= 0; --i)
                    digits += QStringLiteral("%1").arg(static_cast<quint8>(returned[i]), 2, 16, QLatin1Char('0'));
                while (digits.startsWith(QLatin1Char('0')))
                    digits.remove(0, 1);
                if (digits.isEmpty())
                    digits = QStringLiteral("0");
                KeyVal = QStringLiteral("&h") + digits.toUpper();
            }
            p.regCloseKey(key);
            return true;
        }
    }

    KeyVal.clear();
    if (opened)
        p.regCloseKey(key);
    return false;
}

} // namespace vorbix
