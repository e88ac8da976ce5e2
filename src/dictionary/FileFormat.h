#pragma once

namespace vorbix::dictionary {

enum class TextEncoding { Windows1257, Utf8, Utf16LE, Utf16BE };

// What a dictionary file was written in, so that Save can write it back the
// same way. UTF-16 is only ever read and written with its byte-order mark.
struct FileFormat {
    TextEncoding encoding = TextEncoding::Windows1257;
    bool byteOrderMark = false;
    bool operator==(const FileFormat&) const = default;
};

} // namespace vorbix::dictionary
