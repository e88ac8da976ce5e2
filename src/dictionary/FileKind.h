#pragma once

namespace vorbix::dictionary {

// How Save treats the current file: a .dic or a two-column tab-separated
// list is written back in its own form; any other list (KVTML, CSV, text with
// more columns, headers or skipped lines) holds more than Vorbix would write
// back, so it is never written over and Save asks for a .dic name instead.
// A comma-separated or KVTML file that Save As wrote is written back in its
// form until another file is opened.
enum class FileKind { Dictionary, TabSeparated, Imported, CommaSeparated, Kvtml };

} // namespace vorbix::dictionary
