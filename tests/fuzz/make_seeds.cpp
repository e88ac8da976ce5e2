// Writes the fuzzer's generated seeds into a folder: files at and just past
// the word limit and at the 2000-line cap, in each encoding the reader takes,
// with CR LF and LF. They are too big to keep in the repository and follow
// the limits when those change.
#include "dictionary/DictionaryFile.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <cstdio>

using namespace vorbix::dictionary;

namespace {

enum Form { Baltic, Utf8, Utf8Bom, Utf16LE, Utf16BE };

QByteArray encode(const QString& text, Form form)
{
    switch (form) {
    case Baltic: {
        QByteArray out;
        for (const QChar c : text)
            out += c == u'õ' ? '\xF5' : c == u'š' ? '\xF0' : char(c.unicode());
        return out;
    }
    case Utf8:
        return text.toUtf8();
    case Utf8Bom:
        return "\xEF\xBB\xBF" + text.toUtf8();
    case Utf16LE:
    case Utf16BE: {
        QByteArray out(form == Utf16LE ? "\xFF\xFE" : "\xFE\xFF");
        for (const QChar c : text) {
            const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
            out.append(form == Utf16LE ? lo : hi).append(form == Utf16LE ? hi : lo);
        }
        return out;
    }
    }
    return {};
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath("."))
        return 1;
    const char* names[] = {"1257", "utf8", "utf8bom", "utf16le", "utf16be"};
    int written = 0;
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size())
            ++written;
    };
    for (const Form form : {Baltic, Utf8, Utf8Bom, Utf16LE, Utf16BE}) {
        const QString tag = names[form];
        const QString end = form == Utf8Bom || form == Utf16BE ? "\n" : "\r\n";
        // Words at the limit and one past it; in UTF-8 with three-byte
        // characters and CR LF, the longest line there is.
        const QChar wide = form == Baltic ? u'õ' : form == Utf8 ? u'中' : u'ж';
        for (const bool over : {false, true}) {
            const QString word(MaxWordLength + (over ? 1 : 0), wide);
            write(QString("limit%1-%2.dic").arg(over ? "+1" : "").arg(tag),
                  encode("š-}" + end + word + end + word.left(7) + end + "x-y" + end, form));
        }
        // The line cap: 1000 pairs and empty lines, 1000 pairs and one more
        // word. Mostly one-letter and empty words, which keeps runs quick.
        QString lines;
        for (int i = 0; i < MaxPairs; ++i)
            lines += (i % 50 ? QString("k") : QString("}õ-%1").arg(i)) + end + (i % 70 ? "" : "x-y") + end;
        write(QString("cap-%1.dic").arg(tag), encode(lines + end + end, form));
        write(QString("cap+1-%1.dic").arg(tag), encode(lines + "w" + end, form));
    }
    std::printf("%d seeds in %s\n", written, argv[1]);
    return written == 20 ? 0 : 1;
}
