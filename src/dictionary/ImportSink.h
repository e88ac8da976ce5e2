#pragma once

#include "dictionary/Import.h"
#include "dictionary/ListEncoding.h"

#include <algorithm>

namespace vorbix::dictionary {

// Where every reader puts its entries: each is counted once, as a usable
// pair or as skipped for one reason, and only the MaxPairs pairs from the
// chosen first entry on are kept, so memory does not grow with the file.
class EntrySink {
public:
    EntrySink(ImportPreview& preview, int firstEntry) : p_(preview), first_(firstEntry) {}

    void offer(const QString& known, const QString& unknown)
    {
        ++seen_;
        if (forbiddenEntry_ == 0 && (firstForbiddenUnit(known) >= 0 || firstForbiddenUnit(unknown) >= 0))
            forbiddenEntry_ = seen_;
        if (known.trimmed().isEmpty() || unknown.trimmed().isEmpty())
            skip(SkipReason::MissingWord);
        else if (holdsLineBreak(known) || holdsLineBreak(unknown))
            skip(SkipReason::LineBreak);
        else if (known.size() > MaxWordLength || unknown.size() > MaxWordLength)
            skip(SkipReason::WordTooLong);
        else
            take(known, unknown);
    }
    void skip(SkipReason reason) { ++p_.skipped[reason]; }
    void skipEntry(SkipReason reason)
    {
        ++seen_;
        skip(reason);
    }

    // The entry (from 1) that held a NUL or half a character, or 0.
    int forbiddenEntry() const { return forbiddenEntry_; }
    int seen() const { return seen_; }

    static bool holdsLineBreak(const QString& w)
    {
        return w.contains(u'\n') || w.contains(u'\r') || w.contains(QChar(0x2028)) || w.contains(QChar(0x2029));
    }

private:
    void take(const QString& known, const QString& unknown)
    {
        if (p_.entries >= first_ && p_.pairs.size() < size_t(MaxPairs))
            p_.pairs.push_back({known, unknown});
        ++p_.entries;
    }

    ImportPreview& p_;
    int first_ = 0;
    int seen_ = 0;
    int forbiddenEntry_ = 0;
};

// One pass of a reader over its input, as a share of the whole read.
class ProgressSpan {
public:
    ProgressSpan(ReadProgress* progress, int fromPermille, int toPermille, qint64 size)
        : p_(progress), from_(fromPermille), width_(toPermille - fromPermille), size_(std::max<qint64>(size, 1))
    {}

    // False once the user has cancelled: the reader stops where it is.
    bool at(qint64 position)
    {
        if (!p_)
            return true;
        const qint64 share = std::clamp<qint64>(position, 0, size_) * width_ / size_;
        p_->permille.store(from_ + int(share), std::memory_order_relaxed);
        return !p_->cancelled.load(std::memory_order_relaxed);
    }
    void cancel(ImportPreview& preview) const
    {
        preview.error = ImportError::Cancelled;
        preview.errorText = importErrorText(ImportError::Cancelled);
    }

private:
    ReadProgress* p_;
    int from_, width_;
    qint64 size_;
};

// Appends at most up to one unit past the word limit: enough to tell a word
// too long, never more than that per word whatever the file holds.
inline void appendCapped(QString& word, QStringView part)
{
    const qsizetype room = qsizetype(MaxWordLength) + 1 - word.size();
    if (room > 0)
        word.append(part.left(room));
}

} // namespace vorbix::dictionary
