#include "ui/toolkit/CommonDialog.h"

#include "ui/toolkit/Platform.h"

namespace vorbix {

bool CommonDialog::showOpen() { return run(false); }
bool CommonDialog::showSave() { return run(true); }

bool CommonDialog::run(bool save)
{
    FileDialogRequest request;
    request.mode = save ? FileDialogRequest::Mode::Save : FileDialogRequest::Mode::Open;
    request.filter = Filter;
    request.defaultExt = DefaultExt;
    request.fileName = FileName;
    const FileDialogResult result = platform_.fileDialog(request);
    if (!result.accepted)
        return false;
    FileName = result.fileName;
    FileTitle = result.fileTitle;
    FilterIndex = result.filterIndex;
    return true;
}

} // namespace vorbix
