#include "ui/progress/PairTable.h"

#include "state/NumberForm.h"
#include "ui/toolkit/DifferenceText.h"

#include <QApplication>
#include <QLocale>
#include <QPainter>
#include <QTextDocument>

namespace vorbix {

namespace {

QString lastAnswerText(const PairRow& row)
{
    if (!row.answered)
        return {};
    if (row.timedOut && row.given.trimmed().isEmpty())
        return QStringLiteral("(time ran out)");
    return row.given;
}

} // namespace

void PairTableModel::setRows(std::vector<PairRow> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int PairTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int PairTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QString PairTableModel::spokenAnswer(const PairRow& row)
{
    if (!row.answered)
        return QStringLiteral("Not asked yet");
    const QString given = lastAnswerText(row);
    return (given.isEmpty() ? QStringLiteral("Nothing given") : given) + QStringLiteral(". ")
        + describeDifference(row.difference);
}

QVariant PairTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const PairRow& r = rows_[static_cast<size_t>(index.row())];
    const int column = index.column();
    if (role == Qt::DisplayRole) {
        switch (column) {
        case Known:
            return r.known;
        case Unknown:
            return r.unknown;
        case Asked:
            return r.asked;
        case Right:
            return r.asked ? QStringLiteral("%1%").arg(percentRight(r.right, r.asked)) : QStringLiteral("–");
        case LastAsked:
            return r.lastAsked.isValid() ? QLocale().toString(r.lastAsked, QLocale::ShortFormat) : QString();
        case LastAnswer:
            return lastAnswerText(r);
        }
    }
    if (role == Qt::UserRole) {
        switch (column) {
        case Asked:
            return r.asked;
        case Right:
            // Never asked: after every share, worst first or last.
            return r.asked ? double(r.right) / r.asked : 2.0;
        case LastAsked:
            return r.lastAsked.isValid() ? r.lastAsked.toMSecsSinceEpoch() : qint64(0);
        default:
            return data(index, Qt::DisplayRole).toString().toCaseFolded();
        }
    }
    if (role == Qt::AccessibleTextRole && column == LastAnswer)
        return spokenAnswer(r);
    if (role == Qt::AccessibleTextRole && column == Right && !r.asked)
        return QStringLiteral("Not asked yet");
    if (role == Qt::ToolTipRole && column == LastAnswer && r.answered)
        return describeDifference(r.difference) + QLatin1Char(' ') + differenceLegend();
    if (role == DifferenceRole && column == LastAnswer && r.answered)
        return QVariant::fromValue(r.difference);
    if (role == Qt::TextAlignmentRole && (column == Asked || column == Right))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant PairTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const titles[] = {"Known word", "Unknown word", "Asked", "Right", "Last asked", "Last answer"};
    return QString::fromLatin1(titles[section]);
}

void DifferenceDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QVariant parts = index.data(PairTableModel::DifferenceRole);
    if (!parts.isValid()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    opt.text.clear();
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const bool selected = opt.state & QStyle::State_Selected;
    const QColor background = opt.palette.color(selected ? QPalette::Highlight : QPalette::Base);
    QTextDocument doc;
    doc.setDefaultFont(opt.font);
    doc.setDocumentMargin(0);
    doc.setDefaultStyleSheet(QStringLiteral("body { color: %1; }")
                                 .arg(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text).name()));
    doc.setHtml(QStringLiteral("<body>") + differenceHtml(parts.value<std::vector<DiffPart>>(), background)
                + QStringLiteral("</body>"));
    const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
    painter->save();
    painter->setClipRect(text);
    painter->translate(text.left(), text.top() + (text.height() - doc.size().height()) / 2);
    doc.drawContents(painter);
    painter->restore();
}

QSize DifferenceDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    // Room for the right letters written in beside the wrong ones.
    if (index.data(PairTableModel::DifferenceRole).isValid())
        size.setWidth(size.width() * 2);
    return size;
}

} // namespace vorbix
