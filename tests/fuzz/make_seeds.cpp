// Writes the fuzzer's generated seeds into a folder: files at and just past
// the word limit and at the 2000-line cap, in each encoding the reader takes,
// with CR LF and LF. They are too big to keep in the repository and follow
// the limits when those change.
#include "dictionary/DictionaryFile.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>

#include <cstdio>

using namespace vorbix::dictionary;

int main(int argc, char** argv)
{
    const QDir dir(QString::fromLocal8Bit(argc == 2 ? argv[1] : ""));
    if (argc != 2 || !dir.mkpath(".")) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    int written = 0;
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        written += f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    };
    // Windows-1257 shares "õ" and ASCII with Latin-1. In UTF-8 three-byte
    // characters with CR LF make the longest line there is.
    const struct {
        const char* tag;
        QStringConverter::Encoding encoding;
        bool mark;
        QChar wide;
        const char* end;
    } forms[] = {{"1257", QStringConverter::Latin1, false, u'õ', "\r\n"},
                 {"utf8", QStringConverter::Utf8, false, u'中', "\r\n"},
                 {"utf8bom", QStringConverter::Utf8, true, u'ж', "\n"},
                 {"utf16le", QStringConverter::Utf16LE, true, u'ж', "\r\n"},
                 {"utf16be", QStringConverter::Utf16BE, true, u'ж', "\n"}};
    for (const auto& form : forms) {
        const auto encode = [&form](const QString& text) {
            QStringEncoder encoder(form.encoding,
                                   form.mark ? QStringEncoder::Flag::WriteBom : QStringEncoder::Flag::Default);
            return QByteArray(encoder.encode(text));
        };
        const QString end = form.end;
        for (const bool over : {false, true}) { // words at the limit and one past it
            const QString word(MaxWordLength + (over ? 1 : 0), form.wide);
            write(QString("limit%1-%2.dic").arg(over ? "+1" : "", form.tag),
                  encode("õ-}" + end + word + end + word.left(7) + end + "x-y" + end));
        }
        // The line cap: 1000 pairs and empty lines, 1000 pairs and one more
        // word. Mostly one-letter and empty words, which keeps runs quick.
        QString lines;
        for (int i = 0; i < MaxPairs; ++i)
            lines += (i % 50 ? QString("k") : QString("}õ-%1").arg(i)) + end + (i % 70 ? "" : "x-y") + end;
        write(QString("cap-%1.dic").arg(form.tag), encode(lines + end + end));
        write(QString("cap+1-%1.dic").arg(form.tag), encode(lines + "w" + end));
    }
    std::printf("%d seeds in %s\n", written, argv[1]);
    return written == 20 ? 0 : 1;
}
