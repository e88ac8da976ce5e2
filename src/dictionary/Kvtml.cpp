#include "dictionary/Kvtml.h"

#include "dictionary/DelimitedText.h"
#include "dictionary/ImportSink.h"
#include "dictionary/TextEncoding.h"

#include <QBuffer>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>

#include <cstdint>
#include <map>

namespace vorbix::dictionary {

namespace {

// Languages beyond these are not offered (KVTML files hold a few).
constexpr int MaxLanguages = 64;

enum class Tag : std::uint8_t {
    Other,
    Kvtml,
    Identifiers,
    Identifier,
    Name,
    Locale,
    Entries,
    Entry,
    Translation,
    Text,
    Lessons,
    Container,
    Lesson,
    Desc,
    E,
    O,
    T
};

Tag tagOf(QStringView name)
{
    static const std::pair<const char16_t*, Tag> tags[] = {{u"kvtml", Tag::Kvtml},
                                                           {u"identifiers", Tag::Identifiers},
                                                           {u"identifier", Tag::Identifier},
                                                           {u"name", Tag::Name},
                                                           {u"locale", Tag::Locale},
                                                           {u"entries", Tag::Entries},
                                                           {u"entry", Tag::Entry},
                                                           {u"translation", Tag::Translation},
                                                           {u"text", Tag::Text},
                                                           {u"lessons", Tag::Lessons},
                                                           {u"container", Tag::Container},
                                                           {u"lesson", Tag::Lesson},
                                                           {u"desc", Tag::Desc},
                                                           {u"e", Tag::E},
                                                           {u"o", Tag::O},
                                                           {u"t", Tag::T}};
    for (const auto& [text, tag] : tags)
        if (name == QStringView(text))
            return tag;
    return Tag::Other;
}

// The declared encoding of an XML prolog in an ASCII-compatible encoding.
QString declaredEncoding(const QByteArray& bytes)
{
    const QByteArray head = bytes.left(512);
    if (!head.startsWith("<?xml"))
        return {};
    const qsizetype end = head.indexOf("?>");
    static const QRegularExpression re(QStringLiteral("encoding\\s*=\\s*([\"'])([A-Za-z0-9._:-]+)\\1"));
    const auto m = re.match(QString::fromLatin1(head.left(end < 0 ? head.size() : end)));
    return m.hasMatch() ? m.captured(2) : QString();
}

// The text with a prolog that says UTF-8, for a reader that is then given
// UTF-8 bytes.
QByteArray asUtf8Xml(QString text)
{
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    if (text.startsWith(QLatin1String("<?xml"))) {
        const qsizetype end = text.indexOf(QLatin1String("?>"));
        if (end > 0) {
            static const QRegularExpression re(QStringLiteral("encoding\\s*=\\s*([\"'])[^\"']*\\1"));
            QString prolog = text.left(end);
            prolog.replace(re, QStringLiteral("encoding=\"UTF-8\""));
            text = prolog + text.mid(end);
        }
    }
    return text.toUtf8();
}

struct Source {
    QByteArray xml;
    DecodedList decoded; // its encoding, reason and format; the text itself dropped
};

// One encoding decision for XML: the chosen one, else the byte-order mark,
// else the declaration, else UTF-8 as XML says.
Source xmlSource(const QByteArray& bytes, const std::optional<QString>& chosen)
{
    QString name, reason;
    if (chosen) {
        name = *chosen;
        reason = QStringLiteral("Chosen.");
    } else if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        name = bytes.startsWith("\xFE\xFF") ? QStringLiteral("UTF-16BE") : QStringLiteral("UTF-16LE");
        reason = QStringLiteral("The file starts with a UTF-16 byte-order mark.");
    } else if (bytes.startsWith("\xEF\xBB\xBF")) {
        name = QStringLiteral("UTF-8");
        reason = QStringLiteral("The file starts with a UTF-8 byte-order mark.");
    } else if (const QString declared = declaredEncoding(bytes); !declared.isEmpty()) {
        name = declared;
        reason = QStringLiteral("The XML declaration names %1.").arg(declared);
    } else {
        name = QStringLiteral("UTF-8");
        reason = QStringLiteral("XML without an encoding declaration is UTF-8.");
    }
    Source s;
    const bool utf8 = name.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0;
    const QString declared = declaredEncoding(bytes);
    const bool shareable = utf8
        && (declared.isEmpty() || declared.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0)
        && !bytes.contains('\0') && isValidUtf8(bytes);
    if (shareable) {
        s.xml = bytes; // shared, not copied
        s.decoded.encoding = QStringLiteral("UTF-8");
        s.decoded.format = listFileFormat(s.decoded.encoding, bytes.startsWith("\xEF\xBB\xBF"));
    } else {
        s.decoded = decodeList(bytes, name);
        if (s.decoded.ok())
            s.xml = asUtf8Xml(std::move(s.decoded.text));
        s.decoded.text.clear();
    }
    s.decoded.reason = reason;
    return s;
}

// The reader, the path of open elements, and the limits.
class XmlPass {
public:
    // The pass reports its progress as the share from..to of the whole read.
    XmlPass(const QByteArray& xml, ProgressSpan span) : span_(span)
    {
        buffer_.setData(xml);
        buffer_.open(QIODevice::ReadOnly);
        xml_.setDevice(&buffer_);
    }

    // The next token; NoToken at the end or on a refusal (error set).
    QXmlStreamReader::TokenType next()
    {
        if (pop_) {
            path_.pop_back();
            pop_ = false;
        }
        if (xml_.atEnd()) {
            if (xml_.hasError() && error == ImportError::None)
                fail(ImportError::BrokenXml,
                     QStringLiteral("The KVTML file is not well-formed XML on line %1: %2")
                         .arg(xml_.lineNumber())
                         .arg(xml_.errorString()));
            return QXmlStreamReader::NoToken;
        }
        if (!span_.at(xml_.characterOffset()))
            return fail(ImportError::Cancelled, importErrorText(ImportError::Cancelled));
        const QXmlStreamReader::TokenType t = xml_.readNext();
        switch (t) {
        case QXmlStreamReader::DTD:
            if (!xml_.entityDeclarations().isEmpty())
                return fail(ImportError::BrokenXml,
                            QStringLiteral("The KVTML file declares entities of its own "
                                           "(line %1), which Vorbix does not expand.")
                                .arg(xml_.lineNumber()));
            break;
        case QXmlStreamReader::StartElement:
            if (path_.size() >= size_t(MaxXmlDepth))
                return fail(ImportError::TooDeep,
                            QStringLiteral("Elements are nested more than %1 deep on line %2; "
                                           "no KVTML file nests so deep.")
                                .arg(MaxXmlDepth)
                                .arg(xml_.lineNumber()));
            path_.push_back(tagOf(xml_.name()));
            if (path_.size() == 1 && path_[0] != Tag::Kvtml)
                return fail(ImportError::BrokenXml, QStringLiteral("The root element is not <kvtml>."));
            break;
        case QXmlStreamReader::EndElement:
            pop_ = true;
            break;
        case QXmlStreamReader::Invalid:
            return next();
        default:
            break;
        }
        return t;
    }

    // The open elements are exactly these.
    bool at(std::initializer_list<Tag> tags) const
    {
        return path_.size() == tags.size() && std::equal(tags.begin(), tags.end(), path_.begin());
    }
    size_t depth() const { return path_.size(); }
    Tag tag(size_t level) const { return level < path_.size() ? path_[level] : Tag::Other; }

    int intAttribute(const char* name, int otherwise) const
    {
        bool ok = false;
        const int v = xml_.attributes().value(QLatin1String(name)).toInt(&ok);
        return ok ? v : otherwise;
    }
    QString attribute(const char* name) const { return xml_.attributes().value(QLatin1String(name)).toString(); }

    // Character data, an entity the document did not declare as a browser
    // shows it (or as written when unknown).
    QString text() const
    {
        if (xml_.tokenType() != QXmlStreamReader::EntityReference)
            return xml_.text().toString();
        const char32_t c = htmlEntity(xml_.name());
        return c == char32_t(-1) ? QLatin1Char('&') + xml_.name().toString() + QLatin1Char(';')
                                 : QStringView(QChar::fromUcs4(c)).toString();
    }
    bool whitespace() const { return xml_.isWhitespace(); }

    ImportError error = ImportError::None;
    QString errorText;

private:
    QXmlStreamReader::TokenType fail(ImportError e, const QString& text)
    {
        error = e;
        errorText = text;
        return QXmlStreamReader::NoToken;
    }

    ProgressSpan span_;
    QBuffer buffer_;
    QXmlStreamReader xml_;
    std::vector<Tag> path_;
    bool pop_ = false;
};

bool isText(QXmlStreamReader::TokenType t)
{
    return t == QXmlStreamReader::Characters || t == QXmlStreamReader::EntityReference;
}

// What the first pass learns: the languages, the lessons and which entries
// are in the chosen lessons.
struct Structure {
    bool version2 = false;
    std::map<int, QString> names; // language (translation id, or place in <e>) -> name
    std::vector<bool> hasText = std::vector<bool>(MaxLanguages, false);
    QStringList lessons;
    std::map<int, int> lessonByNumber; // version 1: m="N" -> lesson
    QSet<int> chosenEntries; // version 2
};

QString languageName(const QString& value)
{
    // Version 1 names languages by locale codes ("en", "de_CH"), or by names.
    static const QRegularExpression code(QStringLiteral("^[a-z]{2,3}([_-][A-Za-z]{2,4})?$"));
    if (code.match(value).hasMatch()) {
        const QLocale::Language l = QLocale(value).language();
        if (l != QLocale::C && l != QLocale::AnyLanguage)
            return QLocale::languageToString(l);
    }
    return value;
}

Structure readStructure(XmlPass& pass, const ImportChoices& choices)
{
    Structure s;
    const auto chosen = [&](int lesson) {
        return choices.lessons
            && std::find(choices.lessons->begin(), choices.lessons->end(), lesson) != choices.lessons->end();
    };
    int identifier = -1, position = -1, tCount = 0, lessonNumber = 0;
    bool firstE = true;
    QString name, locale;
    std::vector<int> containers;
    for (auto t = pass.next(); t != QXmlStreamReader::NoToken; t = pass.next()) {
        if (t == QXmlStreamReader::StartElement) {
            if (pass.at({Tag::Kvtml}))
                s.version2 = pass.attribute("version").startsWith(u'2');
            else if (pass.at({Tag::Kvtml, Tag::Entries}) || pass.at({Tag::Kvtml, Tag::Identifiers}))
                s.version2 = true;
            else if (pass.at({Tag::Kvtml, Tag::Identifiers, Tag::Identifier})) {
                identifier = pass.intAttribute("id", -1);
                name.clear();
                locale.clear();
            } else if (pass.at({Tag::Kvtml, Tag::Entries, Tag::Entry, Tag::Translation}))
                identifier = pass.intAttribute("id", -1);
            else if (pass.depth() >= 3 && pass.tag(1) == Tag::Lessons && pass.tag(pass.depth() - 1) == Tag::Container) {
                containers.push_back(int(s.lessons.size()));
                s.lessons << QString();
                name.clear();
            } else if (pass.depth() >= 4 && pass.tag(1) == Tag::Lessons && pass.tag(pass.depth() - 1) == Tag::Entry
                       && pass.tag(pass.depth() - 2) == Tag::Container && chosen(containers.back()))
                s.chosenEntries.insert(pass.intAttribute("id", -1));
            else if (pass.at({Tag::Kvtml, Tag::Lesson, Tag::Desc})) {
                lessonNumber = pass.intAttribute("no", int(s.lessons.size()) + 1);
                name.clear();
            } else if (pass.at({Tag::Kvtml, Tag::E})) {
                tCount = 0;
            } else if (pass.at({Tag::Kvtml, Tag::E, Tag::O}) || pass.at({Tag::Kvtml, Tag::E, Tag::T})) {
                position = pass.tag(2) == Tag::O ? 0 : ++tCount;
                if (firstE && position < MaxLanguages && !pass.attribute("l").isEmpty())
                    s.names[position] = languageName(pass.attribute("l"));
            }
        } else if (isText(t)) {
            if (pass.at({Tag::Kvtml, Tag::Identifiers, Tag::Identifier, Tag::Name})
                || pass.at({Tag::Kvtml, Tag::Lesson, Tag::Desc})
                || (pass.depth() >= 4 && pass.tag(1) == Tag::Lessons && pass.tag(pass.depth() - 1) == Tag::Name
                    && pass.tag(pass.depth() - 2) == Tag::Container))
                appendCapped(name, pass.text());
            else if (pass.at({Tag::Kvtml, Tag::Identifiers, Tag::Identifier, Tag::Locale}))
                appendCapped(locale, pass.text());
            else if (!pass.whitespace() && pass.depth() >= 5 && pass.tag(1) == Tag::Entries
                     && pass.tag(3) == Tag::Translation && pass.tag(4) == Tag::Text && identifier >= 0
                     && identifier < MaxLanguages)
                s.hasText[size_t(identifier)] = true;
            else if (!pass.whitespace() && pass.depth() == 3 && pass.tag(1) == Tag::E && position >= 0
                     && position < MaxLanguages)
                s.hasText[size_t(position)] = true;
        } else if (t == QXmlStreamReader::EndElement) {
            if (pass.at({Tag::Kvtml, Tag::Identifiers, Tag::Identifier}) && identifier >= 0
                && identifier < MaxLanguages) {
                const QString shown = !name.trimmed().isEmpty() ? name.simplified() : languageName(locale.simplified());
                s.names[identifier] = shown;
            } else if (pass.depth() >= 3 && pass.tag(1) == Tag::Lessons && pass.tag(pass.depth() - 1) == Tag::Container)
                containers.pop_back();
            else if (pass.depth() >= 4 && pass.tag(1) == Tag::Lessons && pass.tag(pass.depth() - 1) == Tag::Name
                     && pass.tag(pass.depth() - 2) == Tag::Container && !containers.empty()) {
                QString& lesson = s.lessons[containers.back()];
                lesson = containers.size() > 1
                    ? s.lessons[containers[containers.size() - 2]] + QLatin1String(" / ") + name.simplified()
                    : name.simplified();
                name.clear();
            } else if (pass.at({Tag::Kvtml, Tag::Lesson, Tag::Desc})) {
                s.lessonByNumber[lessonNumber] = int(s.lessons.size());
                s.lessons << name.simplified();
            } else if (pass.at({Tag::Kvtml, Tag::E}))
                firstE = false;
        }
    }
    return s;
}

// The word of a version 1 <o> or <t>: the text after its inline forms
// (<conjugation>, <comparison>, <multiplechoice>), as KWordQuiz reads it.
struct Version1Word {
    QString run, last;
    bool child = false;
    void text(QStringView t) { appendCapped(run, t); }
    void childStarts()
    {
        child = true;
        if (!run.trimmed().isEmpty())
            last = run;
        run.clear();
    }
    QString word() const
    {
        if (!child)
            return run;
        return (run.trimmed().isEmpty() ? last : run).trimmed();
    }
};

void readEntries(XmlPass& pass, const Structure& s, int knownId, int unknownId, const ImportChoices& choices,
                 EntrySink& sink)
{
    QString words[2];
    bool found[2] = {false, false};
    bool collect[2] = {false, false};
    int entryId = -1, lessonNumber = 0, tCount = 0;
    Version1Word v1;
    const auto inLesson = [&]() {
        if (!choices.lessons)
            return true;
        if (s.version2)
            return s.chosenEntries.contains(entryId);
        const auto it = s.lessonByNumber.find(lessonNumber);
        return it != s.lessonByNumber.end()
            && std::find(choices.lessons->begin(), choices.lessons->end(), it->second) != choices.lessons->end();
    };
    const auto startEntry = [&]() {
        words[0].clear();
        words[1].clear();
        found[0] = found[1] = false;
        tCount = 0;
    };
    const auto endEntry = [&]() {
        if (!inLesson())
            sink.skipEntry(SkipReason::OtherLesson);
        else
            sink.offer(words[0], words[1]);
    };
    for (auto t = pass.next(); t != QXmlStreamReader::NoToken; t = pass.next()) {
        if (t == QXmlStreamReader::StartElement) {
            if (pass.at({Tag::Kvtml, Tag::Entries, Tag::Entry})) {
                startEntry();
                entryId = pass.intAttribute("id", -1);
            } else if (pass.at({Tag::Kvtml, Tag::Entries, Tag::Entry, Tag::Translation})) {
                const int id = pass.intAttribute("id", -1);
                collect[0] = id == knownId && !found[0];
                collect[1] = id == unknownId && !found[1];
            } else if (pass.at({Tag::Kvtml, Tag::E})) {
                startEntry();
                lessonNumber = pass.intAttribute("m", 0);
            } else if (pass.at({Tag::Kvtml, Tag::E, Tag::O}) || pass.at({Tag::Kvtml, Tag::E, Tag::T})) {
                const int position = pass.tag(2) == Tag::O ? 0 : ++tCount;
                collect[0] = position == knownId && !found[0];
                collect[1] = position == unknownId && !found[1];
                v1 = {};
            } else if (pass.depth() == 4 && pass.tag(1) == Tag::E) {
                v1.childStarts();
            }
        } else if (isText(t)) {
            if (pass.depth() >= 5 && pass.tag(1) == Tag::Entries && pass.tag(3) == Tag::Translation
                && pass.tag(4) == Tag::Text) {
                const QString text = pass.text();
                for (int k = 0; k < 2; ++k)
                    if (collect[k])
                        appendCapped(words[k], text);
            } else if (pass.depth() == 3 && pass.tag(1) == Tag::E) {
                v1.text(pass.text());
            }
        } else if (t == QXmlStreamReader::EndElement) {
            if (pass.at({Tag::Kvtml, Tag::Entries, Tag::Entry, Tag::Translation, Tag::Text})) {
                // Only the first <text> of a translation is its word.
                for (int k = 0; k < 2; ++k)
                    if (collect[k]) {
                        found[k] = true;
                        collect[k] = false;
                    }
            } else if (pass.at({Tag::Kvtml, Tag::E, Tag::O}) || pass.at({Tag::Kvtml, Tag::E, Tag::T})) {
                for (int k = 0; k < 2; ++k)
                    if (collect[k]) {
                        words[k] = v1.word();
                        found[k] = true;
                        collect[k] = false;
                    }
            } else if (pass.at({Tag::Kvtml, Tag::Entries, Tag::Entry}) || pass.at({Tag::Kvtml, Tag::E})) {
                endEntry();
            }
        }
    }
}

} // namespace

bool looksLikeKvtml(const QByteArray& bytes)
{
    const QByteArray head = bytes.left(4096);
    QString text;
    if (head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF")) {
        QString decoded;
        qsizetype bad = 0;
        const qsizetype even = (head.size() - 2) / 2 * 2;
        decodeNamed(head.mid(2, even),
                    head.startsWith("\xFE\xFF") ? QStringLiteral("UTF-16BE") : QStringLiteral("UTF-16LE"), &decoded,
                    &bad);
        text = decoded;
    } else {
        text = QString::fromLatin1(head.startsWith("\xEF\xBB\xBF") ? head.mid(3) : head);
    }
    // Past the prolog (declaration, comments, processing instructions, the
    // document type) to the first element.
    qsizetype i = 0;
    for (;;) {
        while (i < text.size() && text[i].isSpace())
            ++i;
        const QStringView rest = QStringView(text).mid(i);
        if (rest.startsWith(u"<!DOCTYPE"))
            return rest.mid(9).trimmed().startsWith(u"kvtml");
        const char16_t* end = rest.startsWith(u"<?") ? u"?>" : rest.startsWith(u"<!--") ? u"-->" : nullptr;
        if (!end) {
            return rest.startsWith(u"<kvtml")
                && (rest.size() == 6 || rest[6].isSpace() || rest[6] == u'>' || rest[6] == u'/');
        }
        const qsizetype close = text.indexOf(QStringView(end), i);
        if (close < 0) // broken: XML all the same, and the reader will say where
            return text.indexOf(QLatin1String("<kvtml"), i) >= 0;
        i = close + QStringView(end).size();
    }
}

void readKvtmlList(const QByteArray& bytes, const ImportChoices& choices, ImportPreview* p, ReadProgress* progress)
{
    Source source = xmlSource(bytes, choices.encoding);
    p->encoding = source.decoded.encoding;
    p->encodingReason = source.decoded.reason;
    p->fileFormat = source.decoded.format;
    p->format = ImportFormat::Kvtml2;
    if (!source.decoded.ok()) {
        p->error = source.decoded.error;
        p->errorText = source.decoded.errorText;
        return;
    }
    // The lessons of KVTML 2 follow its entries: two passes, half the bar each.
    XmlPass first(source.xml, ProgressSpan(progress, 100, 550, source.xml.size()));
    const Structure s = readStructure(first, choices);
    p->format = s.version2 ? ImportFormat::Kvtml2 : ImportFormat::Kvtml1;
    p->formatReason = s.version2 ? QStringLiteral("The root element is <kvtml> with <entries>: KVTML 2.")
                                 : QStringLiteral("The root element is <kvtml> with <e> entries: KVTML 1.");
    if (first.error != ImportError::None) {
        p->error = first.error;
        p->errorText = first.errorText;
        return;
    }
    // Languages: every one named or holding a word, in the order of their ids.
    std::vector<int> ids;
    for (int id = 0; id < MaxLanguages; ++id)
        if (s.names.count(id) || s.hasText[size_t(id)])
            ids.push_back(id);
    std::vector<int> withText;
    for (size_t k = 0; k < ids.size(); ++k) {
        const int id = ids[k];
        QString name = s.names.count(id) ? s.names.at(id) : QString();
        if (name.isEmpty())
            name = s.version2 ? QStringLiteral("Language %1").arg(id + 1)
                : id == 0     ? QStringLiteral("Original")
                              : QStringLiteral("Translation %1").arg(id);
        p->columns << name;
        if (s.hasText[size_t(id)])
            withText.push_back(int(k));
    }
    p->lessons = s.lessons;
    if (choices.lessons)
        p->chosenLessons = *choices.lessons;
    else
        for (int k = 0; k < s.lessons.size(); ++k)
            p->chosenLessons.push_back(k);
    if (withText.size() < 2) {
        p->error = ImportError::OneLanguage;
        p->errorText = withText.empty()
            ? QStringLiteral("The file holds no words.")
            : QStringLiteral("The file holds words in one language only (%1); a pair needs two.")
                  .arg(p->columns[withText[0]]);
        return;
    }
    const auto pick = [&](int chosen, int fallback) {
        return chosen >= 0 && chosen < p->columns.size() ? chosen : fallback;
    };
    p->knownColumn = pick(choices.knownColumn, withText[0]);
    p->unknownColumn = pick(choices.unknownColumn, p->knownColumn == withText[0] ? withText[1] : withText[0]);
    EntrySink sink(*p, p->firstEntry);
    XmlPass second(source.xml, ProgressSpan(progress, 550, 1000, source.xml.size()));
    readEntries(second, s, ids[size_t(p->knownColumn)], ids[size_t(p->unknownColumn)], choices, sink);
    if (second.error != ImportError::None) {
        p->error = second.error;
        p->errorText = second.errorText;
    }
    p->kind = FileKind::Imported;
}

} // namespace vorbix::dictionary
