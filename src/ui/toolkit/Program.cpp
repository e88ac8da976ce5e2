#include "ui/toolkit/Program.h"

#include "ui/toolkit/KeyGuard.h"
#include "history/Recorder.h"
#include "ui/toolkit/Platform.h"
#include "ui/toolkit/Timer.h"

namespace vorbix {

Program::Program(Platform& platform)
    : platform_(platform), keyGuard_(std::make_unique<KeyGuard>(platform)), posts_(std::make_unique<QObject>())
{
    history_ = std::make_unique<history::Recorder>([this](const QString& text) {
        // A modal box inside an answer check would let the test's clocks run
        // into the next question; afterwards it is only a message.
        QMetaObject::invokeMethod(
            posts_.get(), [this, text] { platform_.messageBox(text, MessageIcon::Critical); }, Qt::QueuedConnection);
    });
}

void Program::openHistorySoon()
{
    QMetaObject::invokeMethod(
        posts_.get(), [this] { history_->open(); }, Qt::QueuedConnection);
}

Program::~Program()
{
    const auto forms = loadedForms();
    forms_.clear();
    for (Form* f : forms)
        delete f;
}

std::vector<Form*> Program::loadedForms() const
{
    std::vector<Form*> result;
    result.reserve(forms_.size());
    for (const auto& [type, f] : forms_)
        result.push_back(f);
    return result;
}

void Program::adopt(std::type_index type, Form* form) { forms_[type] = form; }

void Program::discard(Form& form)
{
    for (auto it = forms_.begin(); it != forms_.end(); ++it) {
        if (it->second == &form) {
            forms_.erase(it);
            break;
        }
    }
    form.unloaded_ = true;
    for (Timer* t : form.findChildren<Timer*>())
        t->shutdown();
    form.hide();
    // Handlers of this very window may still be on the stack.
    form.deleteLater();
}

void Program::unload(Form& form)
{
    if (form.unloading_ || form.unloaded_)
        return;
    form.unloading_ = true;
    form.Form_Unload();
    if (ended_ || form.unloaded_)
        return;
    discard(form);
    if (forms_.empty())
        end();
}

void Program::end()
{
    if (ended_)
        return;
    ended_ = true;
    for (Form* f : loadedForms())
        discard(*f);
    platform_.endProgram();
}

} // namespace vorbix
