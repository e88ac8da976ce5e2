#include "state/SpellingDifference.h"

#include "state/TestRound.h"

#include <QStringList>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace vorbix {

namespace {

// Beyond this many cells the middle of two long texts is shown as one part:
// an alignment there would cost more than it tells.
constexpr qsizetype MaxCells = 1'000'000;

QStringList letters(const QString& text)
{
    QStringList out;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype from = 0;
    while (finder.toNextBoundary() != -1) {
        out << text.mid(from, finder.position() - from);
        from = finder.position();
    }
    return out;
}

QString baseLetters(const QString& text)
{
    QString out;
    for (QChar c : text.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing && c.category() != QChar::Mark_SpacingCombining
            && c.category() != QChar::Mark_Enclosing)
            out += c;
    return out.toCaseFolded();
}

Slip slipOf(const QString& typed, const QString& expected)
{
    const QString a = typed.normalized(QString::NormalizationForm_C);
    const QString b = expected.normalized(QString::NormalizationForm_C);
    if (a == b)
        return Slip::Form;
    if (a.toCaseFolded() == b.toCaseFolded())
        return Slip::Case;
    const QString base = baseLetters(a);
    if (!base.isEmpty() && base == baseLetters(b))
        return Slip::Accent;
    return Slip::None;
}

DiffPart part(Mark mark, const QString& typed, const QString& expected, int letter)
{
    DiffPart p{mark, typed, expected, Slip::None, letter};
    if (mark == Mark::Wrong)
        p.slip = slipOf(typed, expected);
    return p;
}

// The fewest edits (optimal string alignment), walked back from the end.
void alignMiddle(const QStringList& a, const QStringList& b, int offset, std::vector<DiffPart>& out)
{
    const qsizetype n = a.size(), m = b.size();
    if (n == 0 || m == 0 || (n + 1) * (m + 1) > MaxCells) {
        if (n > 0 || m > 0) {
            const Mark mark = n == 0 ? Mark::Missing : m == 0 ? Mark::Extra : Mark::Wrong;
            out.push_back(part(mark, a.join(QString()), b.join(QString()), offset));
        }
        return;
    }
    std::vector<int> d(static_cast<size_t>((n + 1) * (m + 1)));
    const auto at = [&](qsizetype i, qsizetype j) -> int& { return d[static_cast<size_t>(i * (m + 1) + j)]; };
    for (qsizetype i = 0; i <= n; ++i)
        at(i, 0) = int(i);
    for (qsizetype j = 0; j <= m; ++j)
        at(0, j) = int(j);
    const auto swapped = [&](qsizetype i, qsizetype j) {
        return i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1];
    };
    for (qsizetype i = 1; i <= n; ++i)
        for (qsizetype j = 1; j <= m; ++j) {
            int best =
                std::min({at(i - 1, j) + 1, at(i, j - 1) + 1, at(i - 1, j - 1) + (a[i - 1] == b[j - 1] ? 0 : 1)});
            if (swapped(i, j))
                best = std::min(best, at(i - 2, j - 2) + 1);
            at(i, j) = best;
        }

    std::vector<DiffPart> reversed;
    qsizetype i = n, j = m;
    while (i > 0 || j > 0) {
        const int here = at(i, j);
        if (i > 0 && j > 0 && a[i - 1] == b[j - 1] && here == at(i - 1, j - 1)) {
            reversed.push_back(part(Mark::Same, a[i - 1], b[j - 1], offset + int(j - 1)));
            --i, --j;
        } else if (swapped(i, j) && here == at(i - 2, j - 2) + 1) {
            reversed.push_back(part(Mark::Swapped, a[i - 2] + a[i - 1], b[j - 2] + b[j - 1], offset + int(j - 2)));
            i -= 2, j -= 2;
        } else if (i > 0 && j > 0 && here == at(i - 1, j - 1) + 1) {
            reversed.push_back(part(Mark::Wrong, a[i - 1], b[j - 1], offset + int(j - 1)));
            --i, --j;
        } else if (i > 0 && here == at(i - 1, j) + 1) {
            reversed.push_back(part(Mark::Extra, a[i - 1], QString(), offset + int(j)));
            --i;
        } else {
            reversed.push_back(part(Mark::Missing, QString(), b[j - 1], offset + int(j - 1)));
            --j;
        }
    }
    out.insert(out.end(), reversed.rbegin(), reversed.rend());
}

// Runs of one kind read as one part; each swap stays a part of its own.
std::vector<DiffPart> joined(const std::vector<DiffPart>& parts)
{
    std::vector<DiffPart> out;
    for (const DiffPart& p : parts) {
        if (!out.empty() && out.back().mark == p.mark && p.mark != Mark::Swapped && out.back().slip == p.slip) {
            out.back().typed += p.typed;
            out.back().expected += p.expected;
        } else {
            out.push_back(p);
        }
    }
    return out;
}

} // namespace

std::vector<DiffPart> spellingDifference(const QString& typed, const QString& expected)
{
    const QStringList a = letters(trimBlanks(typed));
    const QStringList b = letters(trimBlanks(expected));
    qsizetype head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head])
        ++head;
    qsizetype tail = 0;
    while (tail < a.size() - head && tail < b.size() - head && a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
        ++tail;

    std::vector<DiffPart> parts;
    for (qsizetype k = 0; k < head; ++k)
        parts.push_back(part(Mark::Same, a[k], b[k], int(k)));
    alignMiddle(a.mid(head, a.size() - head - tail), b.mid(head, b.size() - head - tail), int(head), parts);
    for (qsizetype k = tail; k > 0; --k)
        parts.push_back(part(Mark::Same, a[a.size() - k], b[b.size() - k], int(b.size() - k)));
    return joined(parts);
}

bool hasDifference(const std::vector<DiffPart>& parts)
{
    return std::any_of(parts.begin(), parts.end(), [](const DiffPart& p) { return p.mark != Mark::Same; });
}

QString describeDifference(const std::vector<DiffPart>& parts)
{
    QStringList sentences;
    const auto quoted = [](const QString& text) { return QStringLiteral("“%1”").arg(text); };
    for (const DiffPart& p : parts) {
        const QString where = QStringLiteral("Letter %1: ").arg(p.letter + 1);
        switch (p.mark) {
        case Mark::Same:
            break;
        case Mark::Wrong: {
            QString s = where + quoted(p.typed) + QStringLiteral(" instead of ") + quoted(p.expected);
            if (p.slip == Slip::Case)
                s += QStringLiteral(", other case");
            else if (p.slip == Slip::Accent)
                s += QStringLiteral(", other accent");
            else if (p.slip == Slip::Form)
                s += QStringLiteral(", looks the same but is written with other characters");
            sentences << s;
            break;
        }
        case Mark::Swapped:
            sentences << where + quoted(p.typed) + QStringLiteral(" instead of ") + quoted(p.expected)
                    + QStringLiteral(", letters swapped");
            break;
        case Mark::Missing:
            sentences << where + quoted(p.expected) + QStringLiteral(" missing");
            break;
        case Mark::Extra:
            sentences << (p.letter == 0 ? QStringLiteral("At the start: ")
                                        : QStringLiteral("After letter %1: ").arg(p.letter))
                    + quoted(p.typed) + QStringLiteral(" extra");
            break;
        }
    }
    if (sentences.isEmpty())
        return QStringLiteral("No difference.");
    return sentences.join(QStringLiteral(". ")) + QLatin1Char('.');
}

} // namespace vorbix
