#include "ui/toolkit/QtPlatform.h"

#include "state/Version.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTime>
#include <QTimer>

#include <map>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace vorbix {

namespace {

class QtTimerEngine : public TimerEngine {
public:
    explicit QtTimerEngine(std::function<void()> onTimeout)
    {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, std::move(onTimeout));
    }
    void start(int intervalMs) override { timer_.start(intervalMs); }
    void stop() override { timer_.stop(); }

private:
    QTimer timer_;
};

class QtProgressWindow : public ProgressWindow {
public:
    explicit QtProgressWindow(const QString& text)
        : dialog_(text, QStringLiteral("Cancel"), 0, 1000, QApplication::activeWindow()), bar_(new QProgressBar)
    {
        // The bar is set directly: QProgressDialog::setValue runs the event
        // loop of a modal dialog, which would re-enter the caller.
        bar_->setRange(0, 1000);
        dialog_.setBar(bar_);
        dialog_.setWindowTitle(applicationTitle());
        dialog_.setWindowModality(Qt::ApplicationModal);
        dialog_.setAutoClose(false);
        dialog_.setAutoReset(false);
        dialog_.show();
    }
    void setValue(int permille) override { bar_->setValue(std::clamp(permille, 0, 1000)); }
    bool cancelled() override { return dialog_.wasCanceled(); }

private:
    QProgressDialog dialog_;
    QProgressBar* bar_; // owned by the dialog
};

#ifndef Q_OS_WIN
// Without a registry, the system-information entry is answered by the first
// such program that is installed; nothing else is known.
const char* const SysInfoPrograms[] = {
    "kinfocenter",       "hardinfo", "gnome-system-monitor", "plasma-systemmonitor", "mate-system-monitor",
    "xfce4-taskmanager", "lxtask"};

QString findSysInfoProgram()
{
    for (const char* name : SysInfoPrograms) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty())
            return path;
    }
    return {};
}

std::map<reg::Handle, QString> openKeys;
reg::Handle nextKey = 1;
#endif

} // namespace

QStringList qtNameFilters(const QString& filter)
{
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString pattern = parts[i + 1].trimmed();
        if (pattern.isEmpty())
            continue;
        const QString patterns = QString(pattern).replace(QLatin1Char(';'), QLatin1Char(' '));
        if (description.endsWith(QLatin1Char('(') + patterns + QLatin1Char(')')))
            result << description;
        else
            result << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return result;
}

QtPlatform::QtPlatform() : random_(std::random_device{}()) { sinceStart_.start(); }

FileDialogResult QtPlatform::fileDialog(const FileDialogRequest& request)
{
    QFileDialog dialog(QApplication::activeWindow());
    const bool save = request.mode == FileDialogRequest::Mode::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setWindowTitle(save ? QStringLiteral("Save As") : QStringLiteral("Open"));
    QString suffix = request.defaultExt;
    if (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    const QStringList filters = qtNameFilters(request.filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    // A name typed without extension takes the chosen filter's, so that the
    // name says what is written.
    if (save)
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, suffix](const QString& f) {
            const qsizetype star = f.indexOf(QLatin1String("(*."));
            const qsizetype end = star < 0 ? -1 : f.indexOf(QRegularExpression(QStringLiteral("[ )]")), star + 3);
            dialog.setDefaultSuffix(end < 0 ? suffix : f.mid(star + 3, end - star - 3));
        });
    if (!request.fileName.isEmpty()) {
        const QFileInfo preset(request.fileName);
        if (preset.isAbsolute())
            dialog.setDirectory(preset.absolutePath());
        dialog.selectFile(preset.fileName());
    }
    FileDialogResult result;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return result;
    result.accepted = true;
    result.fileName = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    result.fileTitle = QFileInfo(dialog.selectedFiles().constFirst()).fileName();
    result.filterIndex = std::max<int>(0, filters.indexOf(dialog.selectedNameFilter()));
    return result;
}

void QtPlatform::messageBox(const QString& text, MessageIcon icon)
{
    QMessageBox box(icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon, applicationTitle(),
                    text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void QtPlatform::beep() { QApplication::beep(); }

bool QtPlatform::askYesNo(const QString& text)
{
    QMessageBox box(QMessageBox::Question, applicationTitle(), text, QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void QtPlatform::clipboardClear() { QGuiApplication::clipboard()->clear(); }

void QtPlatform::clipboardSetText(const QString& text) { QGuiApplication::clipboard()->setText(text); }

bool QtPlatform::startProgram(const QString& path) { return QProcess::startDetached(path, {}); }

bool QtPlatform::fileExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

#ifdef Q_OS_WIN
long QtPlatform::regOpenKeyEx(std::uint32_t root, const QString& subKey, std::uint32_t options, std::uint32_t access,
                              reg::Handle* key)
{
    HKEY h = nullptr;
    const QByteArray path = subKey.toLocal8Bit();
    // The predefined roots are sign-extended on 64-bit Windows
    // (0xFFFFFFFF80000002), so widen the 32-bit value as a signed one.
    const HKEY rootKey = reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(root)));
    const LONG rc = RegOpenKeyExA(rootKey, path.constData(), options, access, &h);
    *key = reinterpret_cast<reg::Handle>(h);
    return rc;
}

long QtPlatform::regQueryValueEx(reg::Handle key, const QString& valueName, std::uint32_t* type, QByteArray* data,
                                 std::uint32_t* size)
{
    const QByteArray name = valueName.toLocal8Bit();
    if (data->size() < static_cast<qsizetype>(*size))
        data->resize(static_cast<qsizetype>(*size)); // never let the call write past the buffer
    DWORD t = 0;
    DWORD n = *size;
    const LONG rc = RegQueryValueExA(reinterpret_cast<HKEY>(key), name.constData(), nullptr, &t,
                                     reinterpret_cast<LPBYTE>(data->data()), &n);
    *type = t;
    *size = n;
    return rc;
}

long QtPlatform::regCloseKey(reg::Handle key) { return RegCloseKey(reinterpret_cast<HKEY>(key)); }
#else
long QtPlatform::regOpenKeyEx(std::uint32_t root, const QString& subKey, std::uint32_t, std::uint32_t, reg::Handle* key)
{
    *key = 0;
    if (root != reg::HKEY_LOCAL_MACHINE || subKey != QLatin1String(reg::SysInfoKey))
        return reg::ERROR_FILE_NOT_FOUND;
    *key = nextKey++;
    openKeys[*key] = subKey;
    return reg::ERROR_SUCCESS;
}

long QtPlatform::regQueryValueEx(reg::Handle key, const QString& valueName, std::uint32_t* type, QByteArray* data,
                                 std::uint32_t* size)
{
    if (!openKeys.count(key) || valueName != QLatin1String(reg::SysInfoPathValue))
        return reg::ERROR_FILE_NOT_FOUND;
    const QString program = findSysInfoProgram();
    if (program.isEmpty())
        return reg::ERROR_FILE_NOT_FOUND;
    QByteArray bytes = program.toLocal8Bit();
    bytes.append('\0');
    return reg::giveValue(reg::REG_SZ, bytes, type, data, size);
}

long QtPlatform::regCloseKey(reg::Handle key)
{
    openKeys.erase(key);
    return reg::ERROR_SUCCESS;
}
#endif

void QtPlatform::randomize(double seed)
{
    random_.seed(static_cast<std::uint32_t>(static_cast<std::int64_t>(seed * 1000.0)));
}

double QtPlatform::rnd()
{
    // Single precision is enough and what the draws are computed in; make
    // sure rounding never yields 1.0.
    std::uniform_real_distribution<float> dist(0.0f, 1.0f);
    float r = dist(random_);
    if (r >= 1.0f)
        r = 0.0f;
    return r;
}

double QtPlatform::timeOfDay() { return QTime::currentTime().msecsSinceStartOfDay() / 1000.0; }

std::int64_t QtPlatform::monotonicMs() { return sinceStart_.elapsed(); }

QString QtPlatform::currentDirectory() { return QDir::toNativeSeparators(QDir::currentPath()); }

std::unique_ptr<TimerEngine> QtPlatform::createTimer(std::function<void()> onTimeout)
{
    return std::make_unique<QtTimerEngine>(std::move(onTimeout));
}

std::unique_ptr<ProgressWindow> QtPlatform::showProgress(const QString& text)
{
    return std::make_unique<QtProgressWindow>(text);
}

void QtPlatform::endProgram() { QCoreApplication::exit(0); }

} // namespace vorbix
