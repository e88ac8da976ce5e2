// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/Recorder.h"

#include <QDir>
#include <QFileInfo>

namespace vorbix::history {

Recorder::Recorder(Tell tell) : tell_(std::move(tell)) {}

Recorder::~Recorder() = default;

void Recorder::setPath(const QString& path)
{
    store_.reset();
    path_ = path;
    tried_ = failed_ = false;
    testId_ = 0;
}

void Recorder::tellOnce(const QString& text)
{
    if (told_ || !tell_)
        return;
    told_ = true;
    tell_(text);
}

void Recorder::open()
{
    // With recording off, a record that is not there is not made.
    if (tried_ || path_.isEmpty() || (!recording_ && !QFileInfo::exists(path_)))
        return;
    tried_ = true;
    store_ = std::make_unique<Store>(path_);
    if (!store_->setAside().isEmpty())
        tellOnce(QStringLiteral("The learning record %1 was damaged. It was kept as %2, and a new record was started.")
                     .arg(QDir::toNativeSeparators(path_), QDir::toNativeSeparators(store_->setAside())));
    if (!store_->problem().isEmpty()) {
        failed_ = true;
        if (recording_)
            tellOnce(unrecorded());
    }
}

QString Recorder::unrecorded() const
{
    return store_->problem()
        + QStringLiteral(" Tests go on, but answers are not recorded until Vorbix is started again.");
}

Store* Recorder::store()
{
    open();
    return store_ && store_->usable() ? store_.get() : nullptr;
}

bool Recorder::keeping() const { return recording_ && !path_.isEmpty() && !failed_; }

void Recorder::record(Answer answer, bool firstOfTest)
{
    if (!recording_ || path_.isEmpty())
        return;
    open();
    if (failed_) {
        tellOnce(unrecorded());
        return;
    }
    if (firstOfTest || testId_ == 0 || answer.listPath != testList_) {
        testId_ = store_->beginTest(answer.listPath);
        testList_ = answer.listPath;
    }
    answer.testId = testId_;
    if (testId_ != 0 && store_->record(answer))
        return;
    failed_ = true;
    tellOnce(unrecorded());
}

bool Recorder::clearAll()
{
    open();
    endTest();
    return !store_ || (store_->usable() && store_->clearAll());
}

bool Recorder::clearList(const QString& listPath)
{
    open();
    endTest();
    return !store_ || (store_->usable() && store_->clearList(listPath));
}

} // namespace vorbix::history
