#include "ui/main/Algus.h"

#include "ui_Algus.h"

#include "state/Version.h"
#include "ui/main/Main.h"
#include "ui/toolkit/Design.h"
#include "ui/toolkit/Program.h"
#include "ui/toolkit/Timer.h"

#include <QImageReader>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <iterator>

namespace vorbix {

Algus::Algus(Program& program) : Form(program), ui(std::make_unique<Ui::Algus>())
{
    ui->setupUi(this);
    applyDesignFonts(this);
    // The banner and the credit are plain Latin text in a face that has all
    // of it, so no fallback fonts need to be looked up before the first paint.
    for (QLabel* label : {static_cast<QLabel*>(ui->Label1), static_cast<QLabel*>(ui->Label2)}) {
        QFont font = label->font();
        font.setStyleStrategy(QFont::NoFontMerging);
        label->setFont(font);
    }
    // Colours by palette: a style sheet would bring in the style sheet
    // machinery before the first paint.
    setColours(ui->Label1, QColor(0xE0, 0, 0), QColor(0xFF, 0xFF, 0));
    setColours(ui->Label2, Qt::white, Qt::blue);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFixedSize(size());
    setDesignPosition(QPoint(twips(825), twips(2970)));
    setFocusPolicy(Qt::StrongFocus);
    ui->Label2->adjustSize();
    // Told the format and not to guess: guessing loads every image plugin
    // (and the libraries behind them) before the splash can show.
    QImageReader picture(QStringLiteral(":/vorbix/splash.bmp"), "bmp");
    picture.setAutoDetectImageFormat(false);
    picture_ = QPixmap::fromImage(picture.read());

    Timer1 = new Timer(platform(), this, 0, true);
    Timer2 = new Timer(platform(), this, 500, true);
    connect(Timer1, &Timer::timeout, this, &Algus::Timer1_Timer);
    connect(Timer2, &Timer::timeout, this, &Algus::Timer2_Timer);
    connect(ui->Label1, &ClickLabel::clicked, this, &Algus::Label1_Click);
    connect(ui->Label2, &ClickLabel::clicked, this, &Algus::Label2_Click);
}

Algus::~Algus() = default;

QString Algus::bannerVersionText() { return QStringLiteral("Vorbix ver ") + versionText(); }

QString Algus::authorName() { return QStringLiteral("the Vorbix team"); }

void Algus::Form_Load() { ui->Label1->setText(bannerVersionText()); }

// The interval counts the banner's steps: 500 shows the first text, and
// each step moves it on by one; after the last the hand-over follows.
void Algus::Timer2_Timer()
{
    const QString banner[] = {bannerVersionText(), QStringLiteral("Made by"), authorName(),
                              QStringLiteral("Click the window to continiue")};
    const int step = Timer2->interval() - 500;
    if (step < 0 || step >= int(std::size(banner)))
        return;
    ui->Label1->setText(banner[step]);
    Timer2->setInterval(Timer2->interval() + 1);
    if (step == int(std::size(banner)) - 1)
        Timer1_Timer();
}

void Algus::Timer1_Timer()
{
    if (isUnloaded())
        return;
    Main& main = program().show<Main>();
    program().openHistorySoon();
    const QString file = program().takeStartupFile();
    Unload();
    // Once the splash is gone, so that a message about the file is not
    // shown over it.
    if (!file.isEmpty())
        main.openPath(file);
}

void Algus::Form_Click() { Timer1_Timer(); }
void Algus::Label1_Click() { Timer1_Timer(); }
void Algus::Label2_Click() { Timer1_Timer(); }
void Algus::Form_KeyPress(int) { Timer1_Timer(); }

void Algus::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(0xC0, 0xC0, 0xC0));
    p.drawPixmap(0, 0, picture_);
}

void Algus::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Form_Click();
}

void Algus::keyPressEvent(QKeyEvent* event)
{
    // Only keys that give a character count; arrows, F-keys and Shift do not.
    const QString text = event->text();
    if (text.isEmpty()) {
        event->ignore();
        return;
    }
    Form_KeyPress(text.at(0).unicode());
}

} // namespace vorbix
