#include "ui/main/ImportRead.h"

#include "ui/toolkit/Platform.h"

#include <QDeadlineTimer>
#include <QThread>

namespace vorbix {

namespace {
// How often the progress window follows the read and looks at Cancel.
constexpr int TickMs = 50;
} // namespace

ImportRead::ImportRead(QObject* owner, Platform& platform) : QObject(owner), platform_(platform) {}

ImportRead::~ImportRead()
{
    progress_.cancelled = true;
    thread_->wait();
    delete thread_;
}

std::optional<ImportRead::Result> ImportRead::run(QObject* owner, Platform& platform, const QString& text, Work work,
                                                  std::function<void(const Result&)> done,
                                                  std::function<void()> cancelled)
{
    auto* read = new ImportRead(owner, platform);
    ++running_;
    read->thread_ = QThread::create([read, work = std::move(work)] {
        read->result_ = work(&read->progress_);
        --running_;
    });
    // Connected before the start, so that an end just after the wait is not
    // missed; deleting the object drops the posted call.
    connect(read->thread_, &QThread::finished, read, &ImportRead::finish);
    read->thread_->start();
    if (read->thread_->wait(QDeadlineTimer(WaitMs))) {
        std::optional<Result> result = std::move(read->result_);
        delete read;
        return result;
    }
    read->done_ = std::move(done);
    read->cancelled_ = std::move(cancelled);
    read->window_ = platform.showProgress(text);
    read->tick_ = platform.createTimer([read] { read->tick(); });
    read->tick_->start(TickMs);
    return std::nullopt;
}

void ImportRead::tick()
{
    if (!window_)
        return;
    window_->setValue(progress_.permille.load());
    if (!window_->cancelled())
        return;
    progress_.cancelled = true;
    tick_->stop();
    window_.reset();
    done_ = nullptr;
    // Stays until the thread has ended; the caller may be gone by then.
    const auto cancelled = std::move(cancelled_);
    if (cancelled)
        cancelled();
}

void ImportRead::finish()
{
    tick_.reset();
    window_.reset();
    const auto done = std::move(done_);
    const Result result = std::move(result_);
    deleteLater();
    // Last: it may end the owner, and this with it.
    if (done)
        done(result);
}

} // namespace vorbix
